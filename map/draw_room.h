// Drawing a room as a grid of coloured sectors with markers for what stands on them, and
// the table that turns a pixel of that picture back into a sector.
#pragma once

#include "level/document.h"
#include "map/map_state.h"

namespace slab {

// The picture is 300 x 300 for rooms of up to 30 sectors in each direction and grows by 10
// pixels a sector beyond that, so a large room is drawn whole.
inline constexpr int kMapSize = 300;
inline constexpr int kSectorPixels = 10;
// Sectors past this many in a direction are neither drawn nor clickable: real rooms stay far
// below it, and it keeps a damaged count from asking for a picture of gigabytes.
inline constexpr int kMaxMapSectors = 256;

namespace map_colour {
inline constexpr Rgb kBlocked{96, 96, 96};
inline constexpr Rgb kMonkey{255, 95, 95};
inline constexpr Rgb kMinecartStop{255, 0, 0};
inline constexpr Rgb kFunction20{0, 0, 255};
inline constexpr Rgb kFunction21{0, 255, 0};
inline constexpr Rgb kKill{255, 255, 0};
inline constexpr Rgb kOuterWall{128, 128, 128};
inline constexpr Rgb kPortal{0, 0, 0};
inline constexpr Rgb kTrigger{192, 0, 192};
inline constexpr Rgb kWall{0, 159, 0};
inline constexpr Rgb kFloor{204, 204, 0};
inline constexpr Rgb kItemMarker{0, 255, 255};
inline constexpr Rgb kStaticMarker{0, 0, 255};
inline constexpr Rgb kSelection{0, 0, 255};
inline constexpr Rgb kChanged{255, 128, 0};  // differs from the compared version
}  // namespace map_colour

// Width and height of the picture of a room with numA x numB sectors (a drawn downwards).
// Counts are taken up to kMaxMapSectors.
int MapWidth(int numB);
int MapHeight(int numA);

// The fill colour of sector (a, b), 0-based, of a room.
Rgb SectorFillColour(const Level& level, Game gameVersion, const Room& room, int a, int b);

// Draws room `room` into a fresh picture whose used area is the room's sectors; an unknown
// room gives the black 300 x 300 picture, used whole.
MapImage DrawRoom(const Level& level, Game gameVersion, int room);

// The pixel-to-sector table for a room of numA x numB sectors.
SectorTable BuildSectorTable(int numA, int numB);

// Makes the room current, clears the selected sector to (0, 0), rebuilds the table and the
// picture, and shows the picture without selection.
void SelectRoom(const Document& doc, MapState& state, int room);

}  // namespace slab
