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
#include "app/recent_files_menu.h"
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
  BuildControls();
  lists_ = new ListDocks(*this, doc_, names_, map_);
  comparison_ = new LevelComparison(this, doc_, names_, services_.Messages, services_.Files);
  tabifyDockWidget(lists_->Items(), comparison_->Dock());
  // The lists start closed so the panels keep their room; the View menu opens them.
  lists_->Items()->hide();
  lists_->Triggers()->hide();
  setAcceptDrops(true);
  BuildMenus();
  ConnectHandlers();
  ResetPanels();

  if (services_.Enable3D) {
    view3d_ = new Room3DView(doc_, names_, services_.Messages, rightView_);
    view3d_->setObjectName("View3D");
    view3d_->setAccessibleName("3D room view");
    rightView_->SetView3D(view3d_);
    view3d_->LoadMarkers(services_.ProgramFolder);
    connect(view3d_, &Room3DView::DeviceFailed, this, &MainWindow::Disable3D);
    connect(view3d_, &Room3DView::SectorPicked, this, [this](int a, int b) {
      GoToPicked({map_.CurrentRoom, a, b});
    });
    connect(view3d_, &Room3DView::ItemPicked, this, &MainWindow::ItemPicked);
    connect(view3d_, &Room3DView::StaticPicked, this, &MainWindow::StaticPicked);
  }
  statusBar()->setObjectName("StatusBar");
  // Says, for as long as it holds, why the level cannot be saved.
  saveState_ = Named(new QLabel(statusBar()), "SaveState");
  statusBar()->addPermanentWidget(saveState_);
  saveState_->hide();
  new WindowKeys(*this, {[this](MoveKey key) {
                           AfterCommand(MoveCommand(doc_, map_, history_, key));
                           return true;
                         },
                         [this](int qtKey) { return CameraKeyPressed(qtKey); }});
  UpdateLevelActions();
  UpdateEditMenu();

  // One of the window's children, found by its name like any other part of the window.
  frameTimer_.setParent(this);
  frameTimer_.setObjectName("FrameTimer");
  frameTimer_.setTimerType(Qt::PreciseTimer);
  frameTimer_.setInterval(kFrameInterval);
  connect(&frameTimer_, &QTimer::timeout, this, [this] { FrameTick(services_.Clock.NowMs()); });
  lastFrame_ = std::numeric_limits<int64_t>::min() / 2;
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
      .Duplicate = [this] { ItemDuplicateClick(); },
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
  connect(comparison_, &LevelComparison::MapChanged, this, &MainWindow::PresentMap);
  connect(comparison_, &LevelComparison::MapChanged, browser_,
          [this] { browser_->MarkChangedRooms(comparison_->ShownChangedRooms()); });
  connect(rooms_, &RoomsPanel::BoxesToggled, this, &MainWindow::PresentMap);
  connect(lists_, &ListDocks::GoTo, this, &MainWindow::ShowPlace);
  connect(rooms_, &RoomsPanel::LineChosen, this, &MainWindow::RoomNumberClick);
  // A click on the room already current changes no row, yet redraws and clears the selection.
  connect(rooms_, &RoomsPanel::LineClicked, this, [this](int row) {
    if (row == map_.CurrentRoom) RoomNumberClick(row);
  });
  connect(rooms_, &RoomsPanel::ViewModeClicked, this, &MainWindow::ViewModeClick);
  connect(rooms_, &RoomsPanel::DrawDoorsToggled, this, &MainWindow::RequestFrame);
  connect(secInf_, &SectorInfoPanel::WallClicked, this, &MainWindow::FloorWallClick);
  connect(secInf_, &SectorInfoPanel::MinecartChosen, this, &MainWindow::MinecartClick);
  connect(triggers_, &TriggersPanel::ObjectSought, this, &MainWindow::GotoObjectClick);
  connect(items_, &ItemsPanel::NextTriggerClicked, this, &MainWindow::ItemNextTriggerClick);
  connect(items_, &ItemsPanel::ItemChosen, this, &MainWindow::SecCurItemClick);
  connect(items_, &ItemsPanel::FlagToggled, this, &MainWindow::ItemFlagClick);
  connect(items_, &ItemsPanel::OcbEdited, this, &MainWindow::ItemOCBChange);
  connect(items_, &ItemsPanel::RotateClicked, this, &MainWindow::ItemRotateClick);
  connect(items_, &ItemsPanel::AddClicked, this, &MainWindow::ItemAddClick);
  connect(items_, &ItemsPanel::RemoveClicked, this, &MainWindow::ItemRemoveClick);
  connect(items_, &ItemsPanel::AllItemsClicked, this, &MainWindow::AllItemsClick);
  connect(items_, &ItemsPanel::TypeChosen, this, &MainWindow::ItemDescClick);
  connect(statics_, &StaticMeshesPanel::AddClicked, this, &MainWindow::StaticAddClick);
  connect(statics_, &StaticMeshesPanel::RemoveClicked, this, &MainWindow::StaticRemoveClick);
  // Delete on the room map removes the chosen item, as it does in the sector's item list.
  connect(
      new QShortcut(QKeySequence(Qt::Key_Delete), roomMap_, nullptr, nullptr, Qt::WidgetShortcut),
      &QShortcut::activated, this, &MainWindow::ItemRemoveClick);
}

