#include "app/qt_seams.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <cstdlib>

namespace slab {
namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Title(std::string_view title) {
  return title.empty() ? QString(kDefaultBoxTitle) : Text(title);
}

std::optional<FileChoice> Choice(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return FileChoice{QFileInfo(path).absoluteFilePath().toStdString(),
                    QFileInfo(path).fileName().toStdString()};
}

}  // namespace

void QtMessageSink::Show(std::string_view text, std::string_view title) {
  QMessageBox box(QMessageBox::NoIcon, Title(title), Text(text), QMessageBox::Ok, parent_);
  box.exec();
}

void QtMessageSink::ShowDetailed(std::string_view text, std::string_view detail) {
  QMessageBox box(QMessageBox::NoIcon, Title({}), Text(text), QMessageBox::Ok, parent_);
  box.setInformativeText(Text(detail));
  box.exec();
}

Answer QtMessageSink::Ask(std::string_view text, std::string_view title) {
  QMessageBox box(QMessageBox::Question, Title(title), Text(text),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
  box.setDefaultButton(QMessageBox::Yes);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

Answer QtMessageSink::Confirm(std::string_view text, std::string_view title, std::string_view act) {
  QMessageBox box(QMessageBox::Question, Title(title), Text(text), QMessageBox::Cancel, parent_);
  QPushButton* yes = box.addButton(Text(act), QMessageBox::AcceptRole);
  box.setDefaultButton(QMessageBox::Cancel);
  box.exec();
  return box.clickedButton() == yes ? Answer::Yes : Answer::Cancel;
}

Answer QtMessageSink::AskDiscard(std::string_view text) {
  QMessageBox box(QMessageBox::Question, Title({}), Text(text),
                  QMessageBox::Discard | QMessageBox::Cancel, parent_);
  box.setDefaultButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Discard ? Answer::No : Answer::Cancel;
}

void QtMessageSink::Beep() { QApplication::beep(); }

void JobSink::Show(std::string_view text, std::string_view title) {
  stderr_.Show(text, title);
  if (boxes_) qt_.Show(text, title);
}

void JobSink::ShowDetailed(std::string_view text, std::string_view detail) {
  stderr_.ShowDetailed(text, detail);
  if (boxes_) qt_.ShowDetailed(text, detail);
}

QString ToQtFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    const QStringList lower = patterns;
    for (const QString& p : lower)
      if (p.toUpper() != p) patterns << p.toUpper();
    filters << parts[i] + " (" + patterns.join(' ') + ")";
  }
  return filters.join(";;");
}

std::optional<FileChoice> QtFileDialog::ShowOpen(const std::string& filter) {
  return Choice(QFileDialog::getOpenFileName(parent_, QString(), QString(), ToQtFilter(filter)));
}

std::optional<FileChoice> QtFileDialog::ShowSave(const std::string& filter) {
  return Choice(QFileDialog::getSaveFileName(parent_, QString(), QString(), ToQtFilter(filter)));
}

bool WindowSystemAvailable() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    const QString platform = QGuiApplication::platformName();
    return platform != "offscreen" && platform != "minimal";
  }
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr) {
    const std::string name = platform;
    if (name.starts_with("offscreen") || name.starts_with("minimal")) return false;
  }
#if defined(_WIN32) || defined(__APPLE__)
  return true;
#else
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x != nullptr && *x != '\0') || (wayland != nullptr && *wayland != '\0');
#endif
}

}  // namespace slab
