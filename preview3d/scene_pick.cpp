#include "preview3d/scene_pick.h"

#include <cmath>
#include <limits>

#include "floordata/sector_contents.h"
#include "level/text.h"
#include "preview3d/room_faces.h"
#include "preview3d/room_framing.h"
#include "preview3d/scene_units.h"

namespace slab {
namespace {

struct V {
  double X = 0, Y = 0, Z = 0;
};
V operator-(V a, V b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
double Dot(V a, V b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }
V Cross(V a, V b) { return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X}; }

struct Ray {
  V Origin, Dir;
};

constexpr double kNone = std::numeric_limits<double>::infinity();

// The distance along the ray to triangle (a, b, c) when the ray meets its front: the side
// (b - a) x (c - a) points to, whose corners turn clockwise as the device sees front faces.
double FrontHit(const Ray& ray, V a, V b, V c) {
  const V e1 = b - a, e2 = c - a;
  if (Dot(Cross(e1, e2), ray.Dir) >= 0) return kNone;  // its back, or edge-on
  // Moeller-Trumbore.
  const V p = Cross(ray.Dir, e2);
  const double det = Dot(e1, p);
  if (std::abs(det) < 1e-15) return kNone;
  const V s = ray.Origin - a;
  const double u = Dot(s, p) / det;
  if (u < 0 || u > 1) return kNone;
  const V q = Cross(s, e1);
  const double v = Dot(ray.Dir, q) / det;
  if (v < 0 || u + v > 1) return kNone;
  const double t = Dot(e2, q) / det;
  return t > 0 ? t : kNone;
}

V Point(const LitVertex& v) { return {v.X, v.Y, v.Z}; }
V Placed(const LitVertex& v, const Mat4& world) {
  const auto p = TransformPoint(Vec3{v.X, v.Y, v.Z}, world);
  return {p[0], p[1], p[2]};
}

// A face is drawn as a fan from its first corner.
template <typename Corner>
double FaceHit(const Ray& ray, const MeshFace& face, Corner corner) {
  double nearest = kNone;
  const int count = std::min(face.VertexCount, 5);
  if (count < 3) return nearest;
  const V first = corner(face.Vertices[0]);
  V previous = corner(face.Vertices[1]);
  for (int k = 2; k < count; ++k) {
    const V next = corner(face.Vertices[static_cast<size_t>(k)]);
    nearest = std::min(nearest, FrontHit(ray, first, previous, next));
    previous = next;
  }
  return nearest;
}

// The nearest front face of a room, walls and ceilings too: what lies behind it is hidden.
double RoomHit(const Ray& ray, const Room& room) {
  double nearest = kNone;
  const double x0 = room.Info.X / static_cast<double>(kSectorUnits);
  const double z0 = room.Info.Z / static_cast<double>(kSectorUnits);
  auto corner = [&](int16_t index, V& out) {
    if (index < 0 || static_cast<size_t>(index) >= room.Vertices.size()) return false;
    const RoomVertex& v = room.Vertices[static_cast<size_t>(index)];
    out = {x0 + v.X / static_cast<double>(kSectorUnits), -v.Y / static_cast<double>(kSectorUnits),
           z0 + v.Z / static_cast<double>(kSectorUnits)};
    return true;
  };
  auto triangle = [&](int16_t i0, int16_t i1, int16_t i2, bool doubleSided) {
    V a, b, c;
    if (!corner(i0, a) || !corner(i1, b) || !corner(i2, c)) return;
    nearest = std::min(nearest, FrontHit(ray, a, b, c));
    if (doubleSided) nearest = std::min(nearest, FrontHit(ray, a, c, b));
  };
  for (const RoomQuad& q : room.Rectangles) {
    const bool doubleSided = QuadTextureWord(q.Texture).DoubleSided;
    triangle(q.Vertices[0], q.Vertices[1], q.Vertices[2], doubleSided);
    triangle(q.Vertices[0], q.Vertices[2], q.Vertices[3], doubleSided);
  }
  for (const RoomTriangle& t : room.Triangles)
    triangle(t.Vertices[0], t.Vertices[1], t.Vertices[2], false);
  return nearest;
}

}  // namespace

std::optional<PickRay> RayThroughPoint(const OrbitCamera& camera, int width, int height, double x,
                                       double y) {
  if (width <= 0 || height <= 0) return std::nullopt;
  // The view matrix's columns are the camera's right, up and forward axes.
  const Mat4 m = OrbitViewMatrix(camera);
  auto axis = [&](size_t c) { return V{m.M[0][c], m.M[1][c], m.M[2][c]}; };
  const V right = axis(0), up = axis(1), forward = axis(2);
  const double h = std::tan(static_cast<double>(kFieldOfView) / 2);
  const double aspect = static_cast<double>(width) / height;
  const double sx = (2 * x / width - 1) * aspect * h, sy = (1 - 2 * y / height) * h;
  PickRay ray;
  ray.OriginX = camera.EyeX, ray.OriginY = camera.EyeY, ray.OriginZ = camera.EyeZ;
  ray.DirX = forward.X + right.X * sx + up.X * sy;
  ray.DirY = forward.Y + right.Y * sx + up.Y * sy;
  ray.DirZ = forward.Z + right.Z * sx + up.Z * sy;
  return ray;
}

ScenePick PickInScene(const OrbitCamera& camera, const PickScene& scene, int width, int height,
                      double x, double y) {
  ScenePick pick;
  if (!scene.Lvl) return pick;
  const Level& level = *scene.Lvl;
  const auto pickRay = RayThroughPoint(camera, width, height, x, y);
  if (!pickRay) return pick;
  const Ray ray{{pickRay->OriginX, pickRay->OriginY, pickRay->OriginZ},
                {pickRay->DirX, pickRay->DirY, pickRay->DirZ}};

  double nearest = kNone;
  if (scene.Items) {
    const ItemFaces& items = *scene.Items;
    for (size_t f = 0; f < items.Faces.size() && f < items.FaceEntities.size(); ++f) {
      const double t = FaceHit(ray, items.Faces[f], Point);
      if (t < nearest) {
        nearest = t;
        pick = {PickKind::Item, items.FaceEntities[f]};
      }
    }
    // Sprites turn to face the camera as the view draws them.
    for (const ItemSprite& sprite : items.Sprites) {
      Mat4 world = MarkerMatrix(camera, 0, 0, 0);
      world.M[3] = {sprite.X, sprite.Y, sprite.Z, 1};
      const double t =
          FaceHit(ray, sprite.Face, [&](const LitVertex& v) { return Placed(v, world); });
      if (t < nearest) {
        nearest = t;
        pick = {PickKind::Item, sprite.Entity};
      }
    }
  }
  for (const int room : scene.Rooms) {
    if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) continue;
    const auto& statics = level.Rooms[static_cast<size_t>(room)].StaticMeshes;
    for (size_t i = 0; i < statics.size(); ++i) {
      const RoomStatic& s = statics[i];
      const auto k = static_cast<size_t>(StaticMeshIndex(level, s.ObjectID));
      if (k >= scene.StaticMeshes.size()) continue;
      // As the view draws it: turned about Y, then moved to its place.
      Mat4 world = RotateY(StaticMeshAngle(s.Rotation));
      const Vec3 at = ScenePosition(s.X, s.Y, s.Z);
      world.M[3] = {at.X, at.Y, at.Z, 1};
      for (const MeshFace& face : scene.StaticMeshes[k]) {
        const double t = FaceHit(ray, face, [&](const LitVertex& v) { return Placed(v, world); });
        if (t < nearest) {
          nearest = t;
          pick = {PickKind::Static, -1, room, static_cast<int>(i)};
        }
      }
    }
  }
  if (pick.Kind != PickKind::Nothing) {
    double walls = kNone;
    for (const int room : scene.Rooms)
      if (room >= 0 && static_cast<size_t>(room) < level.Rooms.size())
        walls = std::min(walls, RoomHit(ray, level.Rooms[static_cast<size_t>(room)]));
    if (nearest < walls) return pick;
  }
  pick = {};
  if (const auto sector = PickFloorSector(camera, level, scene.CurrentRoom, width, height, x, y)) {
    pick.Kind = PickKind::Sector;
    pick.Room = scene.CurrentRoom;
    pick.SectorX = sector->X;
    pick.SectorZ = sector->Z;
    return pick;
  }
  // Off the current room's floor: the nearest floor of another room shown, where no face of
  // the rooms shown lies before it.
  std::optional<FloorPick> nearestFloor;
  int floorRoom = -1;
  for (const int room : scene.Rooms) {
    if (room == scene.CurrentRoom) continue;
    const auto floor = PickFloor(camera, level, room, width, height, x, y);
    if (floor && (!nearestFloor || floor->Along < nearestFloor->Along)) {
      nearestFloor = floor;
      floorRoom = room;
    }
  }
  if (!nearestFloor) return pick;
  for (const int room : scene.Rooms)
    if (room >= 0 && static_cast<size_t>(room) < level.Rooms.size() &&
        RoomHit(ray, level.Rooms[static_cast<size_t>(room)]) < nearestFloor->Along - 1e-6)
      return pick;
  return ScenePick{PickKind::Sector,      -1, floorRoom, -1, nearestFloor->Sector.X,
                   nearestFloor->Sector.Z};
}

