#include "preview3d/gl/room3d_view.h"

#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSurfaceFormat>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "preview3d/camera_markers.h"
#include "preview3d/item_faces.h"
#include "preview3d/key_codes.h"
#include "preview3d/room_culling.h"
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
                       TickClock& clock, QWidget* parent)
    : QOpenGLWidget(parent), messages_(messages), clock_(clock), doc_(doc), names_(names) {
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
  roomBuilt_.assign(level.Rooms.size(), false);
  chosen_ = -1;
  linesStale_ = true;
  itemsCached_ = false;
  uploadPending_ = true;
  framePending_ = true;
  glide_.reset();
  lookAfterFraming_.reset();
  cameraKeptFor_ = -1;
}

void Room3DView::ShowRoom(int room, std::optional<SelectedSector> selected, bool drawDoors,
                          bool alternates) {
  const bool sameSelection =
      selected.has_value() == selected_.has_value() &&
      (!selected || (selected->X == selected_->X && selected->Z == selected_->Z));
  if (drawDoors != drawDoors_ || alternates != alternates_) itemsCached_ = false;
  // The highlight lives in the current room's faces: the rooms losing and gaining it again.
  if (room != room_ || !sameSelection) {
    for (const int r : {room, room_})
      if (r >= 0 && static_cast<size_t>(r) < roomBuilt_.size())
        roomBuilt_[static_cast<size_t>(r)] = false;
  }
  const bool newRoom = room != room_;
  if (newRoom || !sameSelection) linesStale_ = true;
  if (newRoom && !wholeLevel_) itemsCached_ = false;
  room_ = room;
  selected_ = selected;
  drawDoors_ = drawDoors;
  alternates_ = alternates;
  if (newRoom && cameraKeptFor_ != room && follows_ && !framePending_) {
    // Turned to the middle of the new room at its floor's height (YBottom), as far off and
    // as steep as before.
    if (const auto box = RoomBox(doc_.CurrentLevel, room)) {
      OrbitCamera to = glide_ ? glide_->To : camera_;
      const float floor =
          -SceneUnits(doc_.CurrentLevel.Rooms[static_cast<size_t>(room)].Info.YBottom);
      LookAt(to, {box->Centre().X, floor, box->Centre().Z});
      GlideTo(to);
    }
  }
  cameraKeptFor_ = -1;
}

double Room3DView::Aspect() const {
  return height() > 0 ? static_cast<double>(width()) / height() : 1.0;
}

void Room3DView::FrameNewRoom() {
  // The heading stays the user's (at first the map's): turning a long room to fit the view
  // would show it another way round than the map and the overview do. The steepness is the
  // one that shows the room best; then far enough back that all of it, a tall room's top
  // too, is in view.
  if (!FrameRoom(camera_, doc_.CurrentLevel, room_, Aspect())) return;
  FrameWholeRoom(camera_, doc_.CurrentLevel, room_, Aspect());
}

void Room3DView::SettleGlide() {
  if (!glide_) return;
  camera_ = GlideAt(*glide_, clock_.NowMs());
  glide_.reset();
}

void Room3DView::GlideTo(const OrbitCamera& to) {
  SettleGlide();
  glide_ = CameraGlide{camera_, to, clock_.NowMs()};
  cameraMoved_ = true;
  update();
  emit FrameWanted();
}

void Room3DView::UserMoved() {
  cameraMoved_ = true;
  update();
}

void Room3DView::TurnTo(int room, int x, int z) {
  if (!follows_ || !ready_) return;
  const auto point = SectorPoint(doc_.CurrentLevel, room, x, z);
  if (!point) return;
  // The room the sector is in is then current: no turn to the room as well.
  cameraKeptFor_ = room;
  if (framePending_) {
    // Chosen before the first frame: the framing looks there then.
    lookAfterFraming_ = *point;
    return;
  }
  OrbitCamera to = glide_ ? glide_->To : camera_;
  LookAt(to, *point);
  GlideTo(to);
}

void Room3DView::KeepCamera(int room) { cameraKeptFor_ = room; }

void Room3DView::SetWholeLevel(bool whole) {
  wholeLevel_ = whole;
  itemsCached_ = false;
  update();
}

void Room3DView::FrameSelection(const CameraSelection& selection) {
  const auto box = SelectionBox(doc_.CurrentLevel, selection);
  if (!box) return FrameCurrentRoom();
  SettleGlide();
  OrbitCamera to = camera_;
  FrameBox(to, *box, Aspect());
  GlideTo(to);
}

