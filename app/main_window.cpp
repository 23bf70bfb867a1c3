#include "app/main_window.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QResizeEvent>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

#include "app/differences_dock.h"
#include "app/file_messages.h"
#include "app/help_windows.h"
#include "app/items_panel.h"
#include "app/level_browser.h"
#include "app/level_comparison.h"
#include "app/level_files.h"
#include "app/level_lists.h"
#include "app/recent_files_menu.h"
#include "app/rooms_panel.h"
#include "app/sector_map_widget.h"
#include "app/sector_panels.h"
#include "level/load_level.h"
#include "level/text.h"
#include "map/box_outlines.h"
#include "map/draw_room.h"
#include "map/entity.h"
#include "map/floor_edits.h"
#include "map/item_edits.h"
#include "map/item_panel.h"
#include "map/overview.h"
#include "map/place_texts.h"
#include "map/sector_tooltip.h"
#include "map/static_edits.h"
#include "preview3d/gl/room3d_view.h"
#include "preview3d/gl/texture_strip_view.h"
#include "preview3d/scene_pick.h"

namespace slab {
namespace {

// The keys that, with Ctrl, move the chosen entity; Help > Keys lists them from here.
constexpr std::array<std::pair<int, MoveKey>, 6> kMoveKeys{{{Qt::Key_Up, MoveKey::Up},
                                                            {Qt::Key_Down, MoveKey::Down},
                                                            {Qt::Key_Left, MoveKey::Left},
                                                            {Qt::Key_Right, MoveKey::Right},
                                                            {Qt::Key_PageUp, MoveKey::PageUp},
                                                            {Qt::Key_PageDown, MoveKey::PageDown}}};

std::optional<MoveKey> MoveKeyFor(int qtKey) {
  for (const auto& [key, move] : kMoveKeys)
    if (key == qtKey) return move;
  return std::nullopt;
}

// The keys that move the 3D camera while the 3D view shows, and what each does: the key
// handler takes these and no others, and Help > Keys lists them from here.
struct CameraKey {
  int Key;
  const char* What;
};
constexpr std::array<CameraKey, 6> kCameraKeys{{
    {Qt::Key_Left, "Circle the camera around the room"},
    {Qt::Key_Right, "Circle the camera around the room the other way"},
    {Qt::Key_Up, "Raise the camera: look down more steeply"},
    {Qt::Key_Down, "Lower the camera"},
    {Qt::Key_PageUp, "Move the camera nearer"},
    {Qt::Key_PageDown, "Move the camera farther"},
}};

bool IsCameraKey(int qtKey) {
  return std::any_of(kCameraKeys.begin(), kCameraKeys.end(),
                     [qtKey](const CameraKey& key) { return key.Key == qtKey; });
}

// A menu entry's caption without its mnemonic and its trailing dots: "Save As".
QString PlainCaption(QString text) {
  text.remove('&');
  if (text.endsWith("...")) text.chop(3);
  return text;
}

}  // namespace

MainWindow::MainWindow(WindowServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)) {
  setObjectName("Slabwright2_Frm");
  setWindowTitle(kWindowTitle);
  BuildControls();
  itemsDock_ = new ItemsListDock(this);
  triggersDock_ = new TriggersListDock(this);
  addDockWidget(Qt::RightDockWidgetArea, itemsDock_);
  tabifyDockWidget(itemsDock_, triggersDock_);
  comparison_ = new LevelComparison(this, doc_, names_, services_.Messages, services_.Files);
  tabifyDockWidget(itemsDock_, comparison_->Dock());
  // The lists start closed so the panels keep their room; the View menu opens them.
  itemsDock_->hide();
  triggersDock_->hide();
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
  qApp->installEventFilter(this);
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

void MainWindow::BuildControls() {
  auto* central = new QWidget(this);
  auto* columns = new QHBoxLayout(central);

  // Left: the map and, under it, the rooms, doors and static meshes.
  auto* left = new QVBoxLayout;
  // The map and the right-hand view share the space the window gives them; the map's pane
  // scrolls when the user zooms in beyond it.
  sectorMap_ = Named(new QSplitter(Qt::Horizontal, central), "SectorMap");
  sectorMap_->setChildrenCollapsible(false);
  mapPane_ = Named(new QScrollArea(sectorMap_), "MapPane");
  mapPane_->setWidgetResizable(true);
  mapPane_->setAlignment(Qt::AlignCenter);
  roomMap_ = new RoomMapWidget;
  mapPane_->setWidget(roomMap_);
  rightView_ = new RightViewWidget(sectorMap_);
  sectorMap_->addWidget(mapPane_);
  sectorMap_->addWidget(rightView_);
  sectorMap_->setStretchFactor(0, 1);
  sectorMap_->setStretchFactor(1, 1);
  sectorMap_->setSizes({10000, 10000});  // halves, whatever the window's width
  left->addWidget(sectorMap_, 1);
  auto* under = new QHBoxLayout;

  rooms_ = new RoomsPanel(central);
  under->addWidget(rooms_, 2);

  doors_ = new DoorsPanel(central);
  under->addWidget(doors_, 1);
  statics_ = new StaticMeshesPanel(central);
  under->addWidget(statics_, 1);
  left->addLayout(under);
  columns->addLayout(left, 1);

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
  auto* file = menuBar()->addMenu("&File");
  file->setObjectName("Mnu_File");
  auto add = [this](QMenu* menu, const char* name, const char* caption, auto handler) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  add(file, "Mnu_File_Open", "&Open", [this] { MenuFileOpen(); })->setShortcut(QKeySequence::Open);
  saveAction_ = add(file, "Mnu_File_Save", "&Save", [this] { MenuFileSave(); });
  saveAction_->setShortcut(QKeySequence::Save);
  saveAsAction_ = add(file, "Mnu_File_SaveAs", "Save As...", [this] { MenuFileSaveAs(); });
  reloadAction_ = add(file, "Mnu_File_Reload", "&Reload", [this] { MenuFileReload(); });
  reloadAction_->setShortcut(Qt::Key_F5);
  file->addAction(comparison_->CompareWithAction());
  file->addAction(comparison_->CompareWithSavedAction());
  add(file, "Mnu_File_Previous", "Previous Level", [this] {
    MenuFileAdjacent(-1);
  })->setShortcut(Qt::Key_F6);
  add(file, "Mnu_File_Next", "Next Level", [this] {
    MenuFileAdjacent(+1);
  })->setShortcut(Qt::Key_F7);
  recent_ = new RecentFilesMenu(file);
  file->addMenu(recent_);
  connect(recent_, &RecentFilesMenu::OpenRequested, this,
          [this](const QString& path) { OpenPath(path.toStdString()); });
  file->addSeparator()->setObjectName("Mnu_File_Line1");
  add(file, "Mnu_File_Quit", "&Quit", [this] { MenuFileQuit(); })->setShortcut(QKeySequence::Quit);

  auto* edit = menuBar()->addMenu("&Edit");
  edit->setObjectName("Mnu_Edit");
  undoAction_ = add(edit, "Mnu_Edit_Undo", "Undo", [this] { MenuEditUndo(); });
  undoAction_->setShortcut(QKeySequence::Undo);
  redoAction_ = add(edit, "Mnu_Edit_Redo", "Redo", [this] { MenuEditRedo(); });
  redoAction_->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  add(edit, "Mnu_Edit_Duplicate", "Duplicate", [this] {
    ItemDuplicateClick();
  })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));

  auto* view = menuBar()->addMenu("&View");
  view->setObjectName("Mnu_View");
  QAction* items = itemsDock_->toggleViewAction();
  items->setObjectName("Mnu_View_Items");
  items->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
  view->addAction(items);
  QAction* triggers = triggersDock_->toggleViewAction();
  triggers->setObjectName("Mnu_View_Triggers");
  triggers->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
  view->addAction(triggers);
  view->addAction(comparison_->Dock()->toggleViewAction());
  view->addSeparator();
  browser_ = new LevelBrowser(
      this, view, roomMap_, rightView_, doc_, map_, names_,
      {[this](int room, int a, int b, int entity) { GoToPlace(room, a, b, entity); },
       [this] { return rooms_->CurrentLine(); }, [this](int row) { rooms_->ChooseLine(row); }});
  view->addSeparator();
  add(view, "Mnu_View_ZoomIn", "Zoom In", [this] {
    roomMap_->ZoomBy(+1);
  })->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  add(view, "Mnu_View_ZoomOut", "Zoom Out", [this] {
    roomMap_->ZoomBy(-1);
  })->setShortcut(QKeySequence::ZoomOut);
  add(view, "Mnu_View_ZoomFit", "Fit Map to Pane", [this] {
    roomMap_->ZoomToFit();
  })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));

  auto* demo = menuBar()->addMenu("&Demo");
  demo->setObjectName("Mnu_Demo");
  demoRecAction_ = add(demo, "Mnu_Demo_Rec", "Start Recording", [this] { MenuDemoRec(); });
  demoStopAction_ = add(demo, "Mnu_Demo_Stop", "Stop Recording", [this] { MenuDemoStop(); });

  auto* help = menuBar()->addMenu("&Help");
  help->setObjectName("Mnu_Help");
  add(help, "Mnu_Help_MineCart", "&MineCart Help", [this] { MenuHelpMineCart(); });
  add(help, "Mnu_Help_Keys", "&Keys", [this] { MenuHelpKeys(); });
  add(help, "Mnu_Help_About", "&About", [this] { MenuHelpAbout(); });
}

