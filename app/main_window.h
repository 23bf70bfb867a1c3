// The main window Slabwright2_Frm: the room map and the right-hand view, the panels for the
// selected sector, its trigger, doors, static meshes, the rooms and the items, and the File,
// Demo and Help menus. Every handler calls one core function and copies what it returns into
// the controls; the window keeps no rules of its own.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <memory>
#include <string>

#include "app/file_session.h"
#include "app/frame_loop.h"
#include "app/help_windows.h"
#include "app/list_docks.h"
#include "app/panel_parts.h"
#include "app/window_placement.h"
#include "floordata/object_names.h"
#include "level/document.h"
#include "map/edit_commands.h"
#include "map/edit_history.h"
#include "map/item_panel.h"
#include "map/map_state.h"
#include "map/navigation.h"
#include "map/selection.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/tick_clock.h"
#include "preview3d/texels.h"
#include "shell/demo_recorder.h"
#include "write/save_commands.h"

namespace slab {

class Room3DView;
struct PickPlace;
class LevelComparison;
class LevelBrowser;
class LevelProblems;
class MainMenus;
class RoomMapWidget;
class RightViewWidget;
class TextureStripView;
class SectorInfoPanel;
class RoomsPanel;
class TriggersPanel;
class DoorsPanel;
class StaticMeshesPanel;
class ItemsPanel;
class PanelPresenter;
class PanelCommands;
class RightViewDriver;
class Navigator;
class WindowKeys;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(WindowServices services, QWidget* parent = nullptr);
  ~MainWindow() override;

  void SetObjectNames(ObjectNames names) { names_ = std::move(names); }

  // Shows the window where it was last closed (see window_placement.h).
  void ShowPlaced() { slab::ShowPlaced(*this); }
  // Every key of the window and what it does, as Help > Keys lists them: the menu entries'
  // shortcuts and the keys of the window's own key handler.
  std::vector<KeyLine> KeyLines() const;

  // Open, from the dialog's path on (see FileSession::Open).
  bool OpenLevel(const std::string& path, const std::string& title);

  // For tests and benchmarks that read the level's records: the window shows only a part.
  const Document& Doc() const { return doc_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The menu commands.
  void MenuFileReload();
  void MenuFileQuit();
  void MenuDemoRec();
  void MenuDemoStop();
  void MenuEditUndo();
  void MenuEditRedo();

  void BuildControls();
  QLayout* BuildMapColumn(QWidget* central);
  void BuildMenus();
  void ConnectHandlers();

  // After a command: the views that show what it changed, or its status text.
  void AfterCommand(const CommandOutcome& outcome, bool keepOcbText = false);
  void UpdateEditMenu();
  // The title, the menus and the status bar as the document and its history stand.
  void ShowDocumentState();
  // Another level (or none) is open: the lists, the comparison and the title follow.
  void ShowLevelReplaced();
  void UpdateLevelActions();
  void ShowStatus(const std::string& text);
  // The window as it is with no level open.
  void ShowNoLevel();
  // The window filled from a newly opened level.
  void ShowLevel(const TileProgress& progress);
  FileSession::Hooks FileHooks();

  // Handlers.
  void ViewModeClick();

  void RequestFrame() { frames_->Request(); }
  void UpdateTitle() { ShowDocumentTitle(*this, doc_); }

  WindowServices services_;
  Document doc_;
  MapState map_;
  ObjectNames names_;
  DemoRecorder recorder_;
  EditHistory history_;
  FileSession files_;
  HelpWindows help_;

  bool running_ = true;

  // The widgets are the window's Qt children: ~QWidget deletes them after every member below.
  RoomMapWidget* roomMap_ = nullptr;
  RightViewWidget* rightView_ = nullptr;
  TextureStripView* textures_ = nullptr;

  SectorInfoPanel* secInf_ = nullptr;
  TriggersPanel* triggers_ = nullptr;
  DoorsPanel* doors_ = nullptr;
  StaticMeshesPanel* statics_ = nullptr;

  RoomsPanel* rooms_ = nullptr;

  ItemsPanel* items_ = nullptr;

  QLabel* saveState_ = nullptr;
  // Qt children as well, as their constructors make them. They outlive the state, yet read it
  // only when a list shows or a row is followed: ~QWidget hides the window before its children
  // go, so at teardown a list is only hidden.
  ListDocks* lists_ = nullptr;
  LevelProblems* problems_ = nullptr;
  LevelBrowser* browser_ = nullptr;

  // The helpers hold the state above by reference and are connected to the widgets' signals.
  // A widget may still signal while ~QWidget tears it down (a dock hidden, a list cleared), so
  // each helper goes with the members, before the state, and its connections with it. Each is
  // declared after those it uses, so it goes first.
  std::unique_ptr<FrameLoop> frames_;
  std::unique_ptr<LevelComparison> comparison_;
  std::unique_ptr<PanelPresenter> presenter_;
  std::unique_ptr<PanelCommands> edits_;
  std::unique_ptr<MainMenus> menus_;
  std::unique_ptr<RightViewDriver> view_;
  std::unique_ptr<Navigator> navigator_;
  std::unique_ptr<WindowKeys> keys_;
  // The context of the window's own connections to its widgets, in place of the window: as a
  // QObject the window outlives its members, this goes first.
  QObject wiring_;
};

}  // namespace slab
