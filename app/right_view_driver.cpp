#include "app/right_view_driver.h"

#include "app/rooms_panel.h"
#include "app/sector_map_widget.h"
#include "map/overview.h"
#include "preview3d/gl/room3d_view.h"
#include "preview3d/gl/texture_strip_view.h"

namespace slab {

RightViewDriver::RightViewDriver(const Document& doc, const MapState& map, const ObjectNames& names,
                                 const WindowServices& services, Parts parts, FrameLoop& frames)
    : doc_(doc), map_(map), parts_(parts), frames_(frames) {
  if (!services.Enable3D) return;
  view3d_ = new Room3DView(doc_, names, services.Messages, &parts_.RightView);
  view3d_->setObjectName("View3D");
  view3d_->setAccessibleName("3D room view");
  parts_.RightView.SetView3D(view3d_);
  view3d_->LoadMarkers(services.ProgramFolder);
  connect(view3d_, &Room3DView::DeviceFailed, this, &RightViewDriver::Disable3D);
  connect(view3d_, &Room3DView::SectorPicked, this, [this](int a, int b) {
    emit SectorPicked({map_.CurrentRoom, a, b});
  });
  connect(view3d_, &Room3DView::ItemPicked, this, &RightViewDriver::ItemPicked);
  connect(view3d_, &Room3DView::StaticPicked, this, &RightViewDriver::StaticPicked);
}

bool RightViewDriver::Is3D() const {
  return view3d_ != nullptr && !device3dFailed_ && map_.ViewMode == RightPane::Room3D;
}

void RightViewDriver::Draw() {
  if (Is3D()) {
    std::optional<SelectedSector> selected;
    if (map_.SectorSelected) selected = SelectedSector{map_.SelectedSectorX, map_.SelectedSectorZ};
    view3d_->ShowRoom(map_.CurrentRoom, selected, parts_.Rooms.DoorsDrawn());
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
  const int code = CameraKeyCode(qtKey);
  if (code == 0 || !view3d_->OrbitKey(code, 0)) return false;
  frames_.Request();
  return true;
}

void RightViewDriver::SectorChosen(int room, int a, int b) {
  if (view3d_ != nullptr) view3d_->MapClick(room, a, b, true);
}

void RightViewDriver::LevelEdited(EditKind kind) {
  if (view3d_ == nullptr) return;
  if (kind == EditKind::Wall || kind == EditKind::Minecart)
    view3d_->RoomGeometryChanged();
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