void MainWindow::ConnectHandlers() {
  connect(roomMap_, &RoomMapWidget::MouseDown, this, &MainWindow::SectorMapMouseDown);
  connect(roomMap_, &RoomMapWidget::HoverAt, this, &MainWindow::MapHover);
  // The room list's line stays; the room shown for it flips.
  connect(rooms_, &RoomsPanel::AlternatesToggled, this,
          [this] { RoomNumberClick(rooms_->CurrentLine()); });
  connect(comparison_->Dock(), &DifferencesDock::GoTo, this, &MainWindow::GoToPlace);
  connect(comparison_, &LevelComparison::MapChanged, this, &MainWindow::PresentMap);
  connect(comparison_, &LevelComparison::MapChanged, browser_,
          [this] { browser_->MarkChangedRooms(comparison_->ShownChangedRooms()); });
  connect(rooms_, &RoomsPanel::BoxesToggled, this, &MainWindow::PresentMap);
  for (LevelListDock* dock :
       {static_cast<LevelListDock*>(itemsDock_), static_cast<LevelListDock*>(triggersDock_)}) {
    connect(dock, &LevelListDock::GoTo, this, &MainWindow::GoToPlace);
    connect(dock, &QDockWidget::visibilityChanged, this, [this, dock](bool visible) {
      if (visible && staleLists_.contains(dock)) RefreshList(dock, true);
      // A list opened beside a narrow window widens it: it stays on the screen all the same.
      // (A window that reached past the screen before the list came is left as the user has
      // it.)
      if (visible)
        QTimer::singleShot(0, this, [this, dock] {
          if (screen() != nullptr && !dock->isFloating() &&
              frameGeometry().right() - dock->width() <= screen()->availableGeometry().right())
            KeepOnScreen();
        });
    });
    // A list opened from the menu comes to the front, also when it shares its place as a tab.
    connect(dock->toggleViewAction(), &QAction::triggered, dock, [dock](bool shown) {
      if (shown) dock->raise();
    });
  }
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
  connect(new QShortcut(QKeySequence::Delete, roomMap_, nullptr, nullptr, Qt::WidgetShortcut),
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
  const Level& level = doc_.CurrentLevel;
  int usedWidth = kMapSize, usedHeight = kMapSize;
  if (doc_.LevelLoaded && map_.CurrentRoom >= 0 &&
      static_cast<size_t>(map_.CurrentRoom) < level.Rooms.size()) {
    const Room& room = level.Rooms[static_cast<size_t>(map_.CurrentRoom)];
    usedWidth = kSectorPixels * std::clamp<int>(room.NumZSectors, 1, kMaxMapSectors);
    usedHeight = kSectorPixels * std::clamp<int>(room.NumXSectors, 1, kMaxMapSectors);
  }
  const MapImage shown = doc_.LevelLoaded && rooms_->BoxesShown()
                             ? MapWithBoxes(level, doc_.GameVersion, map_)
                             : map_.Shown;
  roomMap_->SetMap(comparison_->Outlined(shown, map_.CurrentRoom), usedWidth, usedHeight);
}

void MainWindow::UpdateTitle() {
  if (!doc_.LevelLoaded) {
    setWindowModified(false);
    setWindowTitle(kWindowTitle);
    return;
  }
  // The toolkit shows "[*]" as the platform's modified mark while the level has unsaved edits.
  setWindowTitle(QString(kWindowTitle) + " [" + Q(doc_.FileTitle) + "][*]");
  setWindowModified(doc_.Modified);
}

void MainWindow::RefreshList(LevelListDock* dock, bool newLevel) {
  // A closed list is filled when it opens: it costs nothing on Open or after an edit.
  if (!dock->isVisible()) {
    staleLists_.insert(dock);
    return;
  }
  if (newLevel || staleLists_.contains(dock))
    dock->SetLevel(doc_, names_, map_.Triggers);
  else
    dock->Refresh();
  staleLists_.erase(dock);
}

void MainWindow::ShowStatus(const std::string& text) {
  if (text.empty()) return;
  statusBar()->showMessage(Q(text), 5000);
}

void MainWindow::UpdateEditMenu() {
  const bool recording = recorder_.DemoRecording;
  const Edit* undo = history_.NextUndo();
  const Edit* redo = history_.NextRedo();
  undoAction_->setText(undo ? Q("Undo " + undo->Caption) : QString("Undo"));
  redoAction_->setText(redo ? Q("Redo " + redo->Caption) : QString("Redo"));
  // While a demo records, the level's demo is the recorder's: nothing is undone under it.
  undoAction_->setEnabled(undo != nullptr && !recording);
  redoAction_->setEnabled(redo != nullptr && !recording);
}

void MainWindow::UpdateLevelActions() {
  const bool loaded = doc_.LevelLoaded;
  const QString refusal = loaded ? Q(LevelSaveRefusal(doc_)) : QString();
  saveAction_->setEnabled(loaded && refusal.isEmpty());
  saveAsAction_->setEnabled(loaded && refusal.isEmpty());
  for (QAction* action : {saveAction_, saveAsAction_}) action->setStatusTip(refusal);
  saveState_->setText(refusal.isEmpty() ? QString() : "Read-only: " + refusal);
  saveState_->setVisible(!refusal.isEmpty());
  demoRecAction_->setEnabled(loaded && !recorder_.DemoRecording);
  demoStopAction_->setEnabled(recorder_.DemoRecording);
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
  if (edit.Kind != EditKind::Demo) {
    RefreshList(itemsDock_, false);
    // A removed item takes its actions along and renumbers the later ones.
    if (edit.Kind == EditKind::Minecart || edit.Kind == EditKind::Wall ||
        edit.Kind == EditKind::ItemRemove)
      RefreshList(triggersDock_, false);
  }
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
  RefreshList(itemsDock_, true);
  RefreshList(triggersDock_, true);
  comparison_->LevelOpened();
  browser_->LevelOpened();
  UpdateTitle();
  UpdateLevelActions();
  UpdateEditMenu();
}

namespace {

// The busy cursor lasts while a level loads, but never over a message: the user has to see
// the pointer to answer it.
class BusyCursor : public MessageSink {
 public:
  explicit BusyCursor(MessageSink& messages) : messages_(messages) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~BusyCursor() override { End(); }
  void End() {
    if (busy_) QApplication::restoreOverrideCursor();
    busy_ = false;
  }
  void Show(std::string_view text, std::string_view title) override {
    End();
    messages_.Show(text, title);
  }
  void ShowDetailed(std::string_view text, std::string_view detail) override {
    End();
    messages_.ShowDetailed(text, detail);
  }
  Answer Ask(std::string_view text, std::string_view title) override {
    End();
    return messages_.Ask(text, title);
  }
  Answer AskDiscard(std::string_view text) override {
    End();
    return messages_.AskDiscard(text);
  }
  void Beep() override { messages_.Beep(); }

 private:
  MessageSink& messages_;
  bool busy_ = true;
};

// The caption tells how far the texture tiles are while they are built. Each showing costs a
// round trip to the window system, so it is shown at most every 50 ms: a fast build shows
// nothing, a slow one its progress.
TileProgress CaptionProgress(QWidget* window) {
  auto shown = std::make_shared<QElapsedTimer>();
  return [window, shown](int row) {
    if (row == 0) return shown->start();
    if (shown->elapsed() < 50) return;
    shown->restart();
    window->setWindowTitle(Q(BuildingTilesCaption(row)));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };
}

}  // namespace

bool MainWindow::OpenLevel(const std::string& path, const std::string& title) {
  // A new level ends a recording made for the old one; drawing starts again.
  recorder_ = DemoRecorder{};
  renderEnabled_ = true;

  // Messages that do not say which file they are about get its name under their text.
  FileMessages aboutFile(services_.Messages, path);
  BusyCursor busy(aboutFile);
  LoadResult result = LoadLevel(path, busy);
  doc_.GameVersion = result.DetectedGame.value_or(doc_.GameVersion);
  if (!result.Loaded) {
    // Nothing of a refused file is kept: there is no level, so nothing can be saved over it.
    busy.End();
    ShowNoLevel();
    RequestFrame();
    return false;
  }
  doc_.CurrentLevel = std::move(result.Lvl);
  doc_.TextureTiles = std::move(result.TextureTiles);
  doc_.LevelLoaded = true;
  history_.Clear();

  if (view3d_ != nullptr) {
    view3d_->LevelOpened(CaptionProgress(this));
    strip_ = TextureStrip{};
    textures_->SetStrip(view3d_->Strip());
  } else {
    strip_ = BuildTextureStrip(doc_.CurrentLevel, doc_.GameVersion, TexelRules::MainWindow,
                               CaptionProgress(this));
    textures_->SetStrip(strip_);
  }

  doc_.FilePath = path;
  doc_.FileTitle = title;
  doc_.Modified = false;
  doc_.LevelLoaded = true;
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
  RefreshList(itemsDock_, true);
  RefreshList(triggersDock_, true);
  comparison_->LevelOpened();
  browser_->LevelOpened();
  recent_->Add(path);
  UpdateLevelActions();
  UpdateEditMenu();
  RequestFrame();
  return true;
}

bool MainWindow::OpenPath(const std::string& path) {
  if (!ConfirmDiscard()) return false;
  return OpenLevel(path, std::filesystem::path(path).filename().string());
}

void MainWindow::MenuFileReload() {
  if (!doc_.LevelLoaded) return ShowStatus(kNoLevelStatus);
  OpenPath(doc_.FilePath);
}

void MainWindow::MenuFileAdjacent(int step) {
  if (!doc_.LevelLoaded) return ShowStatus(kNoLevelStatus);
  const auto next = AdjacentLevelFile(doc_.FilePath, step);
  if (!next)
    return ShowStatus(step < 0 ? "This is the first level of its folder."
                               : "This is the last level of its folder.");
  OpenPath(next->string());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls[0].isLocalFile() &&
      IsLevelFileName(urls[0].toLocalFile().toStdString()))
    event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() != 1 || !urls[0].isLocalFile()) return;
  event->acceptProposedAction();
  OpenPath(urls[0].toLocalFile().toStdString());
}

