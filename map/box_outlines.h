// The pathfinding boxes under a room's sectors, for outlines over the room map and the
// tooltip's box line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "floordata/object_names.h"
#include "level/document.h"
#include "level/level.h"
#include "map/map_image.h"
#include "map/map_state.h"

namespace slab {

// The box of a sector, or -1 when it has none or names a box the level does not have. Up to
// the second game the word is the box's number; from the third the number sits above four
// bits of floor material, and all number bits set means none.
int SectorBoxIndex(const Level& level, Game gameVersion, const Sector& sector);

// A box whose overlap word has its top bit set: the map draws its sectors dark grey in the
// third and fourth game.
bool BoxBlocked(const Box& box);

// The boxes a box overlaps, in the order of the overlaps list; the list ends at the entry with
// the top bit set, or at the end of the level's list.
std::vector<int> BoxOverlaps(const Level& level, int box);

// Sides of a sector that border another box (or a sector without one): where outlines go.
// Up and down are along the grid's first coordinate (drawn downwards), left and right along
// the second.
inline constexpr uint8_t kBoxEdgeUp = 1;     // towards a - 1
inline constexpr uint8_t kBoxEdgeDown = 2;   // towards a + 1
inline constexpr uint8_t kBoxEdgeLeft = 4;   // towards b - 1
inline constexpr uint8_t kBoxEdgeRight = 8;  // towards b + 1

struct SectorBox {
  int Box = -1;
  bool Blocked = false;
  uint8_t Edges = 0;  // none for a sector without a box
};

struct RoomBoxes {
  int NumA = 0, NumB = 0;
  std::vector<SectorBox> Sectors;  // a-major: sector (a, b) at a * NumB + b
  const SectorBox& At(int a, int b) const { return Sectors[static_cast<size_t>(a) * NumB + b]; }
};

// Empty for a room that is not there.
RoomBoxes BuildRoomBoxes(const Level& level, Game gameVersion, int room);

// The box lines drawn over the room map: each border between boxes, and a diagonal across every
// sector of a blocked box (the second game's map does not grey them).
inline constexpr Rgb kBoxOutlineColour{255, 255, 255};

// Draws the boxes' borders and blocked marks over a room's picture, along the same lines the
// sectors' outlines take.
void DrawBoxOutlines(MapImage& image, const RoomBoxes& boxes);

// The picture the map shows with the boxes over it: the room as drawn, the boxes, then the
// selection outline on top, so the selected sector stays marked.
MapImage MapWithBoxes(const Level& level, Game gameVersion, const MapState& state);

// "Box 12 (blocked), overlaps 3, 5, 9", "Box 4, overlaps none", or "No box".
std::string BoxText(const Level& level, Game gameVersion, int room, int a, int b);

// The tooltip for pixel (x, y) of the room map: the sector's text (SectorTooltip) and, while
// the boxes are shown, its box on a last line. Empty off the room's sectors or with no level.
std::string MapTooltip(const Document& doc, const MapState& state, const ObjectNames& names, int x,
                       int y, bool boxesShown);

}  // namespace slab
