// What stands on a sector: the items, AI objects and static meshes placed exactly at its
// centre. An entity index below the number of items is an item; index items + k is AI
// object k.
#pragma once

#include <vector>

#include "level/level.h"

namespace slab {

// Entities of the room whose X and Z are the centre of sector (a, b), 0-based, in index
// order: items first, then AI objects.
std::vector<int> EntitiesOnSector(const Level& level, int room, int a, int b);

// Indexes into the room's StaticMeshes of those at the centre of sector (a, b).
std::vector<int> StaticsOnSector(const Level& level, int room, int a, int b);

}  // namespace slab
