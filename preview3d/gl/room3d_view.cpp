#include "preview3d/gl/room3d_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSurfaceFormat>
#include <QToolTip>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "preview3d/camera_markers.h"
#include "preview3d/item_faces.h"
#include "preview3d/key_codes.h"
#include "preview3d/room_framing.h"
#include "preview3d/scene_units.h"

namespace slab {

int CameraKeyCode(int qtKey) {
  static constexpr std::array<std::pair<int, int>, 8> kCodes{{{Qt::Key_PageUp, kKeyPageUp},
                                                              {Qt::Key_PageDown, kKeyPageDown},
                                                              {Qt::Key_Left, kKeyLeft},
                                                              {Qt::Key_Up, kKeyUp},
                                                              {Qt::Key_Right, kKeyRight},
                                                              {Qt::Key_Down, kKeyDown},
                                                              {Qt::Key_A, kKeyA},
                                                              {Qt::Key_Z, kKeyZ}}};
  for (const auto& [key, code] : kCodes)
    if (key == qtKey) return code;
  return 0;
}

QSurfaceFormat PreviewFormat() {
  QSurfaceFormat format;
  format.setVersion(3, 3);
  format.setProfile(QSurfaceFormat::CoreProfile);
  format.setDepthBufferSize(24);
  return format;
}

Room3DView::Room3DView(const Document& doc, const ObjectNames& names, MessageSink& messages,
                       QWidget* parent)
    : QOpenGLWidget(parent), messages_(messages), doc_(doc), names_(names) {
  setFormat(PreviewFormat());
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);  // the tooltip names what the pointer rests on
}

Room3DView::~Room3DView() {
  makeCurrent();
  renderer_.reset();
  doneCurrent();
}

void Room3DView::LevelOpened(const TileProgress& progress) {
  // Nothing is drawn until the meshes belong to the new level (the progress lets window
  // events, paints among them, run meanwhile).
  ready_ = false;
  const Level& level = doc_.CurrentLevel;
  strip_ = BuildTextureStrip(level, doc_.GameVersion, TexelRules::MainWindow, progress);
  statics_ = BuildStaticMeshes(level, doc_.TextureTiles, doc_.GameVersion, messages_);
  moveables_ = BuildMoveableMeshes(level, doc_.TextureTiles, doc_.GameVersion, messages_);
  cameraMarkers_ = CameraMarkers(level);
  ready_ = doc_.LevelLoaded;
  room_ = 0;
  selected_.reset();
  facesCached_ = false;
  itemsCached_ = false;
  uploadPending_ = true;
  framePending_ = true;
  focusChosen_.reset();
}

void Room3DView::ShowRoom(int room, std::optional<SelectedSector> selected, bool drawDoors) {
  const bool sameSelection =
      selected.has_value() == selected_.has_value() &&
      (!selected || (selected->X == selected_->X && selected->Z == selected_->Z));
  if (room != room_) framePending_ = true;
  if (room != room_ || drawDoors != drawDoors_) itemsCached_ = false;
  if (room != room_ || drawDoors != drawDoors_ || !sameSelection) facesCached_ = false;
  room_ = room;
  selected_ = selected;
  drawDoors_ = drawDoors;
}

void Room3DView::FrameNewRoom() {
  const double aspect = height() > 0 ? static_cast<double>(width()) / height() : 1.0;
  // The heading stays the user's (at first the map's): turning a long room to fit the view
  // would show it another way round than the map and the overview do.
  if (!FrameRoom(camera_, doc_.CurrentLevel, room_, aspect)) return;
  // Then nearer while the floor's outline still fits: the floor is what the map shows, and
  // tall walls or a high ceiling may leave the picture at the top.
  const Room& room = doc_.CurrentLevel.Rooms[static_cast<size_t>(room_)];
  const float x0 = SceneUnits(room.Info.X), z0 = SceneUnits(room.Info.Z);
  const float x1 = x0 + room.NumXSectors, z1 = z0 + room.NumZSectors;
  const auto y = static_cast<float>(camera_.TargetY);
  auto fits = [&](const OrbitCamera& c) {
    for (const Vec3 corner : {Vec3{x0, y, z0}, Vec3{x0, y, z1}, Vec3{x1, y, z0}, Vec3{x1, y, z1}}) {
      const auto p = ProjectPoint(c, width(), height(), corner);
      if (!p || p->X < 0.04 * width() || p->X > 0.96 * width() || p->Y < 0.04 * height() ||
          p->Y > 0.96 * height())
        return false;
    }
    return true;
  };
  // Seen from at least this steep, the floor stays in sight over the near walls wherever the
  // camera is turned to afterwards; from farther back first, so the floor's outline fits.
  constexpr double kLeastTilt = 0.9;
  if (camera_.AngleB < kLeastTilt) {
    camera_.AngleB = kLeastTilt;
    camera_.Distance *= 2;
    PlaceOrbitEye(camera_);
  }
  for (int step = 0; step < 40; ++step) {
    OrbitCamera nearer = camera_;
    nearer.Distance *= 0.92;
    PlaceOrbitEye(nearer);
    if (!fits(nearer)) break;
    camera_ = nearer;
  }
}

void Room3DView::MapClick(int room, int x, int z, bool altHeld) {
  OrbitCameraClick(camera_, x, z, altHeld);
  if (altHeld) focusChosen_ = ChosenFocus{room, {x, z}};
}

const ItemFaces& Room3DView::ShownItems() {
  if (!itemsCached_) {
    items_ = BuildItemFaces(doc_.CurrentLevel, moveables_, RoomsShown(), doc_.GameVersion,
                            strip_.PageCount);
    itemsCached_ = true;
    itemsUploaded_ = false;
    ++itemBuilds_;
  }
  return items_;
}

