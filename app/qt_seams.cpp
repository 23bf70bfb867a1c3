#include "app/qt_seams.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <cstdlib>
#include <utility>

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

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
  Keep(std::string(text));
}

void JobSink::ShowDetailed(std::string_view text, std::string_view detail) {
  stderr_.ShowDetailed(text, detail);
  Keep(detail.empty() ? std::string(text) : std::string(text) + "\n" + std::string(detail));
}

void JobSink::Keep(const std::string& text) {
  if (!boxes_) return;
  kept_ += (kept_.empty() ? "" : "\n\n") + text;
  // Once the job's work is done (a viewer left open) nothing waits on the box any more.
  if (done_) ShowKept();
}

void JobSink::ShowKept() {
  done_ = true;
  if (kept_.empty()) return;
  const std::string text = std::exchange(kept_, {});
  QtMessageSink().Show(text);
}

bool StandardErrorUnread() {
#if defined(_WIN32)
  // A windowed program started from Explorer has no standard error at all.
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (error == nullptr || error == INVALID_HANDLE_VALUE) return true;
  const DWORD type = GetFileType(error);
  return type != FILE_TYPE_CHAR && type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE;
#else
  struct stat status {};
  if (fstat(STDERR_FILENO, &status) != 0) return true;
  if (S_ISREG(status.st_mode) || S_ISFIFO(status.st_mode)) return false;
  return !isatty(STDERR_FILENO);  // a null device or the log's socket
#endif
}

QStringList ToQtFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString caption = parts[i].trimmed();
    // "Tomb Raider levels(*.phd;*.tr2)": the toolkit lists the patterns itself.
    if (caption.endsWith(')') && caption.contains('('))
      caption = caption.left(caption.lastIndexOf('(')).trimmed();
    const QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    QString text = caption + " (" + patterns.join(' ') + ")";
#if !defined(_WIN32) && !defined(__APPLE__)
    // "LEVEL1.PHD" is a level too; the dialog hides this second list (HideNameFilterDetails).
    QStringList matched = patterns;
    for (const QString& p : patterns)
      if (p.toUpper() != p) matched << p.toUpper();
    text += " (" + matched.join(' ') + ")";
#endif
    filters << text;
  }
  return filters;
}

std::unique_ptr<QFileDialog> NewLevelFileDialog(QWidget* parent, const FileRequest& request,
                                                bool save) {
  auto dialog = std::make_unique<QFileDialog>(parent);
  dialog->setObjectName("LevelFileDialog");
  if (!request.Title.empty()) dialog->setWindowTitle(QString::fromStdString(request.Title));
  dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
#if !defined(_WIN32) && !defined(__APPLE__)
  dialog->setOption(QFileDialog::HideNameFilterDetails);
#endif
  const QStringList filters = ToQtFilters(request.Filter);
  dialog->setNameFilters(filters);
  if (!filters.isEmpty()) {
    dialog->selectNameFilter(filters.first());
    // A folder entered keeps the file type shown: the levels stay listed and the box says so.
    QObject::connect(dialog.get(), &QFileDialog::directoryEntered, dialog.get(),
                     [raw = dialog.get(), filters] {
                       if (!filters.contains(raw->selectedNameFilter()))
                         raw->selectNameFilter(filters.first());
                     });
  }
  const QFileInfo start(QString::fromStdString(request.Start));
  if (!request.Start.empty()) {
    if (start.isDir())
      dialog->setDirectory(start.absoluteFilePath());
    else if (save)
      dialog->selectFile(start.absoluteFilePath());
    else
      dialog->setDirectory(start.absolutePath());
  }
  return dialog;
}

namespace {

std::optional<FileChoice> Run(QWidget* parent, const FileRequest& request, bool save) {
  const std::unique_ptr<QFileDialog> dialog = NewLevelFileDialog(parent, request, save);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  return Choice(dialog->selectedFiles().first());
}

}  // namespace

std::optional<FileChoice> QtFileDialog::ShowOpen(const FileRequest& request) {
  return Run(parent_, request, false);
}

std::optional<FileChoice> QtFileDialog::ShowSave(const FileRequest& request) {
  return Run(parent_, request, true);
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