void MainWindow::MenuFileOpen() {
  if (!ConfirmDiscard()) return;
  const std::optional<FileChoice> choice = services_.Files.ShowOpen(kOpenFilter);
  if (!choice || choice->FileName.empty()) return;
  OpenLevel(choice->FileName, choice->FileTitle);
}

bool MainWindow::SaveNow(bool saveAs) {
  if (!doc_.LevelLoaded) {
    ShowStatus(kNoLevelStatus);
    return false;
  }
  bool saved = false;
  if (recorder_.DemoRecording) {
    // The file gets the demo as Stop would finish it; the recording itself goes on.
    Document finished;
    finished.CurrentLevel = FinishedDemoCopy(recorder_, doc_.CurrentLevel);
    finished.GameVersion = doc_.GameVersion;
    finished.FilePath = doc_.FilePath;
    finished.FileTitle = doc_.FileTitle;
    finished.Modified = true;
    finished.LevelLoaded = doc_.LevelLoaded;
    saved = saveAs ? SaveAsCommand(finished, services_.Files, services_.Messages,
                                   services_.ProgramFolder, services_.Processes)
                   : SaveCommand(finished, services_.Messages, services_.ProgramFolder,
                                 services_.Processes);
    doc_.FilePath = finished.FilePath;
    doc_.FileTitle = finished.FileTitle;
  } else {
    saved = saveAs ? SaveAsCommand(doc_, services_.Files, services_.Messages,
                                   services_.ProgramFolder, services_.Processes)
                   : SaveCommand(doc_, services_.Messages, services_.ProgramFolder,
                                 services_.Processes);
    // The file now holds the level as it stands: undoing back to here is unmodified again.
    if (saved) history_.MarkSaved();
  }
  if (saved) comparison_->LevelSaved();
  if (saved && saveAs) recent_->Add(doc_.FilePath);
  UpdateTitle();
  return saved;
}

