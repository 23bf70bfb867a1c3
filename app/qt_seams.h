// The desktop program's side of the platform seams: message boxes and file dialogs.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>
#include <string>

#include "platform/messages.h"
#include "write/save_commands.h"

namespace slab {

// The title a box gets when the caller gives none: the program's own name.
inline constexpr char kDefaultBoxTitle[] = "Slabwright2";

// Boxes over the given window (or none).
class QtMessageSink : public MessageSink {
 public:
  explicit QtMessageSink(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  void Show(std::string_view text, std::string_view title = {}) override;
  // The detail goes in the box's informative text, under the given text.
  void ShowDetailed(std::string_view text, std::string_view detail) override;
  Answer Ask(std::string_view text, std::string_view title = {}) override;
  // Discard and Cancel, Cancel the default: nothing is lost by a stray Enter.
  Answer AskDiscard(std::string_view text) override;
  Answer Confirm(std::string_view text, std::string_view title, std::string_view act) override;
  void Beep() override;

 private:
  QPointer<QWidget> parent_;
};

// Everything to standard error and, when a window system is there, also as boxes: what the
// command-line jobs report through.
class JobSink : public MessageSink {
 public:
  explicit JobSink(bool boxes) : boxes_(boxes) {}
  void Show(std::string_view text, std::string_view title = {}) override;
  void ShowDetailed(std::string_view text, std::string_view detail) override;

 private:
  bool boxes_;
  StderrSink stderr_;
  QtMessageSink qt_;
};

// "Caption|*.a;*.b|Caption 2|*.c" as the toolkit's "Caption (*.a *.b);;Caption 2 (*.c)".
// Patterns are offered in upper case as well, since the file system here tells case apart.
QString ToQtFilter(const std::string& filter);

class QtFileDialog : public FileDialog {
 public:
  explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  std::optional<FileChoice> ShowOpen(const std::string& filter) override;
  std::optional<FileChoice> ShowSave(const std::string& filter) override;

 private:
  QPointer<QWidget> parent_;
};

// Whether boxes and windows can be shown at all: false on the offscreen and minimal
// platforms and, before any application object exists, without a display to connect to.
bool WindowSystemAvailable();

}  // namespace slab
