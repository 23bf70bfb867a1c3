// What a screen reader says for the room map and the 3D view: the room shown and the selected
// sector with what the map's colours and markers tell a sighted user about it.
#pragma once

#include <optional>
#include <string>

#include "level/level.h"

namespace slab {

struct GridCell {
  int A = 0;  // along the grid's first dimension, from 0
  int B = 0;  // along the second, from 0
};

// "Room 7" with no sector selected; "Room 7, sector 2,0: floor, trigger, 2 items" with one.
// Sectors are numbered from 0, a,b, as the command line numbers them. An unknown room or
// sector reads "No room".
std::string SelectionDescription(const Level& level, int room, std::optional<GridCell> sector);

}  // namespace slab