void MainWindow::ResetPanels() {
  secInf_->Reset();
  triggers_->Reset();
  doors_->Reset();
  statics_->Reset();
  items_->Reset();
}

// ---- Copying view models into the controls ----

void MainWindow::ShowPanel(const SectorPanel& panel) {
  secInf_->Show(panel.Sectors);
  doors_->Show(panel.Doors);
  triggers_->Show(panel.Triggers);
  if (panel.Items) items_->ShowSectorItems(*panel.Items);
  if (panel.Statics)
    statics_->Show(*panel.Statics,
                   SectorStatics(doc_.CurrentLevel, doc_.GameVersion, names_, map_.CurrentRoom,
                                 map_.SelectedSectorX, map_.SelectedSectorZ));
}

void MainWindow::ShowItemPanel(const ItemPanelView& view) {
  // Point the type list at the entity's type, where the list holds it.
  const auto ref = FindEntity(doc_.CurrentLevel, map_.SelectedEntity);
  const int row = !ref ? -1
                       : TypeListRow(doc_.CurrentLevel, map_.AllItems,
                                     ref.ItemRecord ? ref.ItemRecord->ObjectID : ref.AI->ObjectID);
  items_->Show(view, PlaceOfEntity(doc_.CurrentLevel, map_.SelectedEntity), row);
}

void MainWindow::RefreshPanels(bool keepOcbText) {
  const int entity = map_.SelectedEntity;
  if (map_.SectorSelected) {
    if (auto panel = ShowSelectedSector(doc_, map_, names_, true)) ShowPanel(*panel);
  } else {
    ResetPanels();
    map_.SectorEntities.clear();
  }
  // The chosen entity stays chosen (a moved item may have left the sector), and its line is
  // marked where the sector lists it.
  map_.SelectedEntity = entity;
  int line = -1;
  for (size_t i = 0; i < map_.SectorEntities.size(); ++i)
    if (map_.SectorEntities[i] == entity) line = static_cast<int>(i);
  items_->MarkLine(line);
  const QString typed = items_->OcbText();
  if (auto view = ItemPanelFor(doc_, map_)) {
    ShowItemPanel(*view);
    // The user's own text stays while they type ("-" reads 0 but is the start of "-5").
    if (keepOcbText) items_->KeepOcbText(typed);
  } else {
    map_.SelectedEntity = -1;
    items_->Clear();
  }
}

void MainWindow::ShowNavigation(const NavigationView& view) {
  rooms_->Show(view.Room);
  RefreshPanels();
  PresentMap();
  RequestFrame();
}

