#include "preview3d/trigger_links.h"

#include <cmath>

#include "floordata/walkers.h"
#include "preview3d/camera_markers.h"
#include "preview3d/camera_moves.h"
#include "preview3d/room_framing.h"
#include "preview3d/scene_units.h"

namespace slab {
namespace {

bool NamesItem(const TriggerEntry& entry, int item) {
  return ActionNamesItem(entry.Action) && entry.Param == item;
}

}  // namespace

Vec3 ItemLineEnd(const Item& item) {
  return ScenePosition(item.X, item.Y - kSectorUnits / 2, item.Z);
}

std::optional<Vec3> SectorLineEnd(const Level& level, int room, int x, int z) {
  return SectorPoint(level, room, x, z);
}

std::vector<SceneLine> TriggerLinesFrom(const Level& level, int room, int x, int z) {
  std::vector<SceneLine> lines;
  const auto from = SectorLineEnd(level, room, x, z);
  if (!from) return lines;
  const Sector& sector = level.Rooms[static_cast<size_t>(room)].SectorAt(x, z);
  for (const TriggerEntry& entry : GetTriggerList(level, sector.FDIndex)) {
    const auto param = static_cast<size_t>(static_cast<uint16_t>(entry.Param));
    if (ActionNamesItem(entry.Action) && param < level.Items.size()) {
      lines.push_back({*from, ItemLineEnd(level.Items[param])});
    } else if ((entry.Action == kActionCamera || entry.Action == kActionSink) &&
               param < level.Cameras.size()) {
      const Camera& camera = level.Cameras[param];
      lines.push_back({*from, ScenePosition(camera.X, camera.Y, camera.Z)});
    }
  }
  return lines;
}

std::vector<SceneLine> TriggerLinesTo(const Level& level, int item) {
  std::vector<SceneLine> lines;
  if (item < 0 || static_cast<size_t>(item) >= level.Items.size()) return lines;
  const Vec3 to = ItemLineEnd(level.Items[static_cast<size_t>(item)]);
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    for (int x = 0; x < room.NumXSectors; ++x)
      for (int z = 0; z < room.NumZSectors; ++z) {
        const Sector& sector = room.SectorAt(x, z);
        if (sector.FDIndex == 0) continue;
        for (const TriggerEntry& entry : GetTriggerList(level, sector.FDIndex))
          if (NamesItem(entry, item)) {
            if (const auto from = SectorLineEnd(level, static_cast<int>(r), x, z))
              lines.push_back({*from, to});
            break;
          }
      }
  }
  return lines;
}

std::optional<ScreenSegment> ProjectSegment(const OrbitCamera& camera, int width, int height,
                                            Vec3 a, Vec3 b) {
  const double fx = camera.TargetX - camera.EyeX, fy = camera.TargetY - camera.EyeY,
               fz = camera.TargetZ - camera.EyeZ;
  const double length = std::sqrt(fx * fx + fy * fy + fz * fz);
  if (length == 0) return std::nullopt;
  auto depth = [&](Vec3 p) {
    return ((p.X - camera.EyeX) * fx + (p.Y - camera.EyeY) * fy + (p.Z - camera.EyeZ) * fz) /
           length;
  };
  // Cut where the line passes behind the eye: only the part before it is drawn.
  const double nearest = 2 * kNearPlane, da = depth(a), db = depth(b);
  if (da < nearest && db < nearest) return std::nullopt;
  auto cut = [&](Vec3 from, Vec3 to, double dFrom, double dTo) {
    const auto t = static_cast<float>((nearest - dFrom) / (dTo - dFrom));
    return Vec3{from.X + (to.X - from.X) * t, from.Y + (to.Y - from.Y) * t,
                from.Z + (to.Z - from.Z) * t};
  };
  if (da < nearest) a = cut(a, b, da, db);
  if (db < nearest) b = cut(b, a, db, da);
  const auto pa = ProjectPoint(camera, width, height, a);
  const auto pb = ProjectPoint(camera, width, height, b);
  if (!pa || !pb) return std::nullopt;
  return ScreenSegment{*pa, *pb};
}

void TintTriggerFloors(const Level& level, int room, uint32_t colour, RoomFaceList& list) {
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return;
  const Room& r = level.Rooms[static_cast<size_t>(room)];
  for (PreparedFace& face : list.Faces) {
    if (face.Room != room || face.VertexCount < 3) continue;
    const LitVertex& a = face.Vertices[0];
    const LitVertex& b = face.Vertices[1];
    const LitVertex& c = face.Vertices[2];
    // Upward: the front side, where (b - a) x (c - a) points, looks up more than sideways.
    const double ux = b.X - a.X, uy = b.Y - a.Y, uz = b.Z - a.Z;
    const double vx = c.X - a.X, vy = c.Y - a.Y, vz = c.Z - a.Z;
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    if (ny < 0.3 * std::sqrt(nx * nx + ny * ny + nz * nz)) continue;
    float minX = a.X, minZ = a.Z, maxX = a.X, maxZ = a.Z;
    for (int k = 0; k < face.VertexCount; ++k) {
      const LitVertex& v = face.Vertices[static_cast<size_t>(k)];
      minX = std::min(minX, v.X), maxX = std::max(maxX, v.X);
      minZ = std::min(minZ, v.Z), maxZ = std::max(maxZ, v.Z);
    }
    const int x = static_cast<int>(std::floor(minX)), z = static_cast<int>(std::floor(minZ));
    if (maxX > static_cast<float>(x + 1) || maxZ > static_cast<float>(z + 1) || !r.HasSector(x, z))
      continue;
    if (GetFirstTrigger(level, r.SectorAt(x, z).FDIndex) == kNoTrigger) continue;
    // Half the colour, half white: the vertex colour multiplies the texture, so the floor
    // keeps its look and is never taken for the selection's red.
    uint32_t tint = 0;
    for (int shift : {0, 8, 16}) tint |= ((((colour >> shift) & 0xFFu) + 0xFFu) / 2) << shift;
    for (LitVertex& v : face.Vertices)
      if (v.Colour != kRed) v.Colour = (v.Colour & 0xFF000000u) | tint;
  }
}

}  // namespace slab