ScenePick Room3DView::PickAt(QPointF at) {
  if (!ready_) return {};
  const std::vector<int> rooms = RoomsShown();
  const PickScene scene{&doc_.CurrentLevel, room_, rooms, statics_, &ShownItems()};
  return PickInScene(camera_, scene, width(), height(), at.x(), at.y());
}

void Room3DView::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  if (event->button() != Qt::LeftButton) return;
  const ScenePick pick = PickAt(event->position());
  switch (pick.Kind) {
    case PickKind::Item:
      emit ItemPicked(pick.Entity);
      break;
    case PickKind::Static:
      emit StaticPicked(pick.Room, pick.Static);
      break;
    case PickKind::Sector:
      emit SectorPicked(pick.SectorX, pick.SectorZ);
      break;
    case PickKind::Nothing:
      break;
  }
}

void Room3DView::mouseMoveEvent(QMouseEvent* event) {
  // While a button is held the user is not asking what is there.
  if (event->buttons() != Qt::NoButton) return QOpenGLWidget::mouseMoveEvent(event);
  const std::string name =
      PickName(doc_.CurrentLevel, doc_.GameVersion, names_, PickAt(event->position()));
  if (name.empty())
    QToolTip::hideText();
  else
    QToolTip::showText(event->globalPosition().toPoint(), QString::fromStdString(name), this);
}

void Room3DView::resizeGL(int, int) {
  // A camera still framed on the room, as the framing left it, frames it again for the new
  // shape of the view; one the user has turned or moved stays where it was put.
  if (camera_.RoomFramed && !cameraMoved_) framePending_ = true;
}

Mat4 Room3DView::MarkerAt(Vec3 at) const { return MarkerMatrix(camera_, at.X, at.Y, at.Z); }

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
  cameraMoved_ = cameraMoved_ || moved;
  if (moved) update();
  return moved;
}

void Room3DView::LoadMarkers(const std::filesystem::path& folder) {
  markerPictures_ = LoadMarkerPictures(folder, messages_);
  markersPending_ = true;
}

void Room3DView::initializeGL() {
  if (!renderer_->Initialise(messages_)) {
    deviceFailed_ = true;
    emit DeviceFailed();
  }
}

std::vector<int> Room3DView::RoomsShown() const {
  std::vector<int> rooms;
  if (!ready_ || room_ < 0 || static_cast<size_t>(room_) >= doc_.CurrentLevel.Rooms.size())
    return rooms;
  rooms.push_back(room_);
  if (drawDoors_) {
    for (const Portal& portal : doc_.CurrentLevel.Rooms[static_cast<size_t>(room_)].Portals) {
      const int adjoining = portal.AdjoiningRoom;
      if (std::find(rooms.begin(), rooms.end(), adjoining) == rooms.end() &&
          static_cast<size_t>(adjoining) < doc_.CurrentLevel.Rooms.size())
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
  if (!ready_) {
    renderer_->BeginFrame(static_cast<int>(width() * ratio), static_cast<int>(height() * ratio),
                          OrbitViewMatrix(camera_));
    return;
  }
  if (framePending_) {
    framePending_ = false;
    cameraMoved_ = false;
    FrameNewRoom();
    if (focusChosen_ && focusChosen_->Room == room_)
      OrbitCameraClick(camera_, focusChosen_->Sector.X, focusChosen_->Sector.Z, true);
    focusChosen_.reset();
  }
  // With nothing selected the target's height comes from the focus sector, not from the
  // room's corner (a wall).
  const SelectedSector floor = selected_.value_or(SelectedSector{camera_.FocusX, camera_.FocusZ});
  UpdateOrbitCamera(camera_, doc_.CurrentLevel, room_, floor.X, floor.Z);
  renderer_->BeginFrame(static_cast<int>(width() * ratio), static_cast<int>(height() * ratio),
                        OrbitViewMatrix(camera_));
  const std::vector<int> rooms = RoomsShown();
  if (!facesCached_) {
    RoomFaceList list;
    // Only the current room carries the highlight; with no sector selected nothing does.
    constexpr SelectedSector kNowhere{-1000000, -1000000};
    for (int room : rooms)
      BuildRoomFaces(doc_.CurrentLevel, doc_.TextureTiles, room,
                     room == room_ ? selected_.value_or(kNowhere) : kNowhere, list);
    renderer_->SetRoomFaces(doc_.CurrentLevel, list);
    facesCached_ = true;
  }
  ShownItems();
  if (!itemsUploaded_) {
    renderer_->SetItems(items_);
    itemsUploaded_ = true;
  }
  renderer_->DrawRooms();
  for (int room : rooms) renderer_->DrawRoomStatics(doc_.CurrentLevel, room);
  renderer_->DrawItems(MarkerMatrix(camera_, 0, 0, 0));
  if (!rooms.empty()) {
    for (const RoomLight& light : doc_.CurrentLevel.Rooms[static_cast<size_t>(room_)].Lights)
      renderer_->DrawMarker(Marker::Light, MarkerAt(ScenePosition(light.X, light.Y, light.Z)));
  }
  for (size_t i = 0; i < doc_.CurrentLevel.Cameras.size() && i < cameraMarkers_.size(); ++i) {
    const slab::Camera& c = doc_.CurrentLevel.Cameras[i];
    renderer_->DrawMarker(cameraMarkers_[i], MarkerAt(ScenePosition(c.X, c.Y, c.Z)));
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