bool MainWindow::MenuFileSave() { return SaveNow(false); }
bool MainWindow::MenuFileSaveAs() { return SaveNow(true); }

bool MainWindow::ConfirmDiscard() {
  if (!doc_.Modified) return true;
  // Changes that no save can keep are kept or dropped, never offered a save that refuses.
  const std::string refusal = LevelSaveRefusal(doc_);
  if (!refusal.empty())
    return services_.Messages.AskDiscard(refusal + " Discard the changes to " + doc_.FileTitle +
                                         "?") == Answer::No;
  switch (services_.Messages.Ask(kUnsavedQuestion)) {
    case Answer::Yes:
      return SaveNow(false);  // a failed save keeps the changes open
    case Answer::No:
      return true;
    case Answer::Cancel:
      return false;
  }
  return false;
}

void MainWindow::MenuFileQuit() {
  if (!ConfirmDiscard()) return;
  running_ = false;
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (running_ && !ConfirmDiscard()) {
    event->ignore();
    return;
  }
  running_ = false;
  frameTimer_.stop();
  SavePlacement();
  if (about_) about_->close();
  if (mineCartHelp_) mineCartHelp_->close();
  if (keysHelp_) keysHelp_->close();
  event->accept();
}

// ---- Where the window stands ----

namespace {

constexpr char kGeometryKey[] = "MainWindow/Geometry";
constexpr char kMaximisedKey[] = "MainWindow/Maximised";

// rect moved, and shrunk where it must, to lie inside area; never below least.
QRect FitInside(QRect rect, const QRect& area, const QSize& least) {
  rect.setWidth(std::max(std::min(rect.width(), area.width()), least.width()));
  rect.setHeight(std::max(std::min(rect.height(), area.height()), least.height()));
  rect.moveLeft(
      std::clamp(rect.left(), area.left(), std::max(area.left(), area.right() - rect.width() + 1)));
  rect.moveTop(
      std::clamp(rect.top(), area.top(), std::max(area.top(), area.bottom() - rect.height() + 1)));
  return rect;
}

}  // namespace

