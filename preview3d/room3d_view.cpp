#include "preview3d/room3d_view.h"

#include <QKeyEvent>
#include <QSurfaceFormat>
#include <algorithm>

#include "preview3d/camera_markers.h"
#include "preview3d/item_faces.h"
#include "preview3d/key_codes.h"

namespace slab {

int CameraKeyCode(int qtKey) {
  switch (qtKey) {
    case Qt::Key_PageUp:
      return kKeyPageUp;
    case Qt::Key_PageDown:
      return kKeyPageDown;
    case Qt::Key_Left:
      return kKeyLeft;
    case Qt::Key_Up:
      return kKeyUp;
    case Qt::Key_Right:
      return kKeyRight;
    case Qt::Key_Down:
      return kKeyDown;
    case Qt::Key_A:
      return kKeyA;
    case Qt::Key_Z:
      return kKeyZ;
    default:
      return 0;
  }
}

QSurfaceFormat PreviewFormat() {
  QSurfaceFormat format;
  format.setVersion(3, 3);
  format.setProfile(QSurfaceFormat::CoreProfile);
  format.setDepthBufferSize(24);
  return format;
}

Room3DView::Room3DView(MessageSink& messages, QWidget* parent)
    : QOpenGLWidget(parent), messages_(messages) {
  setFormat(PreviewFormat());
  setFocusPolicy(Qt::StrongFocus);
}

Room3DView::~Room3DView() {
  makeCurrent();
  renderer_.reset();
  doneCurrent();
}

void Room3DView::SetLevel(const Level& level, std::vector<TextureTile> tiles, int gameVersion,
                          TileProgress progress, void* context) {
  level_ = &level;
  tiles_ = std::move(tiles);
  gameVersion_ = gameVersion;
  strip_ = BuildTextureStrip(level, gameVersion, TexelRules::MainWindow, progress, context);
  statics_ = BuildStaticMeshes(level, tiles_, gameVersion, messages_);
  moveables_ = BuildMoveableMeshes(level, tiles_, gameVersion, messages_);
  cameraMarkers_ = CameraMarkers(level);
  room_ = 0;
  selected_.reset();
  facesCached_ = false;
  itemsCached_ = false;
  uploadPending_ = true;
}

void Room3DView::ShowRoom(int room, std::optional<SelectedSector> selected, bool drawDoors) {
  const bool sameSelection =
      selected.has_value() == selected_.has_value() &&
      (!selected || (selected->X == selected_->X && selected->Z == selected_->Z));
  if (room != room_ || drawDoors != drawDoors_) itemsCached_ = false;
  if (room != room_ || drawDoors != drawDoors_ || !sameSelection) facesCached_ = false;
  room_ = room;
  selected_ = selected;
  drawDoors_ = drawDoors;
}

void Room3DView::ItemsChanged() {
  itemsCached_ = false;
  update();
}

void Room3DView::RoomGeometryChanged() {
  facesCached_ = false;
  update();
}

bool Room3DView::OrbitKey(int keyCode, int shiftState) {
  const bool moved = OrbitCameraKey(camera_, keyCode, shiftState);
  if (moved) update();
  return moved;
}

void Room3DView::LoadMarkers(const std::filesystem::path& folder) {
  markerPictures_ = LoadMarkerPictures(folder, messages_);
  markersPending_ = true;
}

void Room3DView::initializeGL() {
  std::string error;
  if (!renderer_->Initialise(error)) {
    deviceFailed_ = true;
    messages_.Show(std::string(kNoDeviceMessage) + " - " + error, kNoDeviceTitle);
    emit DeviceFailed();
  }
}

std::vector<int> Room3DView::RoomsShown() const {
  std::vector<int> rooms;
  if (level_ == nullptr || room_ < 0 || static_cast<size_t>(room_) >= level_->Rooms.size())
    return rooms;
  rooms.push_back(room_);
  if (drawDoors_) {
    for (const Portal& portal : level_->Rooms[static_cast<size_t>(room_)].Portals) {
      const int adjoining = portal.AdjoiningRoom;
      if (std::find(rooms.begin(), rooms.end(), adjoining) == rooms.end() &&
          static_cast<size_t>(adjoining) < level_->Rooms.size())
        rooms.push_back(adjoining);
    }
  }
  return rooms;
}

void Room3DView::paintGL() {
  if (deviceFailed_ || !renderer_->Ready()) return;
  if (uploadPending_) {
    renderer_->SetPages(strip_);
    renderer_->SetStaticMeshes(statics_);
    uploadPending_ = false;
  }
  if (markersPending_) {
    renderer_->SetMarkers(markerPictures_);
    markersPending_ = false;
  }
  const qreal ratio = devicePixelRatioF();
  if (level_ == nullptr) {
    renderer_->BeginFrame(static_cast<int>(width() * ratio), static_cast<int>(height() * ratio),
                          OrbitViewMatrix(camera_));
    return;
  }
  const SelectedSector focus = selected_.value_or(SelectedSector{});
  UpdateOrbitCamera(camera_, *level_, room_, focus.X, focus.Z);
  renderer_->BeginFrame(static_cast<int>(width() * ratio), static_cast<int>(height() * ratio),
                        OrbitViewMatrix(camera_));
  const std::vector<int> rooms = RoomsShown();
  if (!facesCached_) {
    RoomFaceList list;
    // Only the current room carries the highlight; with no sector selected nothing does.
    constexpr SelectedSector kNowhere{-1000000, -1000000};
    for (int room : rooms)
      BuildRoomFaces(*level_, tiles_, room, room == room_ ? selected_.value_or(kNowhere) : kNowhere,
                     list);
    renderer_->SetRoomFaces(*level_, list);
    facesCached_ = true;
  }
  if (!itemsCached_) {
    renderer_->SetItems(BuildItemFaces(*level_, moveables_, rooms, gameVersion_, strip_.PageCount));
    itemsCached_ = true;
    ++itemBuilds_;
  }
  renderer_->DrawRooms();
  for (int room : rooms) renderer_->DrawRoomStatics(*level_, room);
  renderer_->DrawItems(MarkerMatrix(camera_, 0, 0, 0));
  if (!rooms.empty()) {
    for (const RoomLight& light : level_->Rooms[static_cast<size_t>(room_)].Lights)
      renderer_->DrawMarker(Marker::Light,
                            MarkerMatrix(camera_, static_cast<float>(light.X) / 1024.0f,
                                         -static_cast<float>(light.Y) / 1024.0f,
                                         static_cast<float>(light.Z) / 1024.0f));
  }
  for (size_t i = 0; i < level_->Cameras.size() && i < cameraMarkers_.size(); ++i) {
    const slab::Camera& c = level_->Cameras[i];
    renderer_->DrawMarker(
        cameraMarkers_[i],
        MarkerMatrix(camera_, static_cast<float>(c.X) / 1024.0f, -static_cast<float>(c.Y) / 1024.0f,
                     static_cast<float>(c.Z) / 1024.0f));
  }
}

void Room3DView::keyPressEvent(QKeyEvent* event) {
  const int code = CameraKeyCode(event->key());
  const int shift =
      (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0 ? 1
                                                                                              : 0;
  if (code == 0 || !OrbitKey(code, shift)) QOpenGLWidget::keyPressEvent(event);
}

}  // namespace slab
