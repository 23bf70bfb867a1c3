// The desktop program's side of the platform seams: message boxes and file dialogs.
#pragma once

#include <QFileDialog>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>
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

// What the command-line jobs report through: every message goes to standard error as it
// comes, and a job never waits on a box while it works. With `boxes` (a window system, and
// nobody reading standard error) the messages are also kept and shown together in one box
// by ShowKept, once the job is done.
class JobSink : public MessageSink {
 public:
  explicit JobSink(bool boxes) : boxes_(boxes) {}
  void Show(std::string_view text, std::string_view title = {}) override;
  void ShowDetailed(std::string_view text, std::string_view detail) override;
  // The one box of what was said (none when nothing was); from then on the job's work is
  // done, and each later message gets its box at once.
  void ShowKept();

 private:
  void Keep(const std::string& text);

  bool boxes_;
  bool done_ = false;
  StderrSink stderr_;
  std::string kept_;
};

// Whether nobody reads what the program writes to standard error: it goes nowhere, to a null
// device or to the system log, as when a file manager starts the program. A terminal, a file
// and a pipe (a script, a test) are read.
bool StandardErrorUnread();

// "Caption|*.a;*.b|Caption 2|*.c" as the toolkit's "Caption (*.a *.b);;Caption 2 (*.c)", each
// pattern said once (a caption's own list of them is left out). Where the file system tells
// case apart, the patterns are offered in upper case as well, in a second list that the
// dialog matches but does not show.
QStringList ToQtFilters(const std::string& filter);

// The dialog File > Open, Compare With and Save As show, not yet shown: its title, filter and
// starting place from the request (when saving, the start's name is proposed).
std::unique_ptr<QFileDialog> NewLevelFileDialog(QWidget* parent, const FileRequest& request,
                                                bool save);

class QtFileDialog : public FileDialog {
 public:
  explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  std::optional<FileChoice> ShowOpen(const FileRequest& request) override;
  std::optional<FileChoice> ShowSave(const FileRequest& request) override;

 private:
  QPointer<QWidget> parent_;
};

// Whether boxes and windows can be shown at all: false on the offscreen and minimal
// platforms and, before any application object exists, without a display to connect to.
bool WindowSystemAvailable();

}  // namespace slab
