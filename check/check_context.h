// What every group of checks shares: the level, its game, where findings go, and the sector
// lists read once for all the groups that look at floor data.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check/check.h"
#include "floordata/walkers.h"

namespace slab::checks {

// One sector's floor-data list as the walk reads it; empty without one.
struct SectorList {
  int Room = 0, X = 0, Z = 0;
  FloorList List;
};

class Context {
 public:
  Context(const Level& level, Game gameVersion, std::vector<Finding>& out);

  const Level& L;
  const Game G;

  void Add(std::string_view check, const Place& where, std::string message);

  // The floor-data lists of every sector that has one, in room order, then x, then z.
  const std::vector<SectorList>& Lists() const { return lists_; }

  // The fifth game's reader keeps only some lists; a check against one it skips runs only
  // where that list holds something.
  template <typename T>
  bool Kept(const std::vector<T>& list) const {
    return G != Game::TR5 || !list.empty();
  }

 private:
  std::vector<Finding>& out_;
  std::vector<SectorList> lists_;
};

// Texts the messages share.
std::string RoomText(int room);                                            // "Room 12"
std::string SectorText(const SectorList& s);                               // "Room 12's sector 3,4"
std::string Count(size_t n, std::string_view one, std::string_view many);  // "3 rooms"
// The close of most messages: "; the level has 174 rooms".
std::string LevelHas(size_t n, std::string_view one, std::string_view many);
std::string GameText(Game game);  // "the second game"
// Whether a room number names a room of the level.
inline bool HasRoom(const Level& level, int64_t room) {
  return room >= 0 && static_cast<size_t>(room) < level.Rooms.size();
}
// The middle of a room's sector n along one axis, in world units, from the room's corner there.
inline int64_t SectorMiddle(int32_t corner, int n) {
  return corner + int64_t{n} * kSectorUnits + kSectorUnits / 2;
}
// The room's sector holding a world position, or false.
bool SectorAtWorld(const Room& room, int64_t x, int64_t z, int& a, int& b);

// Calls f(room index, room, x, z, sector) for every sector of every room.
template <typename F>
void ForEachSector(const Level& level, F f) {
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    for (int x = 0; x < room.NumXSectors; ++x)
      for (int z = 0; z < room.NumZSectors; ++z)
        if (room.HasSector(x, z)) f(static_cast<int>(r), room, x, z, room.SectorAt(x, z));
  }
}

// The groups, in the order they run.
void CheckPortals(Context& c);
void CheckFloorData(Context& c);
void CheckRoomsAboveBelow(Context& c);
void CheckTriggerActions(Context& c);
void CheckItems(Context& c);
void CheckTextures(Context& c);
void CheckSpritesAndStatics(Context& c);
void CheckBoxes(Context& c);
void CheckFlippedRooms(Context& c);
void CheckModels(Context& c);
void CheckSound(Context& c);
void CheckEngineLimits(Context& c);
void CheckGameplay(Context& c);

}  // namespace slab::checks
