#include "app/main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>
#include <memory>
#include <utility>

#include "app/accessible_names.h"
#include "app/demo_commands.h"
#include "app/differences_dock.h"
#include "app/file_session.h"
#include "app/help_windows.h"
#include "app/items_panel.h"
#include "app/level_browser.h"
#include "app/level_comparison.h"
#include "app/level_files.h"
#include "app/level_lists.h"
#include "app/level_problems.h"
#include "app/list_docks.h"
#include "app/main_menus.h"
#include "app/navigator.h"
#include "app/panel_commands.h"
#include "app/panel_presenter.h"
#include "app/recent_files_menu.h"
#include "app/right_view_driver.h"
#include "app/rooms_panel.h"
#include "app/sector_map_widget.h"
#include "app/sector_panels.h"
#include "app/window_keys.h"
#include "level/text.h"
#include "map/box_outlines.h"
#include "map/draw_room.h"
#include "map/entity.h"
#include "map/floor_edits.h"
#include "map/item_edits.h"
#include "map/item_panel.h"
#include "map/overview.h"
#include "map/place_texts.h"
#include "map/static_edits.h"
#include "preview3d/gl/room3d_view.h"
#include "preview3d/gl/texture_strip_view.h"
#include "preview3d/scene_pick.h"
#include "write/save_commands.h"