void MainWindow::ShowPlaced() {
  const QSettings settings(kSettingsOrganisation, kSettingsApplication);
  const QRect saved = settings.value(kGeometryKey).toRect();
  QScreen* screen = saved.isValid() ? QGuiApplication::screenAt(saved.center()) : nullptr;
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  const QRect area = screen->availableGeometry();
  QRect wanted = saved;
  if (!wanted.isValid()) {
    wanted = QRect(QPoint(), sizeHint());
    wanted.moveCenter(area.center());
  }
  setGeometry(FitInside(wanted, area, minimumSizeHint()));
  if (settings.value(kMaximisedKey, false).toBool())
    showMaximized();
  else
    show();
  // The frame the window system adds is known once the window is shown.
  KeepOnScreen();
}

void MainWindow::KeepOnScreen() {
  if (!isVisible() || isMaximized() || isFullScreen() || screen() == nullptr) return;
  // A frame reaching past the screen's edge would hide the right-hand scroll bars.
  const QRect area = screen()->availableGeometry();
  const QRect frame = frameGeometry();
  if (area.contains(frame)) return;
  const QSize extra = frame.size() - size();
  resize(FitInside(frame, area, minimumSizeHint() + extra).size() - extra);
  move(FitInside(frameGeometry(), area, QSize()).topLeft());
}

