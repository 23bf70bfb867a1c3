// What the list builders of level_tables share: placing a row on its room's sector.
#pragma once

#include <cstdint>
#include <string>

#include "map/level_tables.h"

namespace slab::table_rows {

// The target of a point of a room: the room, and the sector under the point when it lies on
// the room's grid.
ListTarget TargetAt(const Level& level, int room, int64_t x, int64_t z);

// The sector column of such a target: its label, or "-" when the point is on no sector.
std::string SectorCell(const ListTarget& target);

// A number as people read it: two decimals at most, no trailing zeros ("1.5", "2048").
std::string FloatText(double value);

// "-" for a room that is not there.
std::string RoomCell(int room);

}  // namespace slab::table_rows