std::optional<Vec3> PointUnder(const OrbitCamera& camera, const PickScene& scene, int width,
                               int height, double x, double y) {
  const auto pickRay = RayThroughPoint(camera, width, height, x, y);
  if (!pickRay) return std::nullopt;
  const Ray ray{{pickRay->OriginX, pickRay->OriginY, pickRay->OriginZ},
                {pickRay->DirX, pickRay->DirY, pickRay->DirZ}};
  // The ray's forward part is one: along it, the target's depth is the distance.
  double nearest = kNone;
  if (scene.Lvl != nullptr)
    for (const int room : scene.Rooms)
      if (room >= 0 && static_cast<size_t>(room) < scene.Lvl->Rooms.size())
        nearest = std::min(nearest, RoomHit(ray, scene.Lvl->Rooms[static_cast<size_t>(room)]));
  if (nearest == kNone) nearest = camera.Distance;
  return Vec3{static_cast<float>(pickRay->OriginX + pickRay->DirX * nearest),
              static_cast<float>(pickRay->OriginY + pickRay->DirY * nearest),
              static_cast<float>(pickRay->OriginZ + pickRay->DirZ * nearest)};
}

std::optional<PickPlace> PlaceOfPick(const Level& level, const ScenePick& pick) {
  int room = pick.Room;
  int32_t x = 0, z = 0;
  switch (pick.Kind) {
    case PickKind::Nothing:
      return std::nullopt;
    case PickKind::Sector:
      if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return std::nullopt;
      return PickPlace{room, pick.SectorX, pick.SectorZ};
    case PickKind::Item: {
      const auto numItems = static_cast<int64_t>(level.Items.size());
      if (pick.Entity < 0) return std::nullopt;
      if (pick.Entity < numItems) {
        const Item& item = level.Items[static_cast<size_t>(pick.Entity)];
        room = item.Room, x = item.X, z = item.Z;
      } else if (pick.Entity - numItems < static_cast<int64_t>(level.AIObjects.size())) {
        const AIObject& ai = level.AIObjects[static_cast<size_t>(pick.Entity - numItems)];
        room = ai.Room, x = ai.X, z = ai.Z;
      } else {
        return std::nullopt;
      }
      break;
    }
    case PickKind::Static: {
      if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return std::nullopt;
      const auto& statics = level.Rooms[static_cast<size_t>(room)].StaticMeshes;
      if (pick.Static < 0 || static_cast<size_t>(pick.Static) >= statics.size())
        return std::nullopt;
      x = statics[static_cast<size_t>(pick.Static)].X;
      z = statics[static_cast<size_t>(pick.Static)].Z;
      break;
    }
  }
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return std::nullopt;
  const Room& r = level.Rooms[static_cast<size_t>(room)];
  const int a = SectorOfPosition(x, r.Info.X), b = SectorOfPosition(z, r.Info.Z);
  if (!r.HasSector(a, b)) return PickPlace{room};
  return PickPlace{room, a, b};
}

