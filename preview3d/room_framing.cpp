#include "preview3d/room_framing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <span>
#include <vector>

#include "preview3d/room_faces.h"

namespace slab {

// Game units a scene unit (a sector) holds.
constexpr double kUnits = kSectorUnits;
namespace {

struct Vec {
  double X = 0, Y = 0, Z = 0;
};
Vec operator-(Vec a, Vec b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
Vec operator+(Vec a, Vec b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
Vec operator*(Vec a, double s) { return {a.X * s, a.Y * s, a.Z * s}; }
double Dot(Vec a, Vec b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }
Vec Cross(Vec a, Vec b) {
  return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}

// The camera's right, up and forward axes as drawing sees them (the view matrix's columns).
struct Axes {
  Vec Right, Up, Forward;
};
Axes CameraAxes(const OrbitCamera& camera) {
  const Mat4 m = OrbitViewMatrix(camera);
  auto column = [&](size_t c) { return Vec{m.M[0][c], m.M[1][c], m.M[2][c]}; };
  return {column(0), column(1), column(2)};
}

Vec Eye(const OrbitCamera& camera) { return {camera.EyeX, camera.EyeY, camera.EyeZ}; }

double HalfHeight() { return std::tan(static_cast<double>(kFieldOfView) / 2); }

bool ValidRoom(const Level& level, int room) {
  return room >= 0 && static_cast<size_t>(room) < level.Rooms.size() &&
         level.Rooms[static_cast<size_t>(room)].NumXSectors > 0 &&
         level.Rooms[static_cast<size_t>(room)].NumZSectors > 0;
}

// A room vertex in sector units, Y up.
Vec RoomPoint(const Room& room, const RoomVertex& v) {
  return {(room.Info.X + v.X) / kUnits, -v.Y / kUnits, (room.Info.Z + v.Z) / kUnits};
}

// The distance along the ray to triangle (a, b, c) when the ray meets its front, which is
// the side its corners turn clockwise on (as drawing culls): the side (b - a) x (c - a)
// points to; a double-sided face has a front on both sides. Only faces looking upwards
// count.
std::optional<double> FloorHit(Vec origin, Vec dir, Vec a, Vec b, Vec c, bool doubleSided) {
  const Vec e1 = b - a, e2 = c - a;
  Vec n = Cross(e1, e2);
  if (doubleSided && Dot(n, dir) > 0) n = n * -1.0;  // its back is drawn too
  const double length = std::sqrt(Dot(n, n));
  // Steeper than about 70 degrees is a wall; a slope the game lets one stand on is far less.
  if (length == 0 || n.Y < 0.3 * length || Dot(n, dir) >= 0) return std::nullopt;
  // Moeller-Trumbore.
  const Vec p = Cross(dir, e2);
  const double det = Dot(e1, p);
  if (std::abs(det) < 1e-12) return std::nullopt;
  const Vec s = origin - a;
  const double u = Dot(s, p) / det;
  if (u < 0 || u > 1) return std::nullopt;
  const Vec q = Cross(s, e1);
  const double v = Dot(dir, q) / det;
  if (v < 0 || u + v > 1) return std::nullopt;
  const double t = Dot(e2, q) / det;
  if (t <= 0) return std::nullopt;
  return t;
}

// The tilts FrameRoom tries, in radians above the horizontal.
constexpr double kLowestTilt = 0.45, kHighestTilt = 1.3;
constexpr int kTiltSteps = 17;

// A room face in sector units with its front normal (see FloorHit); skipped when it names a
// vertex the room does not have.
struct Face {
  std::array<Vec, 4> Corners;
  size_t Count = 0;
  Vec Normal;
  bool DoubleSided = false;  // drawn from behind as well
};
std::vector<Face> RoomFaces(const Room& room) {
  std::vector<Face> faces;
  auto add = [&](std::span<const int16_t> indices, bool doubleSided) {
    Face face;
    face.DoubleSided = doubleSided;
    for (int16_t i : indices) {
      if (i < 0 || static_cast<size_t>(i) >= room.Vertices.size()) return;
      face.Corners[face.Count++] = RoomPoint(room, room.Vertices[static_cast<size_t>(i)]);
    }
    face.Normal = Cross(face.Corners[1] - face.Corners[0], face.Corners[2] - face.Corners[0]);
    faces.push_back(face);
  };
  for (const RoomQuad& q : room.Rectangles) add(q.Vertices, QuadTextureWord(q.Texture).DoubleSided);
  for (const RoomTriangle& t : room.Triangles) add(t.Vertices, false);
  return faces;
}

}  // namespace

bool FrameRoom(OrbitCamera& camera, const Level& level, int room, double aspect) {
  if (!ValidRoom(level, room)) return false;
  const Room& r = level.Rooms[static_cast<size_t>(room)];
  const double x0 = r.Info.X / kUnits, z0 = r.Info.Z / kUnits;
  const double x1 = x0 + r.NumXSectors, z1 = z0 + r.NumZSectors;
  const double floor = -r.Info.YBottom / kUnits, ceiling = -r.Info.YTop / kUnits;

  camera.TargetX = (x0 + x1) / 2;
  camera.TargetY = floor;
  camera.TargetZ = (z0 + z1) / 2;
  const Vec target{camera.TargetX, camera.TargetY, camera.TargetZ};

  // What must fit: the corners of every face drawn when seen along the line of sight
  // (floors, the far walls, double-sided faces either way). Ceilings and the near walls are
  // culled and openings have no faces, so fitting the room's box would leave the picture
  // small. A room without such faces fits its box.
  const std::vector<Face> faces = RoomFaces(r);
  double top = ceiling;
  for (const Face& face : faces)
    for (size_t k = 0; k < face.Count; ++k) top = std::max(top, face.Corners[k].Y);
  std::vector<Vec> box;
  for (double x : {x0, x1})
    for (double y : {floor, ceiling})
      for (double z : {z0, z1}) box.push_back(Vec{x, y, z});

  // A point p (from the target) lies at depth p.f + d before the eye; it is inside the
  // view when |p.r| <= aspect * h * depth and |p.u| <= h * depth, h = tan(45 degrees).
  const double h = HalfHeight();
  const double wide = h * (aspect > 0 ? aspect : 1.0);
  auto distanceNeeded = [&](double tilt) {
    camera.AngleB = tilt;
    camera.Distance = 1;
    PlaceOrbitEye(camera);
    const Axes axes = CameraAxes(camera);
    double needed = kNearPlane;
    auto fit = [&](Vec point) {
      const Vec p = point - target;
      const double depth = -Dot(p, axes.Forward);
      needed = std::max({needed, std::abs(Dot(p, axes.Right)) / wide + depth,
                         std::abs(Dot(p, axes.Up)) / h + depth, kNearPlane + depth});
    };
    bool any = false;
    for (const Face& face : faces) {
      if (!face.DoubleSided && Dot(face.Normal, axes.Forward) >= 0) continue;
      any = true;
      for (size_t k = 0; k < face.Count; ++k) fit(face.Corners[k]);
    }
    if (!any)
      for (Vec corner : box) fit(corner);
    // The eye looks over the room's top: a near wall drawn from behind would hide the room.
    return std::max(needed, (top - floor + 0.5) / std::sin(tilt));
  };
  // The tilt that brings the eye nearest, from about 25 to 75 degrees, shows the most.
  double bestTilt = kLowestTilt, best = distanceNeeded(kLowestTilt);
  for (int step = 1; step <= kTiltSteps; ++step) {
    const double tilt = kLowestTilt + (kHighestTilt - kLowestTilt) * step / kTiltSteps;
    if (const double d = distanceNeeded(tilt); d < best - 1e-9) {
      best = d;
      bestTilt = tilt;
    }
  }
  camera.AngleB = bestTilt;
  camera.Distance = best * 1.05 + 0.1;  // everything stays a little inside the edges
  PlaceOrbitEye(camera);
  return true;
}

std::optional<ScreenPoint> ProjectPoint(const OrbitCamera& camera, int width, int height,
                                        Vec3 point) {
  if (width <= 0 || height <= 0) return std::nullopt;
  const float aspect = static_cast<float>(width) / static_cast<float>(height);
  const Mat4 m = Multiply(OrbitViewMatrix(camera),
                          ProjectionMatrix(kNearPlane, kFarPlane, kFieldOfView, aspect));
  const auto clip = TransformPoint(point, m);
  if (clip[3] < kNearPlane) return std::nullopt;
  const double ndcX = clip[0] / clip[3], ndcY = clip[1] / clip[3];
  return ScreenPoint{(ndcX + 1) / 2 * width, (1 - ndcY) / 2 * height};
}

std::optional<SectorPick> PickFloorSector(const OrbitCamera& camera, const Level& level, int room,
                                          int width, int height, double x, double y) {
  const auto floor = PickFloor(camera, level, room, width, height, x, y);
  if (!floor) return std::nullopt;
  return floor->Sector;
}

std::optional<FloorPick> PickFloor(const OrbitCamera& camera, const Level& level, int room,
                                   int width, int height, double x, double y) {
  if (width <= 0 || height <= 0 || !ValidRoom(level, room)) return std::nullopt;
  const Room& r = level.Rooms[static_cast<size_t>(room)];
  const Axes axes = CameraAxes(camera);
  const double h = HalfHeight();
  const double aspect = static_cast<double>(width) / height;
  const double ndcX = 2 * x / width - 1, ndcY = 1 - 2 * y / height;
  const Vec dir = axes.Forward + axes.Right * (ndcX * aspect * h) + axes.Up * (ndcY * h);
  const Vec origin = Eye(camera);

  double nearest = std::numeric_limits<double>::infinity();
  auto corner = [&](int16_t index, Vec& out) {
    if (index < 0 || static_cast<size_t>(index) >= r.Vertices.size()) return false;
    out = RoomPoint(r, r.Vertices[static_cast<size_t>(index)]);
    return true;
  };
  auto tryTriangle = [&](int16_t i0, int16_t i1, int16_t i2, bool doubleSided) {
    Vec a, b, c;
    if (!corner(i0, a) || !corner(i1, b) || !corner(i2, c)) return;
    if (const auto t = FloorHit(origin, dir, a, b, c, doubleSided)) nearest = std::min(nearest, *t);
  };
  // A quad is drawn as the fan (0, 1, 2), (0, 2, 3).
  for (const RoomQuad& q : r.Rectangles) {
    const bool doubleSided = QuadTextureWord(q.Texture).DoubleSided;
    tryTriangle(q.Vertices[0], q.Vertices[1], q.Vertices[2], doubleSided);
    tryTriangle(q.Vertices[0], q.Vertices[2], q.Vertices[3], doubleSided);
  }
  for (const RoomTriangle& t : r.Triangles)
    tryTriangle(t.Vertices[0], t.Vertices[1], t.Vertices[2], false);
  if (!std::isfinite(nearest)) return std::nullopt;

  const Vec hit = origin + dir * nearest;
  const auto a = static_cast<int>(std::floor(hit.X - r.Info.X / kUnits));
  const auto b = static_cast<int>(std::floor(hit.Z - r.Info.Z / kUnits));
  if (!r.HasSector(a, b)) return std::nullopt;
  return FloorPick{{a, b}, nearest};
}

}  // namespace slab