void MainWindow::PresentMap() {
  const MapImage shown = doc_.LevelLoaded && rooms_->BoxesShown()
                             ? MapWithBoxes(doc_.CurrentLevel, doc_.GameVersion, map_)
                             : map_.Shown;
  roomMap_->SetMap(comparison_->Outlined(shown, map_.CurrentRoom));
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
  PresentMap();
  RefreshPanels(keepOcbText);
  if (view3d_ != nullptr) {
    if (edit.Kind == EditKind::Wall || edit.Kind == EditKind::Minecart)
      view3d_->RoomGeometryChanged();
    else if (edit.Kind != EditKind::Demo)
      view3d_->ItemsChanged();
  }
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
  if (view3d_ != nullptr) view3d_->LevelOpened();
  strip_ = TextureStrip{};
  textures_->SetStrip(strip_);
  rooms_->Reset();
  items_->ShowTypes({}, false);
  statics_->ShowChoices({});
  ResetPanels();
  PresentMap();
  rightView_->SetOverview(DrawLevelOverview(doc_.CurrentLevel, 0));
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
            renderEnabled_ = true;
            ShowNoLevel();
            RequestFrame();
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
  // A new level ended the recording made for the old one: drawing starts again.
  renderEnabled_ = true;
  if (view3d_ != nullptr) {
    view3d_->LevelOpened(progress);
    strip_ = TextureStrip{};
    textures_->SetStrip(view3d_->Strip());
  } else {
    strip_ =
        BuildTextureStrip(doc_.CurrentLevel, doc_.GameVersion, TexelRules::MainWindow, progress);
    textures_->SetStrip(strip_);
  }
  UpdateTitle();

  ResetPanels();
  const std::optional<RoomView> roomView = ShowOpenedLevel(doc_, map_);
  rooms_->ShowRooms(doc_.CurrentLevel.Rooms.size());
  if (roomView) rooms_->Show(*roomView);
  PresentMap();

  secInf_->ShowCaptionsFor(doc_.GameVersion);

  items_->ShowTypes(ObjectTypeList(doc_.CurrentLevel, doc_.GameVersion, names_, false), false);
  statics_->ShowChoices(StaticMeshChoices(doc_.CurrentLevel, doc_.GameVersion, names_));
  rooms_->MarkLine(0);
  if (rooms_->AlternatesShown() && ShownRoom(doc_.CurrentLevel, 0, true) != 0) RoomNumberClick(0);
  ShowLevelReplaced();
  RequestFrame();
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

bool MainWindow::MenuFileSaveAs() { return files_.Save(true); }

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
  frameTimer_.stop();
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
  renderEnabled_ = false;
  ShowDocumentState();
  if (!frameTimer_.isActive()) frameTimer_.start();
}

void MainWindow::MenuDemoStop() {
  if (!StopDemoCommand(doc_, history_, recorder_)) return;
  comparison_->LevelEdited();
  // Drawing resumes: the window would otherwise stay frozen after the recording.
  renderEnabled_ = true;
  ShowDocumentState();
  RequestFrame();
}

std::vector<KeyLine> MainWindow::KeyLines() const { return WindowKeyLines(*menuBar()); }

// ---- The map and the rooms ----

void MainWindow::SectorMapMouseDown(MouseButton button, int shift, int x, int y) {
  ShowMapClick(SelectSectorAt(doc_, map_, names_, x, y, button, shift));
}

void MainWindow::ShowMapClick(const std::optional<MapClick>& click) {
  if (!click) return;
  if (click->Room) rooms_->Show(*click->Room);
  RefreshPanels();
  // The 3D camera turns to a sector chosen with the left button (Alt is no longer needed:
  // several desktops take Alt+click for moving windows).
  if (click->SectorChosen && view3d_ != nullptr)
    view3d_->MapClick(map_.CurrentRoom, map_.SelectedSectorX, map_.SelectedSectorZ, true);
  PresentMap();
  RequestFrame();
}

bool MainWindow::CameraKeyPressed(int qtKey) {
  if (!RightViewIs3D()) return false;
  const int code = CameraKeyCode(qtKey);
  if (code == 0 || !view3d_->OrbitKey(code, 0)) return false;
  RequestFrame();
  return true;
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
  if (place->SectorChosen && view3d_ != nullptr) view3d_->MapClick(room, a, b, true);
  RefreshPanels();
  PresentMap();
  RequestFrame();
}

void MainWindow::RoomNumberClick(int row) {
  const std::optional<RoomView> view =
      ChooseRoom(doc_, map_, ShownRoom(doc_.CurrentLevel, row, rooms_->AlternatesShown()));
  if (!view) return;
  rooms_->Show(RoomView{row, view->RoomInfo, view->AltRoom});
  RefreshPanels();
  PresentMap();
  RequestFrame();
}

bool MainWindow::RightViewIs3D() const {
  return view3d_ != nullptr && !device3dFailed_ && map_.ViewMode == RightPane::Room3D;
}

void MainWindow::ViewModeClick() {
  rooms_->ShowViewMode(ToggleViewMode(map_));
  if (view3d_ != nullptr) view3d_->setVisible(RightViewIs3D());
  rightView_->update();
  RequestFrame();
}

void MainWindow::Disable3D() {
  device3dFailed_ = true;
  if (view3d_ != nullptr) view3d_->hide();
  RequestFrame();
}

// ---- Sector edits ----

