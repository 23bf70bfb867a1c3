#include "map/draw_room.h"

#include <algorithm>
#include <cstdint>

#include "floordata/walkers.h"

namespace slab {
namespace {

constexpr uint16_t kNoBox = 0x3FF0;

int Count(int count) { return std::clamp(count, 0, kMaxMapSectors); }

// Third- and fourth-game levels mark boxes that a blockable object may close with the top
// bit of their overlap index; their sectors are drawn dark grey.
bool BoxBlocked(const Level& level, Game gameVersion, const Sector& sector) {
  if (gameVersion != Game::TR3 && gameVersion != Game::TR4) return false;
  if ((sector.BoxIndex & kNoBox) == kNoBox) return false;
  const size_t box = sector.BoxIndex / 16;
  return box < level.Boxes.size() && level.Boxes[box].OverlapIndex < 0;
}

// Which sectors of a room have something standing at their exact centre, as a grid of
// bits: 1 for an item or AI object, 2 for a static mesh.
std::vector<uint8_t> MarkerGrid(const Level& level, int roomIndex) {
  const Room& room = level.Rooms[roomIndex];
  const int numA = Count(room.NumXSectors), numB = Count(room.NumZSectors);
  std::vector<uint8_t> grid(static_cast<size_t>(numA) * numB, 0);
  auto mark = [&](int64_t x, int64_t z, uint8_t bit) {
    const int64_t dx = x - room.Info.X - kSectorUnits / 2, dz = z - room.Info.Z - kSectorUnits / 2;
    if (dx < 0 || dz < 0 || dx % kSectorUnits != 0 || dz % kSectorUnits != 0) return;
    const int64_t a = dx / kSectorUnits, b = dz / kSectorUnits;
    if (a < numA && b < numB) grid[static_cast<size_t>(a * numB + b)] |= bit;
  };
  for (const Item& item : level.Items)
    if (item.Room == roomIndex) mark(item.X, item.Z, 1);
  for (const AIObject& ai : level.AIObjects)
    if (ai.Room == roomIndex) mark(ai.X, ai.Z, 1);
  for (const RoomStatic& mesh : room.StaticMeshes) mark(mesh.X, mesh.Z, 2);
  return grid;
}

}  // namespace

int MapWidth(int numB) { return std::max(kMapSize, kSectorPixels * Count(numB)); }
int MapHeight(int numA) { return std::max(kMapSize, kSectorPixels * Count(numA)); }

Rgb SectorFillColour(const Level& level, Game gameVersion, const Room& room, int a, int b) {
  using namespace map_colour;
  const Sector& sector = room.SectorAt(a, b);
  if (BoxBlocked(level, gameVersion, sector)) return kBlocked;
  const SectorFlags flags = GetSectorFlags(level, sector.FDIndex);
  const SectorFlags minecart = kFlagFunction20 | kFlagFunction21;
  if (flags & kFlagMonkey) return kMonkey;
  if ((flags & minecart) == minecart) return kMinecartStop;
  if (flags & kFlagFunction20) return kFunction20;
  if (flags & kFlagFunction21) return kFunction21;
  if (flags & kFlagKill) return kKill;
  const int lastA = room.NumXSectors - 1, lastB = room.NumZSectors - 1;
  const bool edgeA = a == 0 || a == lastA, edgeB = b == 0 || b == lastB;
  if (edgeA && edgeB) return kOuterWall;
  if (edgeA || edgeB) return GetDoor(level, sector.FDIndex) == -1 ? kOuterWall : kPortal;
  if (GetFirstTrigger(level, sector.FDIndex) != kNoTrigger) return kTrigger;
  if (sector.RoomBelow != kNoRoom || sector.RoomAbove != kNoRoom) return kPortal;
  if (sector.Floor == kWallMarker || sector.Floor == sector.Ceiling) return kWall;
  return kFloor;
}

MapImage DrawRoom(const Level& level, Game gameVersion, int roomIndex) {
  if (roomIndex < 0 || static_cast<size_t>(roomIndex) >= level.Rooms.size())
    return MapImage(kMapSize, kMapSize);
  const Room& room = level.Rooms[roomIndex];
  const int numA = Count(room.NumXSectors), numB = Count(room.NumZSectors);
  MapImage image(MapWidth(numB), MapHeight(numA));
  // A room without sectors one way still shows one sector's width of the picture.
  image.SetUsedArea(kSectorPixels * std::max(numB, 1), kSectorPixels * std::max(numA, 1));
  const std::vector<uint8_t> markers = MarkerGrid(level, roomIndex);
  for (int a = 1; a <= numA; ++a)
    for (int b = 1; b <= numB; ++b) {
      if (!room.HasSector(a - 1, b - 1)) continue;
      const int x = kSectorPixels * b, y = kSectorPixels * a;
      image.SetOutlineColour(kClearColour);
      image.SetFillColour(SectorFillColour(level, gameVersion, room, a - 1, b - 1));
      image.DrawBox(x - 11, y - 11, x, y);

      const uint8_t marker = markers[static_cast<size_t>(a - 1) * numB + (b - 1)];
      const bool items = marker & 1, statics = marker & 2;
      if (items) {
        image.SetOutlineColour(map_colour::kItemMarker);
        image.SetFillColour(map_colour::kItemMarker);
        image.DrawBox(x - 7, y - 7, x - 3, statics ? y - 5 : y - 3);
      }
      if (statics) {
        image.SetOutlineColour(map_colour::kStaticMarker);
        image.SetFillColour(map_colour::kStaticMarker);
        image.DrawBox(x - 7, items ? y - 5 : y - 7, x - 3, y - 3);
      }
    }
  return image;
}

SectorTable BuildSectorTable(int numA, int numB) {
  numA = Count(numA);
  numB = Count(numB);
  SectorTable table;
  table.Width = MapWidth(numB) + 1;
  table.Height = MapHeight(numA) + 1;
  const size_t size = static_cast<size_t>(table.Width) * table.Height;
  table.X.assign(size, 0);
  table.Z.assign(size, 0);
  for (int y = 0; y < kSectorPixels * numA; ++y)
    for (int x = 0; x < kSectorPixels * numB; ++x) {
      table.X[table.Index(x, y)] = static_cast<uint16_t>(y / kSectorPixels + 1);
      table.Z[table.Index(x, y)] = static_cast<uint16_t>(x / kSectorPixels + 1);
    }
  return table;
}

void SelectRoom(const Document& doc, MapState& state, int room) {
  const Level& level = doc.CurrentLevel;
  state.CurrentRoom = room;
  state.SelectedSectorX = 0;
  state.SelectedSectorZ = 0;
  state.SectorSelected = false;
  const bool known = room >= 0 && static_cast<size_t>(room) < level.Rooms.size();
  state.Table = known
                    ? BuildSectorTable(level.Rooms[room].NumXSectors, level.Rooms[room].NumZSectors)
                    : BuildSectorTable(0, 0);
  state.Map = DrawRoom(level, doc.GameVersion, room);
  state.Shown = state.Map;
}

}  // namespace slab