std::string PickName(const Level& level, Game gameVersion, const ObjectNames& names,
                     const ScenePick& pick) {
  switch (pick.Kind) {
    case PickKind::Item: {
      const auto numItems = static_cast<int64_t>(level.Items.size());
      if (pick.Entity < 0) return {};
      int objectId = 0;
      std::string text;
      if (pick.Entity < numItems) {
        objectId = level.Items[static_cast<size_t>(pick.Entity)].ObjectID;
        text = "Item" + NumText(pick.Entity);
      } else if (pick.Entity - numItems < static_cast<int64_t>(level.AIObjects.size())) {
        objectId = level.AIObjects[static_cast<size_t>(pick.Entity - numItems)].ObjectID;
        text = "AI" + NumText(pick.Entity - numItems);
      } else {
        return {};
      }
      text += " - " + std::to_string(objectId);
      const auto name = ObjectName(names, objectId, gameVersion);
      if (name && !name->empty()) text += " " + std::string(*name);
      return text;
    }
    case PickKind::Static: {
      if (pick.Room < 0 || static_cast<size_t>(pick.Room) >= level.Rooms.size()) return {};
      const auto& statics = level.Rooms[static_cast<size_t>(pick.Room)].StaticMeshes;
      if (pick.Static < 0 || static_cast<size_t>(pick.Static) >= statics.size()) return {};
      return "Static mesh " + std::to_string(pick.Static) + " of room " +
             std::to_string(pick.Room) + " - " +
             StaticName(names, statics[static_cast<size_t>(pick.Static)].ObjectID, gameVersion);
    }
    case PickKind::Sector:
      return "Room " + std::to_string(pick.Room) + ", Sector " +
             SectorPlace(pick.SectorX, pick.SectorZ);
    case PickKind::Nothing:
      break;
  }
  return {};
}

}  // namespace slab
