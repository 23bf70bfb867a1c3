#include "app/main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

#include "app/demo_commands.h"
#include "app/differences_dock.h"
#include "app/file_session.h"
#include "app/help_windows.h"
#include "app/items_panel.h"
#include "app/level_browser.h"
#include "app/level_comparison.h"
#include "app/level_files.h"
#include "app/level_lists.h"
#include "app/list_docks.h"
#include "app/main_menus.h"
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
namespace {}  // namespace

MainWindow::MainWindow(WindowServices services, QWidget* parent)
    : QMainWindow(parent),
      services_(std::move(services)),
      files_(*this, doc_, history_, recorder_, services_, FileHooks()),
      help_(*this) {
  setObjectName("Slabwright2_Frm");
  setWindowTitle(kWindowTitle);
  frames_ = new FrameLoop(
      *this, services_.Clock,
      {[this] { return recorder_.DemoRecording; },
       [this] {
         PollDemoRecorder(recorder_, doc_.CurrentLevel, doc_.GameVersion,
                          DemoDevices{services_.Keyboard, services_.Clock, services_.Messages});
       },
       [this] { view_->Draw(); }});
  BuildControls();
  lists_ = new ListDocks(*this, doc_, names_, map_);
  comparison_ = new LevelComparison(this, doc_, names_, services_.Messages, services_.Files);
  const Panels panels{secInf_, triggers_, doors_, statics_, rooms_, items_};
  presenter_ =
      std::make_unique<PanelPresenter>(doc_, map_, names_, panels, *roomMap_, *comparison_);
  edits_ = new PanelCommands(*this, {doc_, map_, history_, names_, services_.Messages}, panels,
                             *presenter_, [this](const CommandOutcome& outcome, bool keepOcbText) {
                               AfterCommand(outcome, keepOcbText);
                             });
  tabifyDockWidget(lists_->Items(), comparison_->Dock());
  // The lists start closed so the panels keep their room; the View menu opens them.
  lists_->Items()->hide();
  lists_->Triggers()->hide();
  setAcceptDrops(true);
  BuildMenus();
  ConnectHandlers();
  presenter_->Reset();

  view_ = new RightViewDriver(*this, doc_, map_, names_, services_,
                              {*rightView_, *textures_, *rooms_}, *frames_);
  connect(view_, &RightViewDriver::SectorPicked, this, &MainWindow::GoToPicked);
  connect(view_, &RightViewDriver::ItemPicked, this, &MainWindow::ItemPicked);
  connect(view_, &RightViewDriver::StaticPicked, this, &MainWindow::StaticPicked);
  statusBar()->setObjectName("StatusBar");
  // Says, for as long as it holds, why the level cannot be saved.
  saveState_ = Named(new QLabel(statusBar()), "SaveState");
  statusBar()->addPermanentWidget(saveState_);
  saveState_->hide();
  new WindowKeys(*this, {[this](MoveKey key) {
                           AfterCommand(MoveCommand(doc_, map_, history_, key));
                           return true;
                         },
                         [this](int qtKey) { return view_->CameraKey(qtKey); }});
  UpdateLevelActions();
  UpdateEditMenu();

  RequestFrame();
}

MainWindow::~MainWindow() {
  // The widgets outlive this object's own members: a dock hidden while they are torn down must
  // not redraw a map whose state is already gone.
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
}

QLayout* MainWindow::BuildMapColumn(QWidget* central) {
  // The map and, under it, the rooms, doors and static meshes.
  auto* left = new QVBoxLayout;
  auto* sectorMap = new SectorMapSplitter(central);
  roomMap_ = sectorMap->Map();
  rightView_ = sectorMap->View();
  left->addWidget(sectorMap, 1);
  auto* under = new QHBoxLayout;
  rooms_ = new RoomsPanel(central);
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
      .Reload = [this] { files_.Reload(); },
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
            browser_ = new LevelBrowser(
                this, &view, roomMap_, rightView_, doc_, map_, names_,
                {[this](int room, int a, int b, int entity) { ShowPlace(room, a, b, entity); },
                 [this] { return rooms_->CurrentLine(); },
                 [this](int row) { rooms_->ChooseLine(row); }});
          }};
  menus_ = std::make_unique<MainMenus>(
      *this,
      MainMenus::Borrowed{comparison_->CompareWithAction(), comparison_->CompareWithSavedAction(),
                          lists_->Items()->toggleViewAction(),
                          lists_->Triggers()->toggleViewAction(),
                          comparison_->Dock()->toggleViewAction()},
      commands);
  recent_ = &menus_->Recent();
}

void MainWindow::ConnectHandlers() {
  connect(roomMap_, &RoomMapWidget::MouseDown, this, &MainWindow::SectorMapMouseDown);
  connect(roomMap_, &RoomMapWidget::HoverAt, this, &MainWindow::MapHover);
  // The room list's line stays; the room shown for it flips.
  connect(rooms_, &RoomsPanel::AlternatesToggled, this,
          [this] { RoomNumberClick(rooms_->CurrentLine()); });
  connect(comparison_->Dock(), &DifferencesDock::GoTo, this, &MainWindow::ShowPlace);
  connect(comparison_, &LevelComparison::MapChanged, this, [this] { presenter_->PresentMap(); });
  connect(comparison_, &LevelComparison::MapChanged, browser_,
          [this] { browser_->MarkChangedRooms(comparison_->ShownChangedRooms()); });
  connect(rooms_, &RoomsPanel::BoxesToggled, this, [this] { presenter_->PresentMap(); });
  connect(lists_, &ListDocks::GoTo, this, &MainWindow::ShowPlace);
  connect(rooms_, &RoomsPanel::LineChosen, this, &MainWindow::RoomNumberClick);
  // A click on the room already current changes no row, yet redraws and clears the selection.
  connect(rooms_, &RoomsPanel::LineClicked, this, [this](int row) {
    if (row == map_.CurrentRoom) RoomNumberClick(row);
  });
  connect(rooms_, &RoomsPanel::ViewModeClicked, this, &MainWindow::ViewModeClick);
  connect(rooms_, &RoomsPanel::DrawDoorsToggled, this, &MainWindow::RequestFrame);
  connect(triggers_, &TriggersPanel::ObjectSought, this, &MainWindow::GotoObjectClick);
  connect(items_, &ItemsPanel::NextTriggerClicked, this, &MainWindow::ItemNextTriggerClick);
  // Delete on the room map removes the chosen item, as it does in the sector's item list.
  connect(
      new QShortcut(QKeySequence(Qt::Key_Delete), roomMap_, nullptr, nullptr, Qt::WidgetShortcut),
      &QShortcut::activated, this, [this] { edits_->Remove(); });
}