void MainWindow::SavePlacement() {
  QSettings settings(kSettingsOrganisation, kSettingsApplication);
  settings.setValue(kGeometryKey, normalGeometry());
  settings.setValue(kMaximisedKey, isMaximized());
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
  if (recorder_.DemoRecording) return;
  if (!doc_.LevelLoaded) {
    ShowStatus(kNoLevelStatus);
    return;
  }
  demoNumBefore_ = doc_.CurrentLevel.NumDemoData;
  demoBefore_ = doc_.CurrentLevel.DemoData;
  const DemoStart start =
      StartDemoRecording(recorder_, doc_.CurrentLevel,
                         DemoDevices{services_.Keyboard, services_.Clock, services_.Messages});
  if (start != DemoStart::Started) return;
  renderEnabled_ = false;
  doc_.Modified = true;
  UpdateTitle();
  UpdateLevelActions();
  UpdateEditMenu();
  if (!frameTimer_.isActive()) frameTimer_.start();
}

void MainWindow::MenuDemoStop() {
  if (!StopDemoRecording(recorder_, doc_.CurrentLevel)) return;
  // The whole recording is one step of the history: undo gives back the demo from before.
  RecordDemoEdit(doc_, history_, demoNumBefore_, std::move(demoBefore_));
  demoBefore_.clear();
  comparison_->LevelEdited();
  // Drawing resumes: the window would otherwise stay frozen after the recording.
  renderEnabled_ = true;
  UpdateTitle();
  UpdateLevelActions();
  UpdateEditMenu();
  RequestFrame();
}