void MainWindow::FloorWallClick(bool checked) {
  const CommandOutcome outcome = WallCommand(doc_, map_, history_, checked);
  if (!outcome) {
    // The box shows the selected sector as it is, whatever the click left it as.
    if (map_.SectorSelected) {
      RefreshPanels();
    } else {
      secInf_->ShowWall(false);
    }
  }
  AfterCommand(outcome);
}

void MainWindow::MinecartClick(MinecartMode mode) {
  AfterCommand(MinecartCommand(doc_, map_, history_, mode, services_.Messages));
}

// ---- Triggers and items ----

void MainWindow::GotoObjectClick(int triggerLine) {
  if (auto view = GotoObject(doc_, map_, names_, triggerLine)) ShowNavigation(*view);
}

void MainWindow::ItemNextTriggerClick() {
  if (auto view = ItemNextTrigger(doc_, map_, names_, services_.Messages)) ShowNavigation(*view);
}

void MainWindow::SecCurItemClick(int row) {
  if (auto view = SelectEntity(doc_, map_, row)) ShowItemPanel(*view);
}

void MainWindow::ItemFlagClick(ItemFlagBox flag) {
  const CommandOutcome outcome = FlagCommand(doc_, map_, history_, flag);
  AfterCommand(outcome);
  // Nothing changed: the boxes show the flags as they are, whatever the click ticked.
  if (!outcome) {
    const auto view = ItemPanelFor(doc_, map_);
    items_->ShowFlags(view ? view->Colours : ItemFlagColours{});
  }
}

void MainWindow::ItemOCBChange(const std::string& text) {
  AfterCommand(OcbCommand(doc_, map_, history_, text), true);
}

void MainWindow::ItemRotateClick() { AfterCommand(RotateCommand(doc_, map_, history_)); }

void MainWindow::ItemAddClick() { AfterCommand(AddItemCommand(doc_, map_, history_)); }

void MainWindow::ItemRemoveClick() {
  AfterCommand(AskedRemoveCommand(doc_, map_, history_, names_, services_.Messages));
}

void MainWindow::ItemDuplicateClick() { AfterCommand(DuplicateCommand(doc_, map_, history_)); }

void MainWindow::AllItemsClick() {
  items_->ShowTypes(ClickAllItems(doc_, map_, names_), map_.AllItems);
  if (auto view = ItemPanelFor(doc_, map_)) ShowItemPanel(*view);
}

void MainWindow::ItemDescClick(int row) {
  const CommandOutcome outcome = TypeCommand(doc_, map_, history_, row);
  AfterCommand(outcome);
  if (outcome) return;
  // The list goes back to the entity's own type (or to nothing chosen).
  if (auto view = ItemPanelFor(doc_, map_))
    ShowItemPanel(*view);
  else
    items_->Clear();
}

void MainWindow::StaticAddClick(int choice) {
  AfterCommand(StaticAddCommand(doc_, map_, history_, names_, choice));
}

void MainWindow::StaticRemoveClick(int line) {
  AfterCommand(StaticRemoveCommand(doc_, map_, history_, names_, line));
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

// ---- The frame loop ----

void MainWindow::RequestFrame() {
  frameWanted_ = true;
  if (running_ && !frameTimer_.isActive()) frameTimer_.start();
}

void MainWindow::FrameTick(int64_t now) {
  if (recorder_.DemoRecording)
    PollDemoRecorder(recorder_, doc_.CurrentLevel, doc_.GameVersion,
                     DemoDevices{services_.Keyboard, services_.Clock, services_.Messages});
  if (frameWanted_ && renderEnabled_ && now - lastFrame_ > kFrameInterval) {
    lastFrame_ = now;
    frameWanted_ = false;
    DrawFrame();
  }
  // Nothing to draw and nothing to poll: the timer rests until something changes.
  if (!recorder_.DemoRecording && (!frameWanted_ || !renderEnabled_)) frameTimer_.stop();
}

void MainWindow::DrawFrame() {
  if (RightViewIs3D()) {
    std::optional<SelectedSector> selected;
    if (map_.SectorSelected) selected = SelectedSector{map_.SelectedSectorX, map_.SelectedSectorZ};
    view3d_->ShowRoom(map_.CurrentRoom, selected, rooms_->DoorsDrawn());
    view3d_->update();
    return;
  }
  rightView_->SetOverview(DrawLevelOverview(doc_.CurrentLevel, map_.CurrentRoom));
}

}  // namespace slab
