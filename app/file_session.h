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
#include "level/load_level.h"
#include "map/edit_history.h"
#include "preview3d/texels.h"
#include "shell/demo_recorder.h"

class QMainWindow;
class QMimeData;
class QWidget;

namespace slab {

inline constexpr char kWindowTitle[] = "Slabwright 3.1";
// ".tub" holds the first game's "Unfinished Business" levels, read as the first game's files.
inline constexpr char kOpenFilter[] =
    "Tomb Raider levels(*.phd;*.tub;*.tr2;*.tr4;*.trc)|*.phd;*.tub;*.tr2;*.tr4;*.trc";
inline constexpr char kCompareWithTitle[] = "Compare With";
inline constexpr char kUnsavedQuestion[] = "Current file isn't saved. Save it now?";
// Reloading with unsaved changes drops them: the question says so rather than offer a save.
inline constexpr char kReloadQuestion[] = "Discard the changes and read the file again?";

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
    // Asked before every save; false leaves the file as it is.
    std::function<bool()> ConfirmSave = [] { return true; };
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
  // Reads the open file again, after asking whether its unsaved changes may go; false when
  // nothing was read (cancelled, no level) or the file was refused.
  bool Reload();
  // The previous (-1) or next (+1) level of the folder of the open file (or of the file last
  // tried). Files that cannot be read are passed over, and the status bar names them; when no
  // level beyond can be read, the open one stays.
  void OpenAdjacent(int step);
  bool Save(bool saveAs);
  // Answers the unsaved-changes question; false when the user cancelled (or a save failed).
  bool ConfirmDiscard();

 private:
  // The document takes the read level; the window shows it.
  void Adopt(LoadResult result, const std::string& path, const std::string& title);

  QMainWindow& window_;
  Document& doc_;
  EditHistory& history_;
  DemoRecorder& recorder_;
  const WindowServices& services_;
  Hooks hooks_;
  std::string lastPath_;  // the file last opened or tried, the start of F6 and F7
};

}  // namespace slab