namespace {

// A help window is made on first use and brought to the front after that; closing it deletes
// it, and the guarded pointer then asks for a new one.
template <typename Make>
void ShowHelpWindow(QPointer<QDialog>& window, Make make) {
  if (!window) {
    window = make();
    window->setAttribute(Qt::WA_DeleteOnClose);
  }
  window->show();
  window->raise();
}

}  // namespace

void MainWindow::MenuHelpMineCart() {
  ShowHelpWindow(mineCartHelp_, [this] { return new MineCartHelpWindow(this); });
}

void MainWindow::MenuHelpKeys() {
  ShowHelpWindow(keysHelp_, [this] { return new KeysHelpWindow(KeyLines(), this); });
}

void MainWindow::MenuHelpAbout() {
  ShowHelpWindow(about_, [this] { return new AboutWindow(this); });
}

std::vector<KeyLine> MainWindow::KeyLines() const {
  std::vector<KeyLine> lines;
  // Every menu entry with a shortcut, in menu order, named by its menu.
  for (QAction* menuAction : menuBar()->actions()) {
    const QMenu* menu = menuAction->menu();
    if (menu == nullptr) continue;
    for (QAction* action : menu->actions()) {
      if (action->isSeparator() || action->shortcuts().isEmpty()) continue;
      QStringList keys;
      for (const QKeySequence& shortcut : action->shortcuts())
        keys << shortcut.toString(QKeySequence::NativeText);
      lines.push_back({"Menus", keys.join(", "),
                       PlainCaption(menu->title()) + " > " + PlainCaption(action->text())});
    }
  }
  // The window's own key handler: Ctrl moves the chosen item, the keys alone the 3D camera.
  for (const auto& [qtKey, move] : kMoveKeys)
    lines.push_back(
        {"The chosen item (anywhere in the window except while typing in a text box)",
         QKeySequence(Qt::CTRL | static_cast<Qt::Key>(qtKey)).toString(QKeySequence::NativeText),
         "Move it " + Q(MoveKeyEffect(move))});
  for (const CameraKey& camera : kCameraKeys)
    lines.push_back({"The 3D view (while it shows and no list or text box has the focus)",
                     QKeySequence(camera.Key).toString(QKeySequence::NativeText), camera.What});
  const QString mouse = "The mouse";
  lines.push_back({mouse, "Click on the map", "Select the sector; the 3D view turns to it"});
  lines.push_back({mouse, "Right click on the map",
                   "Go through the sector's portal, else to the room below (with Shift: above)"});
  lines.push_back({mouse, "Wheel on the map", "Zoom the map"});
  lines.push_back({mouse, "Wheel on the textures", "Scroll the texture strip"});
  lines.push_back({mouse, "Click on the level overview", "Choose the room under the pointer"});
  lines.push_back({mouse, "Wheel on the level overview", "Zoom the overview"});
  lines.push_back({"The map (while it has the focus)", "+ / -", "Next / previous room"});
  lines.push_back({"The map or the sector's item list (while it has the focus)",
                   QKeySequence(QKeySequence::Delete).toString(QKeySequence::NativeText),
                   "Remove the chosen item"});
  return lines;
}

// ---- The map and the rooms ----

