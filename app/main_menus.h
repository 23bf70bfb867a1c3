// The main window's menu bar: File, Edit, View, Demo and Help, with their object names,
// captions and shortcuts, and the entries that follow the level's state.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "map/edit_history.h"

class QAction;
class QMainWindow;
class QMenu;

namespace slab {

class RecentFilesMenu;

class MainMenus {
 public:
  struct Commands {
    std::function<void()> Open, Save, SaveAs, Reload, Previous, Next, Quit;
    std::function<void(const std::string& path)> OpenRecent;
    std::function<void()> Undo, Redo, Duplicate, ZoomIn, ZoomOut, ZoomFit;
    std::function<void()> DemoRec, DemoStop, MineCartHelp, Keys, About;
    // Adds the level browser's entries to the View menu, between the lists and the zoom.
    std::function<void(QMenu& view)> AddBrowser;
  };
  // Entries that others own: the comparison's in File, the docks' toggles in View.
  struct Borrowed {
    QAction* CompareWith;
    QAction* CompareWithSaved;
    QAction* ItemsList;
    QAction* TriggersList;
    QAction* Differences;
  };

  MainMenus(QMainWindow& window, const Borrowed& borrowed, const Commands& commands);

  RecentFilesMenu& Recent() const { return *recent_; }
  // Save and Save As only for a loaded level a save can keep (their tips say why not), Start
  // Recording for a loaded level and Stop Recording while a recording runs.
  void ShowLevelState(bool loaded, const QString& refusal, bool recording);
  // Undo and Redo name the step they take; nothing is undone under a recording.
  void ShowHistory(const EditHistory& history, bool recording);

 private:
  void BuildFile(QMenu& file, const Borrowed& borrowed, const Commands& commands);
  void BuildView(QMenu& view, const Borrowed& borrowed, const Commands& commands);

  // The entries that follow the level and its history.
  QAction *save_ = nullptr, *saveAs_ = nullptr;
  QAction *undo_ = nullptr, *redo_ = nullptr;
  QAction *demoRec_ = nullptr, *demoStop_ = nullptr;
  RecentFilesMenu* recent_ = nullptr;
};

}  // namespace slab
