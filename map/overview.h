// The level overview of the right-hand view in 2D mode: every room's floor seen from above
// on a 100 x 100 grid of sectors, 4 pixels a sector, coloured by its height against the
// room selected in the room list, each room outlined where it meets another or the background.
#pragma once

#include <vector>

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
inline constexpr Rgb kOutline{0, 0, 0};  // where a room's cells meet another room's or nothing
}  // namespace overview_colour

// The rooms whose inner sectors fall on the grid cell under pixel (x, y), in the order the
// overview shows and picks them: the floors one can stand on, lowest first (as a plan shows
// the ground floor), then the sectors that hide nothing (open onto the room below, or solid
// wall). Cells outside 1..99 and pixels outside the picture hold none.
std::vector<int> OverviewStack(const Level& level, int x, int y);

// The 400 x 400 picture. Each cell (room X / 1024 + x, room Z / 1024 + z) shows the first room
// of its stack, or the selected room wherever that has a sector, so the selected room shows
// whole in red; cell x is drawn at pixel row 4x, cell z at column 4z, the room map's way round.
// selectedRoom outside the rooms draws every room as "other".
MapImage DrawLevelOverview(const Level& level, int selectedRoom);

// The room drawn at pixel (x, y) of that picture, or -1 for the background and outside it.
int OverviewRoomAt(const Level& level, int selectedRoom, int x, int y);

// The room a click at pixel (x, y) chooses: the first of the cell's stack, or, where the
// selected room is in it already, the next one, so repeated clicks step up through every room
// stacked on the cell and then start again at the bottom. -1 where no room lies.
int OverviewPick(const Level& level, int selectedRoom, int x, int y);

}  // namespace slab
