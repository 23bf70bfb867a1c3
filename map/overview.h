// The level overview of the right-hand view in 2D mode: every room's floor seen from above
// on a 100 x 100 grid of sectors, 4 pixels a sector, coloured by its height against the
// room selected in the room list.
#pragma once

#include "level/level.h"
#include "map/map_image.h"

namespace slab {

inline constexpr int kOverviewSize = 400;
inline constexpr int kOverviewCells = 100;
inline constexpr int kOverviewCellPixels = 4;

namespace overview_colour {
inline constexpr Rgb kBackground{255, 255, 255};
inline constexpr Rgb kSelected{255, 0, 0};
inline constexpr Rgb kAbove{96, 96, 96};     // the room's top is above the selected room's bottom
inline constexpr Rgb kBelow{192, 192, 192};  // its bottom is below the selected room's top
inline constexpr Rgb kOther{0, 192, 192};
}  // namespace overview_colour

// The 400 x 400 picture. Each grid cell (room X / 1024 + x, room Z / 1024 + z) takes the
// highest floor among the inner sectors that fall on it, and that sector's room; cell x is
// drawn at pixel row 4x, cell z at column 4z, the room map's way round. Cells outside 1..99
// are left out. An empty
// cell takes the first floor that falls on it. selectedRoom outside the rooms draws every
// room as "other".
MapImage DrawLevelOverview(const Level& level, int selectedRoom);

// The room drawn at pixel (x, y) of that picture (the one on top where rooms share a cell), or
// -1 for the background and outside the picture.
int OverviewRoomAt(const Level& level, int selectedRoom, int x, int y);

}  // namespace slab