void MainWindow::SectorMapMouseDown(int button, int shift, int x, int y) {
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

bool MainWindow::MoveKeyPressed(int qtKey) {
  const std::optional<MoveKey> key = MoveKeyFor(qtKey);
  if (!key) return false;
  AfterCommand(MoveCommand(doc_, map_, history_, *key));
  return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == sectorMap_ && event->type() == QEvent::Resize) {
    // Map and 3D view side by side unless the area is clearly taller than wide, so neither
    // becomes a narrow strip. Decided only when the window changes size: a list opened or
    // closed beside them leaves them as they were.
    if (size() == arrangedFor_) return QMainWindow::eventFilter(watched, event);
    arrangedFor_ = size();
    const QSize size = static_cast<QResizeEvent*>(event)->size();
    const Qt::Orientation wanted =
        size.width() * 5 >= size.height() * 4 ? Qt::Horizontal : Qt::Vertical;
    if (sectorMap_->orientation() != wanted) {
      sectorMap_->setOrientation(wanted);
      sectorMap_->setSizes({10000, 10000});
    }
    return QMainWindow::eventFilter(watched, event);
  }
  if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
  auto* widget = qobject_cast<QWidget*>(watched);
  QWidget* focus = QApplication::focusWidget();
  // Only keys meant for this window; dialogs and menus keep theirs.
  if (widget == nullptr || widget->window() != this || (focus && focus->window() != this))
    return QMainWindow::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
  const auto* edit = qobject_cast<const QLineEdit*>(focus);
  const bool editing = edit != nullptr && !edit->isReadOnly();
  const bool inList = qobject_cast<const QAbstractItemView*>(focus) != nullptr ||
                      qobject_cast<const QComboBox*>(focus) != nullptr ||
                      qobject_cast<const QAbstractSpinBox*>(focus) != nullptr;
  if (modifiers == Qt::ControlModifier && !editing && MoveKeyFor(key->key()))
    return MoveKeyPressed(key->key());
  if (modifiers == Qt::NoModifier && !editing && !inList && RightViewIs3D() &&
      IsCameraKey(key->key())) {
    const int code = CameraKeyCode(key->key());
    if (code != 0 && view3d_->OrbitKey(code, 0)) {
      RequestFrame();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::MapHover(int x, int y, QPoint globalPosition) {
  const int a = map_.Table.XAt(x, y), b = map_.Table.ZAt(x, y);
  if (!doc_.LevelLoaded || a == 0 || b == 0) {
    QToolTip::hideText();
    return;
  }
  std::string text =
      SectorTooltip(doc_.CurrentLevel, doc_.GameVersion, names_, map_.CurrentRoom, a - 1, b - 1);
  if (!text.empty() && rooms_->BoxesShown())
    text += "\n" + BoxText(doc_.CurrentLevel, doc_.GameVersion, map_.CurrentRoom, a - 1, b - 1);
  if (text.empty())
    QToolTip::hideText();
  else
    QToolTip::showText(globalPosition, Q(text), roomMap_);
}

void MainWindow::GoToPlace(int room, int a, int b, int entity) {
  if (!doc_.LevelLoaded) return;
  const std::optional<RoomView> view = ChooseRoom(doc_, map_, room);
  if (!view) return;
  rooms_->Show(*view);
  const Room& r = doc_.CurrentLevel.Rooms[static_cast<size_t>(room)];
  if (r.HasSector(a, b)) {
    map_.SelectedSectorX = a;
    map_.SelectedSectorZ = b;
    DrawSelection(map_);
    if (view3d_ != nullptr) view3d_->MapClick(map_.CurrentRoom, a, b, true);
  }
  map_.SelectedEntity = entity;
  if (entity >= 0 && static_cast<size_t>(entity) < doc_.CurrentLevel.Items.size()) {
    map_.NavigationEntity = entity;
    map_.NavigationPosition = 0;
  }
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
    GoToPlace(place.Room, place.SectorX, place.SectorZ, -1);
}

void MainWindow::ItemPicked(int entity) {
  const std::optional<PickPlace> place =
      PlaceOfPick(doc_.CurrentLevel, ScenePick{PickKind::Item, entity});
  if (!place) return;
  itemsDock_->MarkEntity(entity);
  if (place->SectorX >= 0) {
    GoToPicked(*place);
    // Then chosen as a click on its line of the sector's item list chooses it.
    const std::vector<int>& lines = map_.SectorEntities;
    const auto line = std::find(lines.begin(), lines.end(), entity);
    if (line != lines.end()) return items_->ChooseLine(static_cast<int>(line - lines.begin()));
  }
  // Off the room's sectors no line lists it.
  GoToPlace(place->Room, place->SectorX, place->SectorZ, entity);
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
