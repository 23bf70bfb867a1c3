#include "app/level_browser.h"

#include <QAction>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>

#include "app/level_lists.h"
#include "app/map_legend_dock.h"
#include "app/sector_map_widget.h"
#include "map/overview.h"

namespace slab {
namespace {
constexpr int kLegendWidth = 440;
}  // namespace

LevelBrowser::LevelBrowser(QMainWindow* window, QMenu* viewMenu, RoomMapWidget* map,
                           RightViewWidget* overview, const Document& doc, const MapState& state,
                           const ObjectNames& names, WindowHooks hooks)
    : QObject(window),
      window_(window),
      map_(map),
      doc_(doc),
      state_(state),
      names_(names),
      hooks_(std::move(hooks)) {
  const std::array<ListDockSpec, kLists> specs{RoomsListSpec(), LightsListSpec(), CamerasListSpec(),
                                               StaticsListSpec(), SoundsListSpec()};
  for (int i = 0; i < kLists; ++i)
    docks_[i] = new LevelListDock(specs[i], doc, names, state.Triggers, window);
  struct Entry {
    const char* Action;
    QKeySequence Keys;
  };
  const std::array<Entry, kLists> entries{{
      {"Mnu_View_Rooms", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)},
      {"Mnu_View_Lights", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L)},
      {"Mnu_View_Cameras", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
      {"Mnu_View_Statics", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M)},
      {"Mnu_View_Sounds", QKeySequence()},
  }};
  for (int i = 0; i < kLists; ++i) {
    LevelListDock* dock = docks_[i];
    // They share the right-hand side as tabs and start closed, as the item lists do.
    window->addDockWidget(Qt::RightDockWidgetArea, dock);
    if (i > 0) window->tabifyDockWidget(docks_[0], dock);
    dock->hide();
    QAction* action = dock->toggleViewAction();
    action->setObjectName(entries[i].Action);
    action->setShortcut(entries[i].Keys);
    viewMenu->addAction(action);
    connect(action, &QAction::triggered, dock, [dock](bool shown) {
      if (shown) dock->raise();
    });
    connect(dock, &LevelListDock::GoTo, this,
            [this](int room, int a, int b, int entity) { hooks_.GoTo(room, a, b, entity); });
  }

  AddLegendAndGoTo(*viewMenu);
  map_->installEventFilter(this);
  connect(overview, &RightViewWidget::PictureClicked, this, &LevelBrowser::OverviewClicked);
  connect(overview, &RightViewWidget::HoverAt, this, [this, overview](int x, int y) {
    const int room =
        doc_.LevelLoaded ? OverviewRoomAt(doc_.CurrentLevel, state_.CurrentRoom, x, y) : -1;
    overview->ShowRoomNumber(room >= 0 ? QString("Room %1").arg(room) : QString());
  });
}

void LevelBrowser::AddLegendAndGoTo(QMenu& viewMenu) {
  legend_ = new MapLegendDock(window_);
  // Docked beside the map with the level lists, so it never covers the map it explains.
  window_->addDockWidget(Qt::RightDockWidgetArea, legend_);
  window_->tabifyDockWidget(docks_[0], legend_);
  legend_->hide();
  QAction* legend = legend_->toggleViewAction();
  legend->setObjectName("Mnu_View_Legend");
  viewMenu.addAction(legend);
  connect(legend, &QAction::triggered, legend_, [this](bool shown) {
    if (!shown) return;
    legend_->raise();
    // Wide enough for its meanings to wrap in a few lines; the map gives up the width.
    if (legend_->width() < kLegendWidth)
      window_->resizeDocks({legend_}, {kLegendWidth}, Qt::Horizontal);
  });

  goToRoom_ = viewMenu.addAction("Go to Room...");
  goToRoom_->setObjectName("Mnu_View_GoToRoom");
  goToRoom_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  connect(goToRoom_, &QAction::triggered, this, &LevelBrowser::AskForRoom);
}

void LevelBrowser::LevelOpened() {
  for (LevelListDock* dock : docks_) dock->LevelChanged(true);
  legend_->ShowGame(doc_.GameVersion);
  if (roomDialog_) roomDialog_->reject();
}

void LevelBrowser::LevelEdited(EditKind kind) {
  switch (kind) {
    case EditKind::Demo:
      return;
    case EditKind::Wall:
    case EditKind::Minecart:
      // The floor data: which rooms and cameras have triggers.
      docks_[Cameras]->LevelChanged(false);
      docks_[Rooms]->LevelChanged(false);
      return;
    case EditKind::StaticAdd:
    case EditKind::StaticRemove:
      docks_[Statics]->LevelChanged(false);
      docks_[Rooms]->LevelChanged(false);
      return;
    default:
      docks_[Rooms]->LevelChanged(false);  // its item counts
      return;
  }
}

void LevelBrowser::MarkStatic(int room, int index) { docks_[Statics]->MarkStatic(room, index); }

void LevelBrowser::MarkChangedRooms(std::optional<std::vector<int>> rooms) {
  docks_[Rooms]->MarkChangedRooms(std::move(rooms));
}

void LevelBrowser::AskForRoom() {
  if (!doc_.LevelLoaded || doc_.CurrentLevel.Rooms.empty()) return;
  if (roomDialog_) {
    roomDialog_->raise();
    roomDialog_->activateWindow();
    return;
  }
  const int last = static_cast<int>(doc_.CurrentLevel.Rooms.size()) - 1;
  auto* dialog = new QInputDialog(window_);
  dialog->setObjectName("GoToRoomDialog");
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle("Go to Room");
  dialog->setInputMode(QInputDialog::IntInput);
  dialog->setLabelText(QString("Room number (0 to %1):").arg(last));
  dialog->setIntRange(0, last);
  dialog->setIntValue(std::clamp(hooks_.RoomRow(), 0, last));
  connect(dialog, &QInputDialog::intValueSelected, this,
          [this](int room) { hooks_.GoTo(room, -1, -1, -1); });
  roomDialog_ = dialog;
  dialog->open();
}

void LevelBrowser::StepRoom(int step) {
  const int rooms = static_cast<int>(doc_.CurrentLevel.Rooms.size());
  const int row = hooks_.RoomRow() + step;
  if (!doc_.LevelLoaded || row < 0 || row >= rooms) return;
  hooks_.ChooseRoomRow(row);
}

bool LevelBrowser::eventFilter(QObject* watched, QEvent* event) {
  if (watched == map_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // Ctrl with them zooms; alone (the keypad's too) they step through the rooms.
    const Qt::KeyboardModifiers modifiers =
        key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (modifiers == Qt::NoModifier) {
      if (key->key() == Qt::Key_Plus) return StepRoom(+1), true;
      if (key->key() == Qt::Key_Minus) return StepRoom(-1), true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void LevelBrowser::OverviewClicked(int x, int y) {
  if (!doc_.LevelLoaded) return;
  // The room seen there, or on a second click the next one under it.
  const int room = OverviewPick(doc_.CurrentLevel, state_.CurrentRoom, x, y);
  if (room >= 0) hooks_.GoTo(room, -1, -1, -1);
}

}  // namespace slab
