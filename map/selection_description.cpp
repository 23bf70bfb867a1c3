#include "map/selection_description.h"

#include <vector>

#include "floordata/sector_contents.h"
#include "floordata/walkers.h"
#include "level/text.h"

namespace slab {
namespace {

std::string Counted(size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The square's kind, as its fill colour sorts it: a wall, the room's outer ring (a door where
// it leads on), or floor.
std::string SectorKind(const Level& level, const Room& room, int a, int b) {
  const Sector& sector = room.SectorAt(a, b);
  const bool ring = a == 0 || b == 0 || a == room.NumXSectors - 1 || b == room.NumZSectors - 1;
  const int door = GetDoor(level, sector.FDIndex);
  if (door >= 0) return "door to room " + std::to_string(door);
  if (ring) return "outer wall";
  if (sector.Floor == kWallMarker || sector.Floor == sector.Ceiling) return "wall";
  return "floor";
}

}  // namespace

std::string SelectionDescription(const Level& level, int room, std::optional<GridCell> place) {
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return "No room";
  std::string text = "Room " + std::to_string(room);
  const Room& r = level.Rooms[static_cast<size_t>(room)];
  if (!place || !r.HasSector(place->A, place->B)) return text;
  const int a = place->A, b = place->B;
  text += ", sector " + SectorPlace(a, b) + ": ";
  std::vector<std::string> parts{SectorKind(level, r, a, b)};
  const Sector& sector = r.SectorAt(a, b);
  if (GetFirstTrigger(level, sector.FDIndex) != kNoTrigger) parts.push_back("trigger");
  const SectorFlags flags = GetSectorFlags(level, sector.FDIndex);
  if (flags & kFlagKill) parts.push_back("kill square");
  if (flags & kFlagMonkey) parts.push_back("monkey-swing");
  if (sector.RoomBelow != kNoRoom)
    parts.push_back("room " + std::to_string(sector.RoomBelow) + " below");
  if (sector.RoomAbove != kNoRoom)
    parts.push_back("room " + std::to_string(sector.RoomAbove) + " above");
  if (const size_t items = EntitiesOnSector(level, room, a, b).size(); items > 0)
    parts.push_back(Counted(items, "item", "items"));
  if (const size_t statics = StaticsOnSector(level, room, a, b).size(); statics > 0)
    parts.push_back(Counted(statics, "static mesh", "static meshes"));
  for (size_t i = 0; i < parts.size(); ++i) text += (i > 0 ? ", " : "") + parts[i];
  return text;
}

}  // namespace slab