namespace slab {
MainWindow::MainWindow(WindowServices services, QWidget* parent)
    : QMainWindow(parent),
      services_(std::move(services)),
      files_(*this, doc_, history_, recorder_, services_, FileHooks()),
      help_(*this) {
  InstallAccessibleNames();
  setObjectName("Slabwright2_Frm");
  setWindowTitle(kWindowTitle);
  frames_ = std::make_unique<FrameLoop>(
      *this, services_.Clock,
      FrameLoop::Hooks{.Polling = [this] { return recorder_.DemoRecording; },
                       .Poll =
                           [this] {
                             PollDemoRecorder(recorder_, doc_.CurrentLevel, doc_.GameVersion,
                                              DemoDevices{.Keyboard = services_.Keyboard,
                                                          .Clock = services_.Clock,
                                                          .Messages = services_.Messages});
                           },
                       .Draw = [this] { view_->Draw(); }});
  BuildControls();
  lists_ = new ListDocks(*this, doc_, names_, map_);
  problems_ = new LevelProblems(*this, doc_, names_, map_);
  comparison_ =
      std::make_unique<LevelComparison>(*this, doc_, names_, services_.Messages, services_.Files);
  const Panels panels{.SectorInfo = secInf_,
                      .Triggers = triggers_,
                      .Doors = doors_,
                      .Statics = statics_,
                      .Rooms = rooms_,
                      .Items = items_};
  presenter_ =
      std::make_unique<PanelPresenter>(doc_, map_, names_, panels, *roomMap_, *comparison_);
  edits_ = std::make_unique<PanelCommands>(PanelCommands::Core{.Doc = doc_,
                                                               .Map = map_,
                                                               .History = history_,
                                                               .Names = names_,
                                                               .Messages = services_.Messages},
                                           panels, *presenter_,
                                           [this](const CommandOutcome& outcome, bool keepOcbText) {
                                             AfterCommand(outcome, keepOcbText);
                                           });
  tabifyDockWidget(lists_->Items(), comparison_->Dock());
  tabifyDockWidget(lists_->Items(), problems_->Dock());
  // The lists start closed so the panels keep their room; the View menu opens them.
  lists_->Items()->hide();
  lists_->Triggers()->hide();
  setAcceptDrops(true);
  BuildMenus();
  view_ = std::make_unique<RightViewDriver>(
      doc_, map_, names_, services_,
      RightViewDriver::Parts{.RightView = *rightView_, .Textures = *textures_, .Rooms = *rooms_},
      *frames_);
  presenter_->SetView3D(view_->View3D());
  view_->AddMenuEntries(*menuBar()->findChild<QMenu*>("Mnu_View"));
  navigator_ = std::make_unique<Navigator>(
      Navigator::Core{.Doc = doc_, .Map = map_, .Names = names_, .Messages = services_.Messages},
      Navigator::Parts{.Presenter = *presenter_,
                       .RoomMap = *roomMap_,
                       .Rooms = *rooms_,
                       .Triggers = *triggers_,
                       .Items = *items_,
                       .Statics = *statics_,
                       .View = *view_,
                       .Frames = *frames_},
      Navigator::Marks{
          .Entity = [this](int entity) { lists_->Items()->MarkEntity(entity); },
          .Static = [this](int room, int index) { browser_->MarkStatic(room, index); }});
  ConnectHandlers();
  presenter_->Reset();
  statusBar()->setObjectName("StatusBar");
  AnnounceStatusMessages(*statusBar());
  // Says, for as long as it holds, why the level cannot be saved.
  saveState_ = Named(new QLabel(statusBar()), "SaveState");
  statusBar()->addPermanentWidget(saveState_);
  saveState_->hide();
  keys_ = std::make_unique<WindowKeys>(
      *this, WindowKeys::Actions{.Move =
                                     [this](MoveKey key) {
                                       AfterCommand(MoveCommand(doc_, map_, history_, key));
                                       return true;
                                     },
                                 .Camera = [this](int qtKey) { return view_->CameraKey(qtKey); }});
  UpdateLevelActions();
  UpdateEditMenu();
  KeepDocksOnScreen(*this);
  // After the docks are wrapped, so their scroll areas' buttons are named too.
  NameWindowButtons(*this);

  RequestFrame();
}

// The helpers, and with them every connection that reaches the window's state, go before that
// state; the widgets after both (see the members).
MainWindow::~MainWindow() = default;

QLayout* MainWindow::BuildMapColumn(QWidget* central) {
  // The map and, under it, the rooms, doors and static meshes.
  auto* left = new QVBoxLayout;
  auto* sectorMap = new SectorMapSplitter(central);
  roomMap_ = sectorMap->Map();
  rightView_ = sectorMap->View();
  left->addWidget(sectorMap, 1);
  auto* under = new QHBoxLayout;
  rooms_ = new RoomsPanel(central);
  // However narrow the window gets beside its docks, the room list keeps "Room 1234" readable.
  if (auto* roomList = rooms_->findChild<QListWidget*>("RoomNumber"))
    roomList->setMinimumWidth(roomList->fontMetrics().horizontalAdvance("Room 1234") +
                              roomList->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                              2 * roomList->frameWidth() + 12);
  under->addWidget(rooms_, 2);
  doors_ = new DoorsPanel(central);
  under->addWidget(doors_, 1);
  statics_ = new StaticMeshesPanel(central);
  under->addWidget(statics_, 1);
  left->addLayout(under);
  return left;
}

void MainWindow::BuildControls() {
  auto* central = new QWidget(this);
  auto* columns = new QHBoxLayout(central);
  columns->addLayout(BuildMapColumn(central), 1);

  // Middle: the selected sector, its trigger and the items on it.
  auto* middle = new QVBoxLayout;
  secInf_ = new SectorInfoPanel(central);
  middle->addWidget(secInf_);
  triggers_ = new TriggersPanel(central);
  middle->addWidget(triggers_, 1);

  items_ = new ItemsPanel(central);
  middle->addWidget(items_);
  // The panels keep a reading width; the map and the 3D view take the rest of the window.
  auto* middlePanels = new QWidget(central);
  middlePanels->setLayout(middle);
  middlePanels->setMaximumWidth(400);
  middle->setContentsMargins(0, 0, 0, 0);
  columns->addWidget(middlePanels);

  // Right: the texture pages.
  auto* textures = Named(new QGroupBox("Textures", central), "Frame6");
  auto* texturesLayout = new QVBoxLayout(textures);
  textures_ = new TextureStripView(textures);
  texturesLayout->addWidget(textures_);
  textures->setMaximumWidth(300);
  columns->addWidget(textures);

  setCentralWidget(central);
}

void MainWindow::BuildMenus() {
  const MainMenus::Commands commands{
      .Open = [this] { files_.OpenChosen(); },
      .Save = [this] { files_.Save(false); },
      .SaveAs = [this] { files_.Save(true); },
      .Reload = [this] { MenuFileReload(); },
      .Previous = [this] { files_.OpenAdjacent(-1); },
      .Next = [this] { files_.OpenAdjacent(+1); },
      .Quit = [this] { MenuFileQuit(); },
      .OpenRecent = [this](const std::string& path) { files_.OpenPath(path); },
      .Undo = [this] { MenuEditUndo(); },
      .Redo = [this] { MenuEditRedo(); },
      .Duplicate = [this] { edits_->Duplicate(); },
      .ZoomIn = [this] { roomMap_->ZoomBy(+1); },
      .ZoomOut = [this] { roomMap_->ZoomBy(-1); },
      .ZoomFit = [this] { roomMap_->ZoomToFit(); },
      .DemoRec = [this] { MenuDemoRec(); },
      .DemoStop = [this] { MenuDemoStop(); },
      .MineCartHelp = [this] { help_.ShowMineCart(); },
      .Keys = [this] { help_.ShowKeys(KeyLines()); },
      .About = [this] { help_.ShowAbout(); },
      .AddBrowser =
          [this](QMenu& view) {
            view.addAction(problems_->ToggleAction());
            browser_ = new LevelBrowser(
                this, &view, roomMap_, rightView_, doc_, map_, names_,
                LevelBrowser::WindowHooks{
                    .GoTo = [this](int room, int a, int b,
                                   int entity) { navigator_->ShowPlace(room, a, b, entity); },
                    .RoomRow = [this] { return rooms_->CurrentLine(); },
                    .ChooseRoomRow = [this](int row) { rooms_->ChooseLine(row); }});
          }};
  menus_ = std::make_unique<MainMenus>(
      *this,
      MainMenus::Borrowed{.CompareWith = comparison_->CompareWithAction(),
                          .CompareWithSaved = comparison_->CompareWithSavedAction(),
                          .ItemsList = lists_->Items()->toggleViewAction(),
                          .TriggersList = lists_->Triggers()->toggleViewAction(),
                          .Differences = comparison_->Dock()->toggleViewAction()},
      commands);
}

void MainWindow::ConnectHandlers() {
  // Never the window as context or receiver (see wiring_): a helper, or wiring_.
  // The room list's line stays; the room shown for it flips.
  connect(rooms_, &RoomsPanel::AlternatesToggled, &wiring_,
          [this] { navigator_->ChooseRoomLine(rooms_->CurrentLine()); });
  connect(comparison_->Dock(), &DifferencesDock::GoTo, navigator_.get(), &Navigator::ShowPlace);
  connect(comparison_.get(), &LevelComparison::MapChanged, &wiring_, [this] {
    presenter_->PresentMap();
    browser_->MarkChangedRooms(comparison_->ShownChangedRooms());
  });
  connect(rooms_, &RoomsPanel::BoxesToggled, &wiring_, [this] { presenter_->PresentMap(); });
  connect(lists_, &ListDocks::GoTo, navigator_.get(), &Navigator::ShowPlace);
  connect(problems_, &LevelProblems::GoTo, navigator_.get(), &Navigator::ShowPlace);
  connect(rooms_, &RoomsPanel::LineChosen, navigator_.get(), &Navigator::ChooseRoomLine);
  // A click on the room already current changes no row, yet redraws and clears the selection.
  connect(rooms_, &RoomsPanel::LineClicked, &wiring_, [this](int row) {
    if (row == map_.CurrentRoom) navigator_->ChooseRoomLine(row);
  });
  connect(rooms_, &RoomsPanel::ViewModeClicked, &wiring_, [this] { ViewModeClick(); });
  connect(rooms_, &RoomsPanel::DrawDoorsToggled, frames_.get(), &FrameLoop::Request);
  // Delete on the room map, or in the 3D view where a click chose an item or a static mesh,
  // removes what was chosen, as Delete in the sector's item list removes the chosen item.
  for (QWidget* view : {static_cast<QWidget*>(roomMap_), static_cast<QWidget*>(view_->View3D())}) {
    if (view == nullptr) continue;
    connect(new QShortcut(QKeySequence(Qt::Key_Delete), view, nullptr, nullptr, Qt::WidgetShortcut),
            &QShortcut::activated, edits_.get(), &PanelCommands::RemoveChosen);
  }
}

void MainWindow::ShowStatus(const std::string& text) {
  if (text.empty()) return;
  statusBar()->showMessage(Q(text), 5000);
}

void MainWindow::ShowDocumentState() {
  UpdateTitle();
  UpdateLevelActions();
  UpdateEditMenu();
}

void MainWindow::UpdateEditMenu() { menus_->ShowHistory(history_, recorder_.DemoRecording); }

void MainWindow::UpdateLevelActions() {
  const QString refusal = doc_.LevelLoaded ? Q(LevelSaveRefusal(doc_)) : QString();
  menus_->ShowLevelState(doc_.LevelLoaded, refusal, recorder_.DemoRecording);
  saveState_->setText(refusal.isEmpty() ? QString() : "Read-only: " + refusal);
  saveState_->setVisible(!refusal.isEmpty());
  comparison_->UpdateActions();
}

void MainWindow::AfterCommand(const CommandOutcome& outcome, bool keepOcbText) {
  if (!outcome) {
    ShowStatus(outcome.Status);
    return;
  }
  const Edit& edit = *outcome.Done;
  presenter_->PresentMap();
  presenter_->Refresh(keepOcbText);
  view_->LevelEdited(edit.Kind);
  comparison_->LevelEdited();
  lists_->LevelEdited(edit.Kind);
  browser_->LevelEdited(edit.Kind);
  ShowStatus(problems_->LevelEdited());
  UpdateTitle();
  UpdateEditMenu();
  RequestFrame();
}

// ---- File commands ----

void MainWindow::ShowNoLevel() {
  doc_ = Document{};
  const RightPane viewMode = map_.ViewMode;  // the view mode belongs to the window
  map_ = MapState{};
  map_.ViewMode = viewMode;
  SelectRoom(doc_, map_, 0);
  history_.Clear();
  view_->LevelClosed();
  presenter_->ShowEmpty();
  ShowLevelReplaced();
}

void MainWindow::ShowLevelReplaced() {
  ShowStatus(problems_->LevelOpened());
  lists_->LevelOpened();
  comparison_->LevelOpened();
  browser_->LevelOpened();
  ShowDocumentState();
}

FileSession::Hooks MainWindow::FileHooks() {
  return {.ShowNoLevel =
              [this] {
                // A refused file ended any recording too: drawing starts again.
                ShowNoLevel();
                frames_->SetRenderEnabled(true);
              },
          .ShowLevel = [this](const TileProgress& progress) { ShowLevel(progress); },
          .Saved = [this] { comparison_->LevelSaved(); },
          .Remember = [this](const std::string& path) { menus_->Recent().Add(path); },
          .Status = [this](const std::string& text) { ShowStatus(text); },
          .ConfirmSave = [this] { return problems_->ConfirmSave(services_.Messages); }};
}

bool MainWindow::OpenLevel(const std::string& path, const std::string& title) {
  return files_.Open(path, title);
}

void MainWindow::ShowLevel(const TileProgress& progress) {
  view_->LevelOpened(progress);
  UpdateTitle();

  presenter_->ShowOpened();
  ShowLevelReplaced();
  // A new level ended the recording made for the old one: drawing starts again.
  frames_->SetRenderEnabled(true);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  const std::optional<std::string> path = DraggedFile(*event->mimeData());
  if (path && IsLevelFileName(*path)) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const std::optional<std::string> path = DraggedFile(*event->mimeData());
  if (!path) return;
  event->acceptProposedAction();
  files_.OpenPath(*path);
}

void MainWindow::MenuFileReload() {
  // The file read again is looked at where the user was: the same room and sector.
  const int room = map_.CurrentRoom;
  const bool sector = map_.SectorSelected;
  const int a = map_.SelectedSectorX, b = map_.SelectedSectorZ;
  if (!files_.Reload()) return;
  if (room > 0 || sector) navigator_->ShowPlace(room, sector ? a : -1, sector ? b : -1, -1);
}

void MainWindow::MenuFileQuit() {
  if (!files_.ConfirmDiscard()) return;
  running_ = false;
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (running_ && !files_.ConfirmDiscard()) {
    event->ignore();
    return;
  }
  running_ = false;
  frames_->Stop();
  SavePlacement(*this);
  help_.CloseAll();
  event->accept();
}

// ---- Edit, demo and help menus ----

void MainWindow::MenuEditUndo() {
  if (recorder_.DemoRecording) return;
  AfterCommand(UndoCommand(doc_, map_, history_));
  UpdateEditMenu();
}

void MainWindow::MenuEditRedo() {
  if (recorder_.DemoRecording) return;
  AfterCommand(RedoCommand(doc_, map_, history_));
  UpdateEditMenu();
}

void MainWindow::MenuDemoRec() {
  std::string status;
  if (!StartDemoCommand(doc_, recorder_,
                        DemoDevices{services_.Keyboard, services_.Clock, services_.Messages},
                        status))
    return ShowStatus(status);
  frames_->SetRenderEnabled(false);
  ShowDocumentState();
}

void MainWindow::MenuDemoStop() {
  if (!StopDemoCommand(doc_, history_, recorder_)) return;
  comparison_->LevelEdited();
  // Drawing resumes: the window would otherwise stay frozen after the recording.
  frames_->SetRenderEnabled(true);
  ShowDocumentState();
}

std::vector<KeyLine> MainWindow::KeyLines() const { return WindowKeyLines(*menuBar()); }

void MainWindow::ViewModeClick() {
  rooms_->ShowViewMode(ToggleViewMode(map_));
  view_->ViewModeChanged();
}

}  // namespace slab
