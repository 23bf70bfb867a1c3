#include "app/recent_files_menu.h"

#include <QAction>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include "app/level_files.h"

namespace slab {
std::vector<std::string> LoadRecentFiles() {
  std::vector<std::string> paths;
  const QSettings settings(kSettingsOrganisation, kSettingsApplication);
  for (const QString& path : settings.value(kRecentFilesKey).toStringList())
    paths.push_back(path.toStdString());
  return RecentFiles(paths).Paths();
}

void SaveRecentFiles(const std::vector<std::string>& paths) {
  const RecentFiles files(paths);
  QStringList list;
  for (const std::string& path : files.Paths()) list << QString::fromStdString(path);
  QSettings settings(kSettingsOrganisation, kSettingsApplication);
  settings.setValue(kRecentFilesKey, list);
  settings.sync();
}

RecentFilesMenu::RecentFilesMenu(QWidget* parent) : QMenu("Recent Files", parent) {
  setObjectName("Mnu_File_Recent");
  connect(this, &QMenu::aboutToShow, this, &RecentFilesMenu::Rebuild);
  Rebuild();
}

void RecentFilesMenu::Add(const std::string& path) {
  RecentFiles files(LoadRecentFiles());
  files.Add(path);
  SaveRecentFiles(files.Paths());
  Rebuild();
}

void RecentFilesMenu::Rebuild() {
  RecentFiles files(LoadRecentFiles());
  if (files.DropMissing()) SaveRecentFiles(files.Paths());
  clear();
  if (files.Paths().empty()) {
    QAction* none = addAction("(none)");
    none->setObjectName("Mnu_File_Recent_None");
    none->setEnabled(false);
    return;
  }
  int number = 0;
  for (const std::string& path : files.Paths()) {
    const QString full = QString::fromStdString(path);
    // "&1" .. "&9", then "1&0": each entry has its own access key.
    const QString key = number < 9 ? QString("&%1").arg(number + 1) : QString("1&0");
    QString name = QFileInfo(full).fileName();
    name.replace('&', "&&");
    QAction* action = addAction(key + " " + name);
    action->setObjectName(QString("Mnu_File_Recent_%1").arg(number));
    action->setToolTip(full);
    action->setStatusTip(full);
    connect(action, &QAction::triggered, this, [this, full] { emit OpenRequested(full); });
    ++number;
  }
}

}  // namespace slab
