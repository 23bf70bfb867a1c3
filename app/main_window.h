// The main window Slabwright2_Frm: the room map and the right-hand view, the panels for the
// selected sector, its trigger, doors, static meshes, the rooms and the items, and the File,
// Demo and Help menus. Every handler calls one core function and copies what it returns into
// the controls; the window keeps no rules of its own.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTimer>
#include <array>
#include <set>
#include <string>

#include "app/help_windows.h"
#include "app/panel_parts.h"
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
class ItemsListDock;
class LevelComparison;
class LevelBrowser;
class LevelListDock;
class TriggersListDock;
class RecentFilesMenu;
class RoomMapWidget;
class RightViewWidget;
class TextureStripView;
class SectorInfoPanel;
class RoomsPanel;
class TriggersPanel;
class DoorsPanel;
class StaticMeshesPanel;
class ItemsPanel;

inline constexpr char kWindowTitle[] = "Slabwright 3.1";
inline constexpr char kOpenFilter[] =
    "Tomb Raider levels(*.phd;*.tr2;*.tr4;*.trc)|*.phd;*.tr2;*.tr4;*.trc";
inline constexpr char kUnsavedQuestion[] = "Current file isn't saved. Save it now?";
// Frames are drawn at most once per this many milliseconds.
inline constexpr int kFrameInterval = 10;

