#include "map/overview.h"

#include <gtest/gtest.h>

namespace slab {
namespace {

// A room of nx x nz sectors at sector (sx, sz), every floor byte `floor`, Y range as given.
Room MakeRoom(int sx, int sz, int nx, int nz, uint8_t floor, int yBottom, int yTop) {
  Room r;
  r.Info = {sx * 1024, sz * 1024, yBottom, yTop};
  r.NumXSectors = static_cast<int16_t>(nx);
  r.NumZSectors = static_cast<int16_t>(nz);
  r.Sectors.resize(static_cast<size_t>(nx * nz));
  for (Sector& s : r.Sectors) s.Floor = floor;
  return r;
}

Rgb CellColour(const MapImage& image, int cx, int cz) {
  // Outline and fill share the colour, so every pixel of the 4 x 4 square has it.
  const Rgb c = image.Pixel(cx * 4, cz * 4);
  EXPECT_EQ(image.Pixel(cx * 4 + 3, cz * 4 + 3), c);
  return c;
}

TEST(Overview, InnerSectorsAreDrawnAtFourTimesTheirCellWithTheRoomsColour) {
  Level level;
  level.Rooms = {MakeRoom(2, 3, 4, 5, 0, 0, -2048)};
  const MapImage image = DrawLevelOverview(level, 0);
  ASSERT_EQ(image.Width(), 400);
  ASSERT_EQ(image.Height(), 400);
  // Inner sectors x 1..2, z 1..3: cells (3..4, 4..6).
  for (int cx = 3; cx <= 4; ++cx)
    for (int cz = 4; cz <= 6; ++cz)
      EXPECT_EQ(CellColour(image, cx, cz), overview_colour::kSelected);
  // The outer ring is left out; everything else is white.
  EXPECT_EQ(image.Pixel(2 * 4, 3 * 4), overview_colour::kBackground);
  EXPECT_EQ(image.Pixel(5 * 4, 4 * 4), overview_colour::kBackground);
  EXPECT_EQ(image.Pixel(3 * 4, 7 * 4), overview_colour::kBackground);
  EXPECT_EQ(image.Pixel(0, 0), overview_colour::kBackground);
}

TEST(Overview, ColoursCompareEachRoomWithTheSelectedOne) {
  Level level;
  level.Rooms = {MakeRoom(0, 0, 4, 4, 0, 0, -2048),       // selected
                 MakeRoom(10, 0, 4, 4, 0, -2048, -4096),  // YTop above its bottom
                 MakeRoom(20, 0, 4, 4, 0, 2048, -1024),   // YTop -1024 < 0 too
                 MakeRoom(30, 0, 4, 4, 0, 4096, 1024)};   // below: bottom > top
  const MapImage image = DrawLevelOverview(level, 0);
  EXPECT_EQ(CellColour(image, 1, 1), overview_colour::kSelected);
  EXPECT_EQ(CellColour(image, 11, 1), overview_colour::kAbove);
  EXPECT_EQ(CellColour(image, 21, 1), overview_colour::kAbove);
  EXPECT_EQ(CellColour(image, 31, 1), overview_colour::kBelow);
  // Same Y range as the selected room: neither above nor below.
  level.Rooms[3] = MakeRoom(30, 0, 4, 4, 0, -2048, 0);
  EXPECT_EQ(CellColour(DrawLevelOverview(level, 0), 31, 1), overview_colour::kOther);
  // With no room selected nothing is red or grey.
  EXPECT_EQ(CellColour(DrawLevelOverview(level, -1), 1, 1), overview_colour::kOther);
}

TEST(Overview, TheSelectedRoomIsOnTopAndElseTheHighestFloorTakesTheCell) {
  Level level;
  // Floor bytes: 0x10 is 16 clicks down, 0xF0 is 16 clicks up, 0x81 a wall (lowest). Room 0
  // lies above room 3 (grey), room 1 below it (light grey); room 3 is elsewhere.
  level.Rooms = {MakeRoom(0, 0, 3, 3, 0x10, -20000, -21000), MakeRoom(0, 0, 3, 3, 0xF0, 0, -1024),
                 MakeRoom(0, 0, 3, 3, 0x81, 0, -1024), MakeRoom(20, 20, 3, 3, 0, -15000, -16000)};
  for (int selected : {0, 1, 2})
    EXPECT_EQ(CellColour(DrawLevelOverview(level, selected), 1, 1), overview_colour::kSelected);
  EXPECT_EQ(CellColour(DrawLevelOverview(level, 3), 1, 1), overview_colour::kBelow);
  // A room below the origin still shows: an empty cell takes the first floor it gets.
  Level low;
  low.Rooms = {MakeRoom(5, 5, 3, 3, 0x40, 16384, 8192)};
  EXPECT_EQ(CellColour(DrawLevelOverview(low, 0), 6, 6), overview_colour::kSelected);
}

TEST(Overview, SectorsBeyondTheGridAreLeftOut) {
  Level level;
  level.Rooms = {MakeRoom(97, -2, 6, 6, 0, 0, -1024)};
  const MapImage image = DrawLevelOverview(level, 0);
  // Inner x 98..101, z -1..2: only cells (98..99, 1..2) are inside the grid.
  EXPECT_EQ(CellColour(image, 98, 1), overview_colour::kSelected);
  EXPECT_EQ(CellColour(image, 99, 2), overview_colour::kSelected);
  EXPECT_EQ(image.Pixel(98 * 4, 0), overview_colour::kBackground);
}

}  // namespace
}  // namespace slab