void Room3DView::FrameCurrentRoom() {
  SettleGlide();
  OrbitCamera to = camera_;
  if (FrameWholeRoom(to, doc_.CurrentLevel, room_, Aspect())) GlideTo(to);
}

const ItemFaces& Room3DView::ShownItems() {
  if (!itemsCached_) {
    const std::vector<int> rooms =
        wholeLevel_ ? LevelRooms(doc_.CurrentLevel, room_, alternates_) : RoomsNear();
    items_ =
        BuildItemFaces(doc_.CurrentLevel, moveables_, rooms, doc_.GameVersion, strip_.PageCount);
    itemsCached_ = true;
    itemsUploaded_ = false;
    ++itemBuilds_;
  }
  return items_;
}

PickScene Room3DView::Scene() {
  return PickScene{&doc_.CurrentLevel, room_, drawn_, statics_, &ShownItems()};
}

ScenePick Room3DView::PickAt(QPointF at) {
  if (!ready_) return {};
  return PickInScene(camera_, Scene(), width(), height(), at.x(), at.y());
}

void Room3DView::Pick(QPointF at) {
  const ScenePick pick = PickAt(at);
  switch (pick.Kind) {
    case PickKind::Item:
      emit ItemPicked(pick.Entity);
      break;
    case PickKind::Static:
      emit StaticPicked(pick.Room, pick.Static);
      break;
    case PickKind::Sector:
      emit SectorPicked(pick.Room, pick.SectorX, pick.SectorZ);
      break;
    case PickKind::Nothing:
      break;
  }
}

void Room3DView::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  pressedAt_ = dragFrom_ = event->position();
  dragging_ = false;
  if (event->button() == Qt::RightButton) flying_ = false;
}

void Room3DView::mouseMoveEvent(QMouseEvent* event) {
  const Qt::MouseButtons buttons = event->buttons();
  if (buttons == Qt::NoButton) {
    const QPointF at = event->position();
    std::string name = ready_ ? MarkerNameAt(doc_.CurrentLevel, room_, cameraMarkers_, camera_,
                                             width(), height(), at.x(), at.y())
                              : std::string();
    if (name.empty()) name = PickName(doc_.CurrentLevel, doc_.GameVersion, names_, PickAt(at));
    if (name.empty())
      QToolTip::hideText();
    else
      QToolTip::showText(event->globalPosition().toPoint(), QString::fromStdString(name), this);
    return;
  }
  const QPointF at = event->position();
  // A hand's tremor during a click is no drag.
  if (!dragging_ && (at - pressedAt_).manhattanLength() < 4) return;
  dragging_ = true;
  QToolTip::hideText();
  SettleGlide();
  const QPointF step = at - dragFrom_;
  dragFrom_ = at;
  if (buttons & Qt::LeftButton)
    OrbitDrag(camera_, step.x(), step.y());
  else if ((buttons & Qt::RightButton) && flying_)
    LookDrag(camera_, step.x(), step.y());
  else
    PanDrag(camera_, step.x(), step.y(), height());
  UserMoved();
}

void Room3DView::mouseReleaseEvent(QMouseEvent* event) {
  // A click picks; it never moves the camera.
  if (event->button() == Qt::LeftButton && !dragging_) Pick(event->position());
  if (event->buttons() == Qt::NoButton) dragging_ = false;
}

void Room3DView::wheelEvent(QWheelEvent* event) {
  const double steps = event->angleDelta().y() / 120.0;
  if (steps == 0 || !ready_) return event->ignore();
  SettleGlide();
  const QPointF at = event->position();
  if (const auto point = PointUnder(camera_, Scene(), width(), height(), at.x(), at.y())) {
    // A step of the wheel away from the user goes a sixth of the way there.
    DollyAbout(camera_, *point, std::pow(5.0 / 6.0, steps));
    UserMoved();
  }
  event->accept();
}

void Room3DView::resizeGL(int, int) {
  // A camera still framed on the room, as the first framing left it, frames it again for the
  // new shape of the view; one the user has moved stays where it was put.
  if (!cameraMoved_) framePending_ = true;
}

Mat4 Room3DView::MarkerAt(Vec3 at) const { return MarkerMatrix(camera_, at.X, at.Y, at.Z); }

void Room3DView::ShowChosen(int entity) {
  if (entity != chosen_) linesStale_ = true;
  chosen_ = entity;
}

void Room3DView::SetTriggerColour(uint32_t colour) {
  triggerColour_ = colour;
  roomBuilt_.assign(roomBuilt_.size(), false);
}

void Room3DView::ItemsChanged() {
  linesStale_ = true;
  itemsCached_ = false;
  update();
}

