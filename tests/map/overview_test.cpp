// The overview seen from above on real and made-up levels: which room a cell shows and a
// click picks, repeated clicks stepping through a stack, the rooms' outlines, and what a
// screen reader hears for the selection.
#include "map/overview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "floordata/walkers.h"
#include "map/selection_description.h"
#include "map_fixture.h"
#include "support/real_levels.h"

namespace slab {
namespace {

// A room of nx x nz sectors at sector (sx, sz) whose inner floors are `floor`, with nothing
// below them unless `below` names a room.
Room Stacked(int sx, int sz, int nx, int nz, int8_t floor, uint8_t below = kNoRoom) {
  Room r;
  r.Info = {sx * 1024, sz * 1024, 0, -4096};
  r.NumXSectors = static_cast<int16_t>(nx);
  r.NumZSectors = static_cast<int16_t>(nz);
  r.Sectors.assign(static_cast<size_t>(nx * nz),
                   Sector{0, 0, below, static_cast<uint8_t>(floor), kNoRoom, kWallMarker});
  return r;
}

// Pixel (x, y) of the middle of cell (cx, cz): column cz, row cx.
constexpr int PixelX(int cz) { return cz * kOverviewCellPixels + 1; }
constexpr int PixelY(int cx) { return cx * kOverviewCellPixels + 2; }

// A sky over two floors, one above the other, and a wall: the lower floor shows and is picked
// first, then the upper one; the sky and the wall hide nothing and come last.
TEST(OverviewStack, FloorsFirstLowestOnTopAndClicksStepUpThroughThem) {
  Level level;
  level.Rooms = {Stacked(10, 10, 5, 5, -20, 1),  // 0: the sky, open onto room 1 below
                 Stacked(10, 10, 5, 5, 0),       // 1: ground floor
                 Stacked(10, 10, 5, 5, -8),      // 2: a loft, two clicks up
                 Stacked(10, 10, 5, 5, -30)};    // 3: solid wall, as high as anything
  for (Sector& s : level.Rooms[3].Sectors) s.Floor = kWallMarker;
  const int x = PixelX(12), y = PixelY(12);
  EXPECT_EQ(OverviewStack(level, x, y), (std::vector<int>{1, 2, 3, 0}));
  // Nothing selected there: the ground floor, as it is drawn.
  EXPECT_EQ(OverviewRoomAt(level, -1, x, y), 1);
  EXPECT_EQ(OverviewPick(level, -1, x, y), 1);
  // Each click on the room just chosen goes one further up and comes round again.
  int room = -1;
  std::vector<int> visited;
  for (int click = 0; click < 5; ++click) visited.push_back(room = OverviewPick(level, room, x, y));
  EXPECT_EQ(visited, (std::vector<int>{1, 2, 3, 0, 1}));
  // The selected room is drawn over the others, so a click there is the click that steps on.
  EXPECT_EQ(OverviewRoomAt(level, 0, x, y), 0);
  // The outer ring belongs to no cell; off the grid nothing is picked.
  EXPECT_TRUE(OverviewStack(level, PixelX(10), PixelY(12)).empty());
  EXPECT_EQ(OverviewPick(level, 1, PixelX(10), PixelY(12)), -1);
  EXPECT_EQ(OverviewPick(level, 1, -1, 5), -1);
}

// Two rooms side by side in one colour still read as two: a dark edge runs where they meet and
// round the outside, never through a room.
TEST(OverviewStack, EveryRoomIsOutlined) {
  Level level;
  level.Rooms = {Stacked(10, 10, 4, 4, 0), Stacked(10, 12, 4, 4, 0), Stacked(30, 30, 3, 3, 0)};
  const MapImage image = DrawLevelOverview(level, -1);
  // Room 0's inner cells are (11..12, 11..12), room 1's (11..12, 13..14): they meet between
  // columns 12 and 13.
  const int row = PixelY(11);
  EXPECT_EQ(image.Pixel(12 * 4 + 3, row), overview_colour::kOutline);
  EXPECT_EQ(image.Pixel(13 * 4, row), overview_colour::kOutline);
  EXPECT_EQ(image.Pixel(12 * 4 + 1, row), overview_colour::kOther);
  // Inside a room no edge: between cells 11 and 12 of room 0.
  EXPECT_EQ(image.Pixel(11 * 4 + 3, row), overview_colour::kOther);
  EXPECT_EQ(image.Pixel(12 * 4, row), overview_colour::kOther);
  // A room of one cell is ringed on all four sides and keeps its colour inside.
  for (auto [x, y] : {std::pair{31 * 4, 31 * 4 + 1},
                      {31 * 4 + 3, 31 * 4 + 2},
                      {31 * 4 + 1, 31 * 4},
                      {31 * 4 + 2, 31 * 4 + 3}})
    EXPECT_EQ(image.Pixel(x, y), overview_colour::kOutline) << x << "," << y;
  EXPECT_EQ(image.Pixel(31 * 4 + 1, 31 * 4 + 2), overview_colour::kOther);
}

// On every real level: a click picks a room that has a sector on the cell, a floor one can
// stand on wherever the cell has one (never a sky above it), the one drawn there, and as many
// clicks as the stack holds come back to where they began. In assault.tr2 that keeps the large
// room 38 high above from taking the clicks meant for the rooms under it.
TEST(OverviewStack, OnRealLevelsAClickPicksAFloorAndCyclesTheStack) {
  SLAB_REQUIRE_REAL_LEVELS();
  int stacks = 0;
  for (const auto& file : test::RealLevels({"tr1/", "tr2/", "tr3/", "tr4/", "tr5/"})) {
    SCOPED_TRACE(file.string());
    auto loaded = test::LoadFile(file);
    if (!loaded->Result.Loaded) continue;
    const Level& level = loaded->Result.Lvl;
    const MapImage drawn = DrawLevelOverview(level, -1);
    const bool assault = file.filename().string().find("assault") != std::string::npos;
    int under = 0;
    for (int cx = 1; cx < kOverviewCells; ++cx) {
      for (int cz = 1; cz < kOverviewCells; ++cz) {
        const int x = PixelX(cz), y = PixelY(cx);
        const std::vector<int> stack = OverviewStack(level, x, y);
        ASSERT_EQ(stack.empty(), drawn.Pixel(x, y) == overview_colour::kBackground);
        if (stack.empty()) continue;
        ++stacks;
        const auto floorOf = [&](int room) {
          const Room& r = level.Rooms[static_cast<size_t>(room)];
          const int sx = cx - r.Info.X / kSectorUnits, sz = cz - r.Info.Z / kSectorUnits;
          const Sector& s = r.SectorAt(sx, sz);
          return s.Floor != kWallMarker && s.Floor != s.Ceiling && s.RoomBelow == kNoRoom;
        };
        const bool anyFloor = std::any_of(stack.begin(), stack.end(), floorOf);
        // Assault's room 38 lies high over rooms with floors of their own.
        if (assault && std::find(stack.begin(), stack.end(), 38) != stack.end() &&
            std::any_of(stack.begin(), stack.end(), [&](int r) { return r != 38 && floorOf(r); })) {
          ++under;
          EXPECT_NE(OverviewPick(level, -1, x, y), 38) << cx << "," << cz;
        }
        const int first = OverviewPick(level, -1, x, y);
        ASSERT_EQ(first, stack.front());
        ASSERT_EQ(floorOf(first), anyFloor) << "cell " << cx << "," << cz;
        int room = first;
        std::set<int> seen{room};
        for (size_t click = 1; click < stack.size(); ++click)
          seen.insert(room = OverviewPick(level, room, x, y));
        ASSERT_EQ(seen.size(), stack.size());
        ASSERT_EQ(OverviewPick(level, room, x, y), first);
      }
    }
    if (assault) {
      EXPECT_GT(under, 0);
    }
  }
  EXPECT_GT(stacks, 0);
}

class SelectionDescriptionTest : public test::MapFixture {};

// What the map and the 3D view say: the room alone, or the sector from 0 with what is on it.
TEST_F(SelectionDescriptionTest, TheRoomAndTheSectorWithWhatIsOnIt) {
  AddRoom(6, 5);
  ListAt(0, 2, 1, {test::Fn(4, 0, true), 0, test::Act(0, 0, true)});
  ListAt(0, 0, 3, {test::Fn(1, 0, true), 1});
  At(0, 3, 3).RoomBelow = 2;
  At(0, 4, 3).Floor = kWallMarker;
  AddItemAt(0, 2, 1);
  AddItemAt(0, 2, 1);
  EXPECT_EQ(SelectionDescription(level(), 0, std::nullopt), "Room 0");
  EXPECT_EQ(SelectionDescription(level(), 0, GridCell{2, 1}),
            "Room 0, sector 2,1: floor, trigger, 2 items");
  EXPECT_EQ(SelectionDescription(level(), 0, GridCell{0, 0}), "Room 0, sector 0,0: outer wall");
  EXPECT_EQ(SelectionDescription(level(), 0, GridCell{0, 3}), "Room 0, sector 0,3: door to room 1");
  EXPECT_EQ(SelectionDescription(level(), 0, GridCell{3, 3}),
            "Room 0, sector 3,3: floor, room 2 below");
  EXPECT_EQ(SelectionDescription(level(), 0, GridCell{4, 3}), "Room 0, sector 4,3: wall");
  // A place the room does not have reads as the room alone.
  EXPECT_EQ(SelectionDescription(level(), 0, GridCell{9, 0}), "Room 0");
  EXPECT_EQ(SelectionDescription(level(), 4, std::nullopt), "No room");
}

}  // namespace
}  // namespace slab
