// The level file behind the main window: Open (from the dialog, a path, Recent Files, a drop),
// Reload, the neighbouring levels, Save and Save As, and the question about unsaved changes
// before any of them drops the level. The window shows what the session read through hooks.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "app/window_services.h"
#include "level/document.h"
#include "map/edit_history.h"
#include "preview3d/texels.h"
#include "shell/demo_recorder.h"

class QMainWindow;
class QMimeData;
class QWidget;

namespace slab {

inline constexpr char kWindowTitle[] = "Slabwright 3.1";
inline constexpr char kOpenFilter[] =
    "Tomb Raider levels(*.phd;*.tr2;*.tr4;*.trc)|*.phd;*.tr2;*.tr4;*.trc";
inline constexpr char kUnsavedQuestion[] = "Current file isn't saved. Save it now?";

// "Slabwright 3.1 [name][*]": the toolkit shows "[*]" as the platform's modified mark while the
// level has unsaved edits.
void ShowDocumentTitle(QWidget& window, const Document& doc);

// The one local file of a drag, if that is what it carries.
std::optional<std::string> DraggedFile(const QMimeData& data);

class FileSession {
 public:
  struct Hooks {
    std::function<void()> ShowNoLevel;  // a refused file left the window without a level
    // The document holds a newly read level; progress tells how far its tiles are.
    std::function<void(const TileProgress& progress)> ShowLevel;
    std::function<void()> Saved;                            // the file holds the level now
    std::function<void(const std::string& path)> Remember;  // for Recent Files
    std::function<void(const std::string& text)> Status;    // a short note for the status bar
  };

  FileSession(QMainWindow& window, Document& doc, EditHistory& history, DemoRecorder& recorder,
              const WindowServices& services, Hooks hooks);

  // Reads the file and fills the window. A refused file leaves the window with no level at
  // all (nothing to save). False when it was refused.
  bool Open(const std::string& path, const std::string& title);
  // Asks about unsaved changes, then opens the file; false when cancelled or refused.
  bool OpenPath(const std::string& path);
  // File > Open: the question, then the file dialog.
  void OpenChosen();
  void Reload();
  // The previous (-1) or next (+1) level of the open file's folder.
  void OpenAdjacent(int step);
  bool Save(bool saveAs);
  // Answers the unsaved-changes question; false when the user cancelled (or a save failed).
  bool ConfirmDiscard();

 private:
  QMainWindow& window_;
  Document& doc_;
  EditHistory& history_;
  DemoRecorder& recorder_;
  const WindowServices& services_;
  Hooks hooks_;
};

}  // namespace slab
