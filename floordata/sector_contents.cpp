#include "floordata/sector_contents.h"

#include <cmath>
#include <cstdint>

namespace slab {
namespace {

struct Centre {
  int64_t X = 0;
  int64_t Z = 0;
};

Centre SectorCentre(const Room& room, int a, int b) {
  return {int64_t{room.Info.X} + kSectorUnits * int64_t{a} + kSectorUnits / 2,
          int64_t{room.Info.Z} + kSectorUnits * int64_t{b} + kSectorUnits / 2};
}

}  // namespace

int SectorOfPosition(int64_t units, int64_t roomOrigin) {
  return static_cast<int>(
      std::lround(static_cast<double>(units - roomOrigin - kSectorUnits / 2) / kSectorUnits));
}

std::vector<int> EntitiesOnSector(const Level& level, int room, int a, int b) {
  std::vector<int> found;
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return found;
  const Centre centre = SectorCentre(level.Rooms[room], a, b);
  const int numItems = static_cast<int>(level.Items.size());
  for (int i = 0; i < numItems; ++i) {
    const Item& item = level.Items[i];
    if (item.Room == room && item.X == centre.X && item.Z == centre.Z) found.push_back(i);
  }
  for (size_t k = 0; k < level.AIObjects.size(); ++k) {
    const AIObject& ai = level.AIObjects[k];
    if (ai.Room == room && ai.X == centre.X && ai.Z == centre.Z)
      found.push_back(numItems + static_cast<int>(k));
  }
  return found;
}

std::vector<int> StaticsOnSector(const Level& level, int room, int a, int b) {
  std::vector<int> found;
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return found;
  const Room& r = level.Rooms[room];
  const Centre centre = SectorCentre(r, a, b);
  for (size_t i = 0; i < r.StaticMeshes.size(); ++i)
    if (r.StaticMeshes[i].X == centre.X && r.StaticMeshes[i].Z == centre.Z)
      found.push_back(static_cast<int>(i));
  return found;
}

}  // namespace slab
