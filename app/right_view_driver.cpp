#include "app/right_view_driver.h"

#include <QAction>
#include <QMenu>

#include "app/rooms_panel.h"
#include "app/sector_map_widget.h"
#include "map/draw_room.h"
#include "map/overview.h"
#include "preview3d/gl/room3d_view.h"
#include "preview3d/gl/texture_strip_view.h"

namespace slab {

RightViewDriver::RightViewDriver(const Document& doc, const MapState& map, const ObjectNames& names,
                                 const WindowServices& services, Parts parts, FrameLoop& frames)
    : doc_(doc), map_(map), parts_(parts), frames_(frames) {
  if (!services.Enable3D) return;
  view3d_ = new Room3DView(doc_, names, services.Messages, services.Clock, &parts_.RightView);
  view3d_->setObjectName("View3D");
  view3d_->setAccessibleName("3D room view");
  parts_.RightView.SetView3D(view3d_);
  view3d_->LoadMarkers(services.ProgramFolder);
  // Trigger sectors are tinted in 3D as the map colours them.
  const Rgb trigger = map_colour::kTrigger;
  view3d_->SetTriggerColour((uint32_t{trigger.R} << 16) | (uint32_t{trigger.G} << 8) | trigger.B);
  connect(view3d_, &Room3DView::DeviceFailed, this, &RightViewDriver::Disable3D);
  connect(view3d_, &Room3DView::FrameWanted, &frames_, &FrameLoop::Request);
  // What a click in the view chose is where the camera already looks: it stays.
  connect(view3d_, &Room3DView::SectorPicked, this, [this](int room, int a, int b) {
    Picked([&] { emit SectorPicked({room, a, b}); });
  });
  connect(view3d_, &Room3DView::ItemPicked, this,
          [this](int entity) { Picked([&] { emit ItemPicked(entity); }); });
  connect(view3d_, &Room3DView::StaticPicked, this,
          [this](int room, int index) { Picked([&] { emit StaticPicked(room, index); }); });
}

void RightViewDriver::Picked(const std::function<void()>& choose) {
  picking_ = true;
  choose();
  picking_ = false;
  view3d_->KeepCamera(map_.CurrentRoom);
}

void RightViewDriver::AddMenuEntries(QMenu& viewMenu) {
  if (view3d_ == nullptr) return;
  viewMenu.addSeparator();
  auto* follows = viewMenu.addAction("3D View Follows Selection");
  follows->setObjectName("Mnu_View_Follows3D");
  follows->setCheckable(true);
  follows->setChecked(true);
  connect(follows, &QAction::toggled, view3d_, &Room3DView::SetFollowsSelection);
  auto* whole = viewMenu.addAction("Whole Level");
  whole->setObjectName("Mnu_View_WholeLevel");
  whole->setCheckable(true);
  whole->setChecked(true);
  connect(whole, &QAction::toggled, this, [this](bool on) {
    view3d_->SetWholeLevel(on);
    frames_.Request();
  });
}

bool RightViewDriver::Is3D() const {
  return view3d_ != nullptr && !device3dFailed_ && map_.ViewMode == RightPane::Room3D;
}

void RightViewDriver::Draw() {
  if (Is3D()) {
    std::optional<SelectedSector> selected;
    if (map_.SectorSelected) selected = SelectedSector{map_.SelectedSectorX, map_.SelectedSectorZ};
    view3d_->ShowRoom(map_.CurrentRoom, selected, parts_.Rooms.DoorsDrawn(),
                      parts_.Rooms.AlternatesShown());
    view3d_->ShowChosen(map_.SelectedEntity);
    view3d_->update();
    return;
  }
  parts_.RightView.SetOverview(DrawLevelOverview(doc_.CurrentLevel, map_.CurrentRoom));
}

void RightViewDriver::ViewModeChanged() {
  if (view3d_ != nullptr) view3d_->setVisible(Is3D());
  parts_.RightView.update();
  frames_.Request();
}

bool RightViewDriver::CameraKey(int qtKey) {
  if (!Is3D()) return false;
  if (qtKey == Qt::Key_F || qtKey == Qt::Key_Home) {
    if (qtKey == Qt::Key_Home) {
      view3d_->FrameCurrentRoom();
    } else {
      CameraSelection selection;
      selection.Room = map_.CurrentRoom;
      selection.Entity = map_.SelectedEntity;
      selection.Static = map_.SelectedStatic;
      if (map_.SectorSelected) selection.Sector = {map_.SelectedSectorX, map_.SelectedSectorZ};
      view3d_->FrameSelection(selection);
    }
    frames_.Request();
    return true;
  }
  const int code = CameraKeyCode(qtKey);
  if (code == 0 || !view3d_->OrbitKey(code, 0)) return false;
  frames_.Request();
  return true;
}

void RightViewDriver::SectorChosen(int room, int a, int b) {
  if (view3d_ != nullptr && !picking_) view3d_->TurnTo(room, a, b);
}

void RightViewDriver::LevelEdited(EditKind kind) {
  if (view3d_ == nullptr) return;
  if (kind == EditKind::Wall || kind == EditKind::Minecart)
    view3d_->RoomGeometryChanged();
  else if (kind == EditKind::StaticAdd || kind == EditKind::StaticRemove)
    view3d_->StaticsChanged();
  else if (kind != EditKind::Demo)
    view3d_->ItemsChanged();
}

void RightViewDriver::LevelOpened(const TileProgress& progress) {
  if (view3d_ != nullptr) {
    view3d_->LevelOpened(progress);
    strip_ = TextureStrip{};
    parts_.Textures.SetStrip(view3d_->Strip());
  } else {
    strip_ =
        BuildTextureStrip(doc_.CurrentLevel, doc_.GameVersion, TexelRules::MainWindow, progress);
    parts_.Textures.SetStrip(strip_);
  }
}

void RightViewDriver::LevelClosed() {
  if (view3d_ != nullptr) view3d_->LevelOpened();
  strip_ = TextureStrip{};
  parts_.Textures.SetStrip(strip_);
  parts_.RightView.SetOverview(DrawLevelOverview(doc_.CurrentLevel, 0));
}

void RightViewDriver::Disable3D() {
  device3dFailed_ = true;
  if (view3d_ != nullptr) view3d_->hide();
  frames_.Request();
}

}  // namespace slab
