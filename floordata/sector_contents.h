// What stands on a sector: the items, AI objects and static meshes placed exactly at its
// centre. An entity index below the number of items is an item; index items + k is AI
// object k.
#pragma once

#include <cstdint>
#include <vector>

#include "level/level.h"

namespace slab {

// Entities of the room whose X and Z are the centre of sector (a, b), 0-based, in index
// order: items first, then AI objects.
std::vector<int> EntitiesOnSector(const Level& level, int room, int a, int b);

// The sector whose centre is nearest to a world coordinate, along one axis from the room's
// origin (0-based; may lie outside the room's grid).
int SectorOfPosition(int64_t units, int64_t roomOrigin);

// Indexes into the room's StaticMeshes of those at the centre of sector (a, b).
std::vector<int> StaticsOnSector(const Level& level, int room, int a, int b);

}  // namespace slab
