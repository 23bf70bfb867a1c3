#include "preview3d/camera_moves.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "preview3d/scene_units.h"

namespace slab {
namespace {

struct Axes {
  Vec3 Right, Up, Forward;
};
// The camera's axes as drawing sees them: the view matrix's columns.
Axes AxesOf(const OrbitCamera& camera) {
  OrbitCamera placed = camera;
  PlaceOrbitEye(placed);
  const Mat4 m = OrbitViewMatrix(placed);
  auto column = [&](size_t c) { return Vec3{m.M[0][c], m.M[1][c], m.M[2][c]}; };
  return {column(0), column(1), column(2)};
}

double Dot(Vec3 a, Vec3 b) {
  return static_cast<double>(a.X) * b.X + static_cast<double>(a.Y) * b.Y +
         static_cast<double>(a.Z) * b.Z;
}

void MoveTarget(OrbitCamera& camera, Vec3 along, double by) {
  camera.TargetX += along.X * by;
  camera.TargetY += along.Y * by;
  camera.TargetZ += along.Z * by;
}

double WrapTurn(double angle) {
  angle = std::fmod(angle, kOrbitTurn);
  return angle < 0 ? angle + kOrbitTurn : angle;
}

// About a hundredth of a radian a pixel: a drag across a usual view turns a good half turn.
constexpr double kTurnPerPixel = 0.01;

}  // namespace

void OrbitDrag(OrbitCamera& camera, double dx, double dy) {
  camera.AngleA = WrapTurn(camera.AngleA + dx * kTurnPerPixel);
  camera.AngleB = std::clamp(camera.AngleB + dy * kTurnPerPixel, -kMaxTilt, kMaxTilt);
  PlaceOrbitEye(camera);
}

void PanDrag(OrbitCamera& camera, double dx, double dy, int height) {
  if (height <= 0) return;
  const Axes axes = AxesOf(camera);
  // A pixel's size at the target's depth, in a view 90 degrees high.
  const double perPixel =
      2 * camera.Distance * std::tan(static_cast<double>(kFieldOfView) / 2) / height;
  MoveTarget(camera, axes.Right, -dx * perPixel);
  MoveTarget(camera, axes.Up, dy * perPixel);
  PlaceOrbitEye(camera);
}

void DollyAbout(OrbitCamera& camera, Vec3 point, double factor) {
  if (!(factor > 0) || camera.Distance <= 0) return;
  factor = std::clamp(camera.Distance * factor, kLeastDistance, kMostDistance) / camera.Distance;
  camera.TargetX = point.X + (camera.TargetX - point.X) * factor;
  camera.TargetY = point.Y + (camera.TargetY - point.Y) * factor;
  camera.TargetZ = point.Z + (camera.TargetZ - point.Z) * factor;
  camera.Distance *= factor;
  PlaceOrbitEye(camera);
}

void LookDrag(OrbitCamera& camera, double dx, double dy) {
  PlaceOrbitEye(camera);
  const double eyeX = camera.EyeX, eyeY = camera.EyeY, eyeZ = camera.EyeZ;
  // Turning about the eye is turning about the target the other way, then the target moved
  // back in front of the eye.
  OrbitDrag(camera, -dx, -dy);
  const double d = camera.Distance;
  camera.TargetX = eyeX + d * std::sin(camera.AngleA) * std::cos(camera.AngleB);
  camera.TargetY = eyeY - d * std::sin(camera.AngleB);
  camera.TargetZ = eyeZ + d * std::cos(camera.AngleA) * std::cos(camera.AngleB);
  PlaceOrbitEye(camera);
}

void FlyStep(OrbitCamera& camera, double forward, double right) {
  const Axes axes = AxesOf(camera);
  MoveTarget(camera, axes.Forward, forward);
  MoveTarget(camera, axes.Right, right);
  PlaceOrbitEye(camera);
}

void LookAt(OrbitCamera& camera, Vec3 point) {
  camera.TargetX = point.X;
  camera.TargetY = point.Y;
  camera.TargetZ = point.Z;
  PlaceOrbitEye(camera);
}

void FitPoints(OrbitCamera& camera, std::span<const Vec3> points, double aspect, double least) {
  const Axes axes = AxesOf(camera);
  // Nine tenths of the half-width and half-height: a margin round what must show.
  const double high = 0.9 * std::tan(static_cast<double>(kFieldOfView) / 2);
  const double wide = high * (aspect > 0 ? aspect : 1.0);
  double needed = least;
  for (const Vec3 point : points) {
    const Vec3 p{static_cast<float>(point.X - camera.TargetX),
                 static_cast<float>(point.Y - camera.TargetY),
                 static_cast<float>(point.Z - camera.TargetZ)};
    // p lies at depth p.f + d before the eye; it shows when |p.r| <= wide * depth and
    // |p.u| <= high * depth, and not nearer than the near plane.
    const double ahead = Dot(p, axes.Forward);
    needed = std::max({needed, std::abs(Dot(p, axes.Right)) / wide - ahead,
                       std::abs(Dot(p, axes.Up)) / high - ahead, 2 * kNearPlane - ahead});
  }
  camera.Distance = needed;
  PlaceOrbitEye(camera);
}

std::optional<SceneBox> RoomBox(const Level& level, int room) {
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return std::nullopt;
  const Room& r = level.Rooms[static_cast<size_t>(room)];
  SceneBox box;
  box.Min = {SceneUnits(r.Info.X), -SceneUnits(r.Info.YBottom), SceneUnits(r.Info.Z)};
  box.Max = {box.Min.X + r.NumXSectors, -SceneUnits(r.Info.YTop), box.Min.Z + r.NumZSectors};
  if (!r.Vertices.empty()) {
    box.Min.Y = box.Max.Y = -SceneUnits(r.Vertices.front().Y);
    for (const RoomVertex& v : r.Vertices) {
      box.Min.Y = std::min(box.Min.Y, -SceneUnits(v.Y));
      box.Max.Y = std::max(box.Max.Y, -SceneUnits(v.Y));
    }
  }
  return box;
}

namespace {
std::array<Vec3, 8> Corners(const SceneBox& box) {
  std::array<Vec3, 8> corners;
  for (size_t i = 0; i < corners.size(); ++i)
    corners[i] = {(i & 1) ? box.Max.X : box.Min.X, (i & 2) ? box.Max.Y : box.Min.Y,
                  (i & 4) ? box.Max.Z : box.Min.Z};
  return corners;
}
}  // namespace

bool FrameWholeRoom(OrbitCamera& camera, const Level& level, int room, double aspect) {
  const std::optional<SceneBox> box = RoomBox(level, room);
  if (!box) return false;
  LookAt(camera, box->Centre());
  const auto corners = Corners(*box);
  FitPoints(camera, corners, aspect, kLeastDistance);
  return true;
}

void FrameBox(OrbitCamera& camera, const SceneBox& box, double aspect) {
  LookAt(camera, box.Centre());
  const auto corners = Corners(box);
  FitPoints(camera, corners, aspect, 1.5);
}

std::optional<Vec3> SectorPoint(const Level& level, int room, int x, int z) {
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return std::nullopt;
  const Room& r = level.Rooms[static_cast<size_t>(room)];
  if (!r.HasSector(x, z)) return std::nullopt;
  const Sector& sector = r.SectorAt(x, z);
  const double y = HasFloor(sector) ? FloorHeight(sector) : -r.Info.YBottom / double{kSectorUnits};
  return Vec3{SceneUnits(r.Info.X) + static_cast<float>(x) + 0.5f, static_cast<float>(y),
              SceneUnits(r.Info.Z) + static_cast<float>(z) + 0.5f};
}

std::optional<SceneBox> SelectionBox(const Level& level, const CameraSelection& selection) {
  // A thing stands on its point: a sector wide about it and a sector high above it.
  auto around = [](Vec3 at) {
    return SceneBox{{at.X - 0.5f, at.Y, at.Z - 0.5f}, {at.X + 0.5f, at.Y + 1, at.Z + 0.5f}};
  };
  const auto items = static_cast<int64_t>(level.Items.size());
  if (selection.Entity >= 0 && selection.Entity < items) {
    const Item& item = level.Items[static_cast<size_t>(selection.Entity)];
    return around(ScenePosition(item.X, item.Y, item.Z));
  }
  if (selection.Entity >= items &&
      selection.Entity - items < static_cast<int64_t>(level.AIObjects.size())) {
    const AIObject& ai = level.AIObjects[static_cast<size_t>(selection.Entity - items)];
    return around(ScenePosition(ai.X, ai.Y, ai.Z));
  }
  if (selection.Room < 0 || static_cast<size_t>(selection.Room) >= level.Rooms.size())
    return std::nullopt;
  const auto& statics = level.Rooms[static_cast<size_t>(selection.Room)].StaticMeshes;
  if (selection.Static >= 0 && static_cast<size_t>(selection.Static) < statics.size()) {
    const RoomStatic& s = statics[static_cast<size_t>(selection.Static)];
    return around(ScenePosition(s.X, s.Y, s.Z));
  }
  if (!selection.Sector) return std::nullopt;
  const auto point =
      SectorPoint(level, selection.Room, selection.Sector->first, selection.Sector->second);
  if (!point) return std::nullopt;
  return around(*point);
}

OrbitCamera GlideAt(const CameraGlide& glide, int64_t now) {
  const double t = std::clamp(static_cast<double>(now - glide.Start) / kGlideMs, 0.0, 1.0);
  if (t >= 1) return glide.To;
  const double e = t * t * (3 - 2 * t);  // eased in and out
  OrbitCamera c = glide.To;
  auto mix = [e](double a, double b) { return a + (b - a) * e; };
  c.TargetX = mix(glide.From.TargetX, glide.To.TargetX);
  c.TargetY = mix(glide.From.TargetY, glide.To.TargetY);
  c.TargetZ = mix(glide.From.TargetZ, glide.To.TargetZ);
  c.Distance = mix(glide.From.Distance, glide.To.Distance);
  c.AngleB = mix(glide.From.AngleB, glide.To.AngleB);
  double turn = glide.To.AngleA - glide.From.AngleA;
  if (turn > kOrbitTurn / 2) turn -= kOrbitTurn;
  if (turn < -kOrbitTurn / 2) turn += kOrbitTurn;
  c.AngleA = WrapTurn(glide.From.AngleA + turn * e);
  PlaceOrbitEye(c);
  return c;
}

}  // namespace slab