void Room3DView::StaticsChanged() {
  RoomGeometryChanged();
  ItemsChanged();
}

void Room3DView::RoomGeometryChanged() {
  linesStale_ = true;
  if (room_ >= 0 && static_cast<size_t>(room_) < roomBuilt_.size())
    roomBuilt_[static_cast<size_t>(room_)] = false;
  update();
}

bool Room3DView::OrbitKey(int keyCode, int shiftState) {
  SettleGlide();
  const bool moved = OrbitCameraKey(camera_, keyCode, shiftState);
  if (moved) {
    PlaceOrbitEye(camera_);
    UserMoved();
  }
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

std::vector<int> Room3DView::RoomsNear() const {
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

std::vector<int> Room3DView::RoomsDrawn() const {
  if (!wholeLevel_ || !ready_) return RoomsNear();
  const Mat4 viewProjection =
      Multiply(OrbitViewMatrix(camera_),
               ProjectionMatrix(kNearPlane, kFarPlane, kFieldOfView, static_cast<float>(Aspect())));
  const Vec3 eye{static_cast<float>(camera_.EyeX), static_cast<float>(camera_.EyeY),
                 static_cast<float>(camera_.EyeZ)};
  return RoomsInView(doc_.CurrentLevel, room_, alternates_, viewProjection, eye);
}

void Room3DView::paintGL() {
  if (deviceFailed_ || !renderer_->Ready()) return;
  if (uploadPending_) {
    renderer_->SetPages(strip_);
    renderer_->SetStaticMeshes(statics_);
    renderer_->SetRoomCount(doc_.CurrentLevel.Rooms.size());
    uploadPending_ = false;
  }
  if (markersPending_) {
    renderer_->SetMarkers(markerPictures_);
    markersPending_ = false;
  }
  const qreal ratio = devicePixelRatioF();
  const int pixelsWide = static_cast<int>(width() * ratio);
  const int pixelsHigh = static_cast<int>(height() * ratio);
  if (!ready_) {
    renderer_->BeginFrame(pixelsWide, pixelsHigh, OrbitViewMatrix(camera_));
    return;
  }
  if (framePending_) {
    framePending_ = false;
    cameraMoved_ = false;
    FrameNewRoom();
    if (lookAfterFraming_) LookAt(camera_, *lookAfterFraming_);
    lookAfterFraming_.reset();
  }
  if (glide_) {
    const int64_t now = clock_.NowMs();
    camera_ = GlideAt(*glide_, now);
    if (now >= glide_->Start + kGlideMs)
      glide_.reset();
    else
      emit FrameWanted();
  }
  PlaceOrbitEye(camera_);
  renderer_->BeginFrame(pixelsWide, pixelsHigh, OrbitViewMatrix(camera_));
  drawn_ = RoomsDrawn();
  // Only the current room carries the highlight; with no sector selected nothing does.
  constexpr SelectedSector kNowhere = kNoSectorSelected;
  for (const int room : drawn_) {
    if (static_cast<size_t>(room) >= roomBuilt_.size() || roomBuilt_[static_cast<size_t>(room)])
      continue;
    renderer_->SetRoomBatches(
        room, RoomBatches(doc_.CurrentLevel, doc_.TextureTiles, room,
                          room == room_ ? selected_.value_or(kNowhere) : kNowhere, triggerColour_,
                          statics_));
    roomBuilt_[static_cast<size_t>(room)] = true;
  }
  ShownItems();
  if (!itemsUploaded_) {
    renderer_->SetItems(items_);
    itemsUploaded_ = true;
  }
  for (const int room : drawn_) renderer_->DrawRoom(room);
  renderer_->DrawItems(MarkerMatrix(camera_, 0, 0, 0));
  if (!drawn_.empty()) {
    for (const RoomLight& light : doc_.CurrentLevel.Rooms[static_cast<size_t>(room_)].Lights)
      renderer_->DrawMarker(Marker::Light, MarkerAt(ScenePosition(light.X, light.Y, light.Z)));
  }
  for (size_t i = 0; i < doc_.CurrentLevel.Cameras.size() && i < cameraMarkers_.size(); ++i) {
    const slab::Camera& c = doc_.CurrentLevel.Cameras[i];
    renderer_->DrawMarker(cameraMarkers_[i], MarkerAt(ScenePosition(c.X, c.Y, c.Z)));
  }
  DrawOverlay(pixelsWide, pixelsHigh, ratio);
}

void Room3DView::DrawOverlay(int pixelsWide, int pixelsHigh, qreal ratio) {
  const Level& level = doc_.CurrentLevel;
  if (linesStale_) {
    lines_.clear();
    if (selected_) lines_ = TriggerLinesFrom(level, room_, selected_->X, selected_->Z);
    if (chosen_ >= 0)
      for (const SceneLine& line : TriggerLinesTo(level, chosen_)) lines_.push_back(line);
    linesStale_ = false;
  }
  QImage picture(pixelsWide, pixelsHigh, QImage::Format_RGBA8888);
  picture.fill(Qt::transparent);
  bool any = false;
  {
    QPainter painter(&picture);
    // Hard edges: the device leaves a texel out or draws it whole.
    painter.setRenderHint(QPainter::Antialiasing, false);
    auto segment = [&](Vec3 a, Vec3 b, const QPen& pen) {
      const auto s = ProjectSegment(camera_, width(), height(), a, b);
      if (!s) return;
      painter.setPen(pen);
      painter.drawLine(QPointF(s->From.X * ratio, s->From.Y * ratio),
                       QPointF(s->To.X * ratio, s->To.Y * ratio));
      any = true;
    };
    const QPen linePen(QColor(255, 255, 0), 2 * ratio);
    for (const SceneLine& line : lines_) segment(line.From, line.To, linePen);
    // The selected sector's floor outlined in white, the chosen item's box in yellow.
    if (selected_) {
      if (const auto middle = SectorPoint(level, room_, selected_->X, selected_->Z)) {
        const QPen outline(QColor(255, 255, 255), 2 * ratio);
        const float y = middle->Y + 0.02f;
        const std::array<Vec3, 4> corners{Vec3{middle->X - 0.5f, y, middle->Z - 0.5f},
                                          Vec3{middle->X + 0.5f, y, middle->Z - 0.5f},
                                          Vec3{middle->X + 0.5f, y, middle->Z + 0.5f},
                                          Vec3{middle->X - 0.5f, y, middle->Z + 0.5f}};
        for (size_t k = 0; k < 4; ++k) segment(corners[k], corners[(k + 1) % 4], outline);
      }
    }
    CameraSelection chosen;
    chosen.Entity = chosen_;
    if (chosen_ >= 0)
      if (const auto box = SelectionBox(level, chosen)) {
        const QPen highlight(QColor(255, 255, 0), 2 * ratio);
        for (int edge = 0; edge < 12; ++edge) {
          // The box's twelve edges: four along each axis.
          const int axis = edge / 4, k = edge % 4;
          auto corner = [&](float along) {
            const float u = (k & 1) ? 1.0f : 0.0f, v = (k & 2) ? 1.0f : 0.0f;
            const std::array<float, 3> t = axis == 0   ? std::array{along, u, v}
                                           : axis == 1 ? std::array{u, along, v}
                                                       : std::array{u, v, along};
            return Vec3{box->Min.X + (box->Max.X - box->Min.X) * t[0],
                        box->Min.Y + (box->Max.Y - box->Min.Y) * t[1],
                        box->Min.Z + (box->Max.Z - box->Min.Z) * t[2]};
          };
          segment(corner(0), corner(1), highlight);
        }
      }
  }
  if (!any) return;
  const auto* texels = reinterpret_cast<const Rgba*>(picture.constBits());
  renderer_->Device().DrawOverlay(
      std::span<const Rgba>(texels,
                            static_cast<size_t>(pixelsWide) * static_cast<size_t>(pixelsHigh)),
      pixelsWide, pixelsHigh);
}

void Room3DView::keyPressEvent(QKeyEvent* event) {
  // Held right button: W, A, S and D fly through the level, a fifth of a sector a step.
  if ((QGuiApplication::mouseButtons() & Qt::RightButton) && event->modifiers() == Qt::NoModifier) {
    constexpr double kFly = 0.2;
    double forward = 0, right = 0;
    switch (event->key()) {
      case Qt::Key_W:
        forward = kFly;
        break;
      case Qt::Key_S:
        forward = -kFly;
        break;
      case Qt::Key_A:
        right = -kFly;
        break;
      case Qt::Key_D:
        right = kFly;
        break;
      default:
        break;
    }
    if (forward != 0 || right != 0) {
      SettleGlide();
      flying_ = true;
      FlyStep(camera_, forward, right);
      return UserMoved();
    }
  }
  const int code = CameraKeyCode(event->key());
  const int shift =
      (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0 ? 1
                                                                                              : 0;
  if (code == 0 || !OrbitKey(code, shift)) QOpenGLWidget::keyPressEvent(event);
}

}  // namespace slab