// What the window reaches the platform through.
struct WindowServices {
  MessageSink& Messages;
  FileDialog& Files;
  ProcessRunner& Processes;
  KeyboardSource& Keyboard;
  TickClock& Clock;
  std::string ProgramFolder;  // where the finisher and the marker pictures are
  bool Enable3D = true;       // false: the right-hand view always shows the overview
};

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(WindowServices services, QWidget* parent = nullptr);
  ~MainWindow() override;

  void SetObjectNames(ObjectNames names) { names_ = std::move(names); }

  // Shows the window at the size and place it had when it was last closed, or at its natural
  // size in the middle of the screen; either way inside the screen's available area.
  void ShowPlaced();
  // Every key of the window and what it does, as Help > Keys lists them: the menu entries'
  // shortcuts and the keys of the window's own key handler.
  std::vector<KeyLine> KeyLines() const;

  // Open, from the dialog's path on: reads the file and fills the window. A refused file
  // leaves the window with no level at all (nothing to save). False when it was refused.
  bool OpenLevel(const std::string& path, const std::string& title);

  // The menu commands.
  void MenuFileOpen();
  bool MenuFileSave();
  bool MenuFileSaveAs();
  void MenuFileQuit();
  void MenuDemoRec();
  void MenuDemoStop();
  void MenuHelpMineCart();
  void MenuHelpAbout();
  void MenuHelpKeys();
  void MenuEditUndo();
  void MenuEditRedo();
  void MenuFileReload();
  // The previous (-1) or next (+1) level of the open file's folder.
  void MenuFileAdjacent(int step);
  // Asks about unsaved changes, then opens the file; false when cancelled or refused.
  bool OpenPath(const std::string& path);
  // Where a list row leads: the room chosen, the sector selected, the entity chosen.
  void GoToPlace(int room, int a, int b, int entity);

  // One pass of the frame timer at time now (ms).
  void FrameTick(int64_t now);

  const Document& Doc() const { return doc_; }
  Document& Doc() { return doc_; }
  const MapState& Map() const { return map_; }
  const DemoRecorder& Recorder() const { return recorder_; }
  bool Running() const { return running_; }
  bool RenderEnabled() const { return renderEnabled_; }
  bool RightViewIs3D() const;
  RoomMapWidget* RoomMap() const { return roomMap_; }
  RightViewWidget* RightView() const { return rightView_; }
  Room3DView* View3D() const { return view3d_; }
  ItemsListDock* ItemsList() const { return itemsDock_; }
  TriggersListDock* TriggersList() const { return triggersDock_; }
  LevelComparison* Comparison() const { return comparison_; }
  const EditHistory& History() const { return history_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The window's keys, wherever the focus is in it: Ctrl with arrows or Page Up / Down moves
  // the chosen entity (unless a text field is being edited), the same keys alone move the 3D
  // camera while the 3D view shows (unless a list or text field has the focus).
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildControls();
  void BuildMenus();
  void ConnectHandlers();
  void ResetPanels();

  // Copying view models into the controls.
  void ShowPanel(const SectorPanel& panel);
  void ShowItemPanel(const ItemPanelView& view);
  void ShowNavigation(const NavigationView& view);
  void PresentMap();
  // Every panel from the selection as the level now holds it.
  void RefreshPanels(bool keepOcbText = false);
  // After a command: the views that show what it changed, or its status text.
  void AfterCommand(const CommandOutcome& outcome, bool keepOcbText = false);
  void UpdateEditMenu();
  void UpdateLevelActions();
  void ShowStatus(const std::string& text);
  // Brings a level list up to date with the level (newLevel: another level was opened).
  void RefreshList(LevelListDock* dock, bool newLevel);
  // The window as it is with no level open.
  void ShowNoLevel();

  // Handlers.
  void SectorMapMouseDown(int button, int shift, int x, int y);
  // The panels, the map and the 3D view after a sector was pointed at.
  void ShowMapClick(const std::optional<MapClick>& click);
  bool MoveKeyPressed(int qtKey);
  void RoomNumberClick(int row);
  void MapHover(int x, int y, QPoint globalPosition);
  void ViewModeClick();
  void FloorWallClick(bool checked);
  void MinecartClick(MinecartMode mode);
  void GotoObjectClick(int triggerLine);
  void ItemNextTriggerClick();
  void SecCurItemClick(int row);
  void ItemFlagClick(ItemFlagBox flag);
  void ItemOCBChange(const std::string& text);
  void ItemRotateClick();
  void ItemAddClick();
  // Asks first when trigger actions name the item.
  void ItemRemoveClick();
  void ItemDuplicateClick();
  void AllItemsClick();
  void ItemDescClick(int row);
  void StaticAddClick(int choice);
  void StaticRemoveClick(int line);

  // A click in the 3D view: the sector, item or static mesh it landed on is chosen.
  void GoToPicked(const PickPlace& place);
  void ItemPicked(int entity);
  void StaticPicked(int room, int index);

  // The 3D device failed: the right-hand view shows the overview from now on.
  void Disable3D();
  void RequestFrame();
  void DrawFrame();
  // Answers the unsaved-changes question; false when the user cancelled (or a save failed).
  bool ConfirmDiscard();
  bool SaveNow(bool saveAs);
  void UpdateTitle();
  void SavePlacement();
  // Takes the window back inside the screen's available area where it reaches past it.
  void KeepOnScreen();

  WindowServices services_;
  Document doc_;
  MapState map_;
  ObjectNames names_;
  DemoRecorder recorder_;
  EditHistory history_;
  // The level's demo as it was when the recording started, for the undo step Stop records.
  int16_t demoNumBefore_ = 0;
  std::vector<int32_t> demoBefore_;
  TextureStrip strip_;

  // The main-loop flags.
  bool running_ = true;
  bool renderEnabled_ = true;
  bool frameWanted_ = true;
  int64_t lastFrame_ = 0;
  bool device3dFailed_ = false;
  QTimer frameTimer_;
  // The window size the map and the 3D view were last arranged for.
  QSize arrangedFor_;

  QSplitter* sectorMap_ = nullptr;
  QScrollArea* mapPane_ = nullptr;
  RoomMapWidget* roomMap_ = nullptr;
  RightViewWidget* rightView_ = nullptr;
  Room3DView* view3d_ = nullptr;
  TextureStripView* textures_ = nullptr;

  SectorInfoPanel* secInf_ = nullptr;
  TriggersPanel* triggers_ = nullptr;
  DoorsPanel* doors_ = nullptr;
  StaticMeshesPanel* statics_ = nullptr;

  RoomsPanel* rooms_ = nullptr;

  ItemsPanel* items_ = nullptr;

  QLabel* saveState_ = nullptr;
  QAction* saveAction_ = nullptr;
  QAction* saveAsAction_ = nullptr;
  QAction* demoRecAction_ = nullptr;
  QAction* demoStopAction_ = nullptr;
  QAction* undoAction_ = nullptr;
  QAction* reloadAction_ = nullptr;
  RecentFilesMenu* recent_ = nullptr;
  ItemsListDock* itemsDock_ = nullptr;
  TriggersListDock* triggersDock_ = nullptr;
  LevelComparison* comparison_ = nullptr;
  std::set<LevelListDock*> staleLists_;
  LevelBrowser* browser_ = nullptr;
  QAction* redoAction_ = nullptr;

  QPointer<QDialog> about_;
  QPointer<QDialog> mineCartHelp_;
  QPointer<QDialog> keysHelp_;
};

}  // namespace slab