void MainWindow::ShowNavigation(const NavigationView& view) {
  rooms_->Show(view.Room);
  presenter_->Refresh();
  presenter_->PresentMap();
  RequestFrame();
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
  lists_->LevelOpened();
  comparison_->LevelOpened();
  browser_->LevelOpened();
  ShowDocumentState();
}

FileSession::Hooks MainWindow::FileHooks() {
  return {[this] {
            // A refused file ended any recording too: drawing starts again.
            ShowNoLevel();
            frames_->SetRenderEnabled(true);
          },
          [this](const TileProgress& progress) { ShowLevel(progress); },
          [this] { comparison_->LevelSaved(); },
          [this](const std::string& path) { recent_->Add(path); },
          [this](const std::string& text) { ShowStatus(text); }};
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

// ---- The map and the rooms ----

void MainWindow::SectorMapMouseDown(MouseButton button, int shift, int x, int y) {
  ShowMapClick(SelectSectorAt(doc_, map_, names_, x, y, button, shift));
}

void MainWindow::ShowMapClick(const std::optional<MapClick>& click) {
  if (!click) return;
  if (click->Room) rooms_->Show(*click->Room);
  presenter_->Refresh();
  // The 3D camera turns to a sector chosen with the left button (Alt is no longer needed:
  // several desktops take Alt+click for moving windows).
  if (click->SectorChosen)
    view_->SectorChosen(map_.CurrentRoom, map_.SelectedSectorX, map_.SelectedSectorZ);
  presenter_->PresentMap();
  RequestFrame();
}

void MainWindow::MapHover(int x, int y, QPoint globalPosition) {
  const std::string text = MapTooltip(doc_, map_, names_, x, y, rooms_->BoxesShown());
  if (text.empty())
    QToolTip::hideText();
  else
    QToolTip::showText(globalPosition, Q(text), roomMap_);
}

void MainWindow::ShowPlace(int room, int a, int b, int entity) {
  const std::optional<PlaceView> place = GoToPlace(doc_, map_, room, a, b, entity);
  if (!place) return;
  rooms_->Show(place->Room);
  if (place->SectorChosen) view_->SectorChosen(room, a, b);
  presenter_->Refresh();
  presenter_->PresentMap();
  RequestFrame();
}

void MainWindow::RoomNumberClick(int row) {
  if (presenter_->ShowRoomLine(row)) RequestFrame();
}

void MainWindow::ViewModeClick() {
  rooms_->ShowViewMode(ToggleViewMode(map_));
  view_->ViewModeChanged();
}

// ---- Triggers and items ----

void MainWindow::GotoObjectClick(int triggerLine) {
  if (auto view = GotoObject(doc_, map_, names_, triggerLine)) ShowNavigation(*view);
}

void MainWindow::ItemNextTriggerClick() {
  if (auto view = ItemNextTrigger(doc_, map_, names_, services_.Messages)) ShowNavigation(*view);
}

// ---- Picks in the 3D view ----

void MainWindow::GoToPicked(const PickPlace& place) {
  // In the room shown a sector is selected as a click on the map selects it; another room
  // (seen through a door) is chosen first, as a list's row leads there.
  if (place.Room == map_.CurrentRoom && place.SectorX >= 0)
    ShowMapClick(SelectSector(doc_, map_, names_, place.SectorX, place.SectorZ, kLeftButton, 0));
  else
    ShowPlace(place.Room, place.SectorX, place.SectorZ, -1);
}

void MainWindow::ItemPicked(int entity) {
  const std::optional<PickPlace> place =
      PlaceOfPick(doc_.CurrentLevel, ScenePick{PickKind::Item, entity});
  if (!place) return;
  lists_->Items()->MarkEntity(entity);
  if (place->SectorX >= 0) {
    GoToPicked(*place);
    // Then chosen as a click on its line of the sector's item list chooses it.
    const std::vector<int>& lines = map_.SectorEntities;
    const auto line = std::find(lines.begin(), lines.end(), entity);
    if (line != lines.end()) return items_->ChooseLine(static_cast<int>(line - lines.begin()));
  }
  // Off the room's sectors no line lists it.
  ShowPlace(place->Room, place->SectorX, place->SectorZ, entity);
}

void MainWindow::StaticPicked(int room, int index) {
  const auto place = PlaceOfPick(doc_.CurrentLevel, ScenePick{PickKind::Static, -1, room, index});
  if (!place) return;
  GoToPicked(*place);
  // Then chosen as choosing its line of StaticID does.
  if (place->Room == map_.CurrentRoom) statics_->ChooseStatic(index);
  browser_->MarkStatic(room, index);
}

}  // namespace slab
