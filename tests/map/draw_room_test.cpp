// The map pictures pixel by pixel: a room's sectors, the level overview, and the PNG file.
#include "map/draw_room.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "map/overview.h"
#include "map/write_png.h"
#include "map_fixture.h"

namespace slab {
namespace {

using test::Act;
using test::Fn;
namespace colour = map_colour;

class DrawRoomTest : public test::MapFixture {
 protected:
  MapImage Draw(int room = 0) { return DrawRoom(level(), doc.GameVersion, room); }
  static Rgb Cell(const MapImage& image, int a, int b) { return image.Pixel(PixelX(b), PixelY(a)); }
};

TEST_F(DrawRoomTest, ColourRulesInTheirOrder) {
  AddRoom(6, 6);
  ListAt(0, 1, 1, {Fn(19, 0, true)});                                     // monkey swing
  ListAt(0, 1, 2, {Fn(20), Fn(21), Fn(4, 2, true), 0, Act(0, 0, true)});  // stop, trigger
  ListAt(0, 1, 3, {Fn(20, 0, true)});                                     // left turn
  ListAt(0, 1, 4, {Fn(21, 0, true)});                                     // right turn
  ListAt(0, 2, 1, {Fn(5, 0, true)});                                      // kill
  ListAt(0, 2, 2, {Fn(4, 0, true), 0, Act(0, 0, true)});                  // trigger
  At(0, 2, 3).RoomBelow = 3;
  At(0, 2, 4).Floor = 0x81;
  At(0, 3, 1).Floor = At(0, 3, 1).Ceiling = 0x20;
  ListAt(0, 0, 2, {Fn(1, 0, true), 7});  // a portal in the outer ring
  ListAt(0, 5, 5, {Fn(1, 0, true), 7});  // a portal in a corner is still a corner
  // A blocked box is dark grey in third-game levels only, over the trigger.
  level().Boxes.resize(3);
  level().Boxes[2].OverlapIndex = static_cast<int16_t>(0x8004);
  At(0, 3, 2).BoxIndex = 2 * 16;
  ListAt(0, 3, 2, {Fn(4, 0, true), 0, Act(0, 0, true)});
  At(0, 3, 3).BoxIndex = 1 * 16;  // a box that is not blocked
  for (Game version : {Game::TR2, Game::TR3}) {
    doc.GameVersion = version;
    const MapImage image = Draw();
    for (auto [a, b, want] : {std::tuple{1, 1, colour::kMonkey},
                              {1, 2, colour::kMinecartStop},
                              {1, 3, colour::kFunction20},
                              {1, 4, colour::kFunction21},
                              {2, 1, colour::kKill},
                              {2, 2, colour::kTrigger},
                              {2, 3, colour::kPortal},
                              {2, 4, colour::kWall},
                              {3, 1, colour::kWall},
                              {3, 2, version == Game::TR3 ? colour::kBlocked : colour::kTrigger},
                              {3, 3, colour::kFloor},
                              {0, 2, colour::kPortal},
                              {0, 3, colour::kOuterWall},
                              {5, 5, colour::kOuterWall}})
      EXPECT_EQ(Cell(image, a, b), want) << a << "," << b << " in game " << GameNumber(version);
    // Nothing is drawn right of or below the last sector's outline.
    EXPECT_EQ(image.Pixel(60, 5), kClearColour);
    EXPECT_EQ(image.Pixel(5, 60), kClearColour);
  }
}

TEST_F(DrawRoomTest, MarkersOnlyAtExactSectorCentres) {
  AddRoom(5, 5, 2048, 4096);
  AddItemAt(0, 1, 1);
  AddItemAt(0, 1, 2, 0, 1);  // one unit off the centre
  AddAIAt(0, 2, 1);
  AddItemAt(0, 3, 3);
  level().Rooms[0].StaticMeshes.push_back({2048 + 3 * 1024 + 512, 0, 4096 + 3 * 1024 + 512});
  level().Rooms[0].StaticMeshes.push_back({2048 + 1 * 1024 + 512, 0, 4096 + 3 * 1024 + 512});
  const MapImage image = Draw();
  auto marker = [&](int a, int b, int dx, int dy) {
    return image.Pixel(10 * b + 3 + dx, 10 * a + 3 + dy);
  };
  // A 4 x 4 box three pixels into the sector; item and static mesh: cyan above, blue below.
  for (int d = 0; d < 4; ++d) {
    EXPECT_EQ(marker(1, 1, d, d), colour::kItemMarker);
    EXPECT_EQ(marker(2, 1, d, 3 - d), colour::kItemMarker);  // AI objects count as items
    EXPECT_EQ(marker(1, 3, d, d), colour::kStaticMarker);
    EXPECT_EQ(marker(1, 2, d, d), colour::kFloor);
    EXPECT_EQ(marker(3, 3, d, 1), colour::kItemMarker);
    EXPECT_EQ(marker(3, 3, d, 2), colour::kStaticMarker);
  }
  EXPECT_EQ(marker(1, 1, 4, 4), colour::kFloor);
}

TEST_F(DrawRoomTest, RoomOfFortySectorsGrowsThePictureAndTheTable) {
  AddRoom(40, 32);
  ListAt(0, 38, 30, {Fn(5, 0, true)});
  SelectRoom(doc, state, 0);
  EXPECT_EQ(std::tuple(state.Map.Width(), state.Map.Height(), state.Table.Height),
            std::tuple(320, 400, 401));
  EXPECT_EQ(std::tuple(state.Map.UsedWidth(), state.Map.UsedHeight()), std::tuple(320, 400));
  EXPECT_EQ(state.Map.Pixel(PixelX(30), PixelY(38)), colour::kKill);
  EXPECT_EQ(state.Map.Pixel(PixelX(31), PixelY(39)), colour::kOuterWall);
  const auto click = SelectSectorAt(doc, state, names, 305, 385, kLeftButton, 0);
  ASSERT_TRUE(click && click->Panel);
  EXPECT_EQ(std::tuple(state.SelectedSectorX, state.SelectedSectorZ), std::tuple(38, 30));
}

// The view fits the room's corner of the picture to its pane, never less than one sector.
TEST_F(DrawRoomTest, TheUsedAreaIsTheRoomsCornerOfThePicture) {
  EXPECT_EQ(std::tuple(Draw(3).UsedWidth(), Draw(3).UsedHeight()), std::tuple(300, 300));
  AddRoom(4, 7);
  AddRoom(0, 3);
  const MapImage small = Draw(0), empty = Draw(1);
  EXPECT_EQ(std::tuple(small.Width(), small.UsedWidth(), small.UsedHeight()),
            std::tuple(300, 70, 40));
  EXPECT_EQ(std::tuple(empty.UsedWidth(), empty.UsedHeight()), std::tuple(30, 10));
}

TEST_F(DrawRoomTest, UnknownRoomAndDamagedCountsDrawSafely) {
  EXPECT_EQ(Draw(3).Width(), 300);
  AddRoom(2, 2);
  level().Rooms[0].NumXSectors = 30000;  // more than its sectors hold
  const MapImage image = Draw();
  EXPECT_EQ(image.Height(), kSectorPixels * kMaxMapSectors);
  EXPECT_EQ(image.Pixel(PixelX(1), PixelY(1)), colour::kOuterWall);
  EXPECT_EQ(image.Pixel(PixelX(0), PixelY(5)), kClearColour);  // no such sector stored
}

// A room of nx x nz sectors at sector (sx, sz), every floor byte `floor`, Y range as given.
Room OverviewRoom(int sx, int sz, int nx, int nz, uint8_t floor, int yBottom, int yTop) {
  Room r;
  r.Info = {sx * 1024, sz * 1024, yBottom, yTop};
  r.NumXSectors = static_cast<int16_t>(nx);
  r.NumZSectors = static_cast<int16_t>(nz);
  r.Sectors.assign(static_cast<size_t>(nx * nz), Sector{0, 0, 0, floor, 0, 0});
  return r;
}

// The middle of a 4 x 4 cell: its edges may carry the room's outline. Cell z is the column
// and cell x the row, as sector (x, z) lies on the room map.
Rgb OverviewCell(const MapImage& image, int cx, int cz) {
  EXPECT_EQ(image.Pixel(cz * 4 + 2, cx * 4 + 2), image.Pixel(cz * 4 + 1, cx * 4 + 1));
  return image.Pixel(cz * 4 + 1, cx * 4 + 1);
}

TEST(Overview, InnerSectorsInTheirRoomsColourClippedToTheGrid) {
  Level level;
  level.Rooms = {OverviewRoom(2, 3, 4, 5, 0, 0, -2048),       // selected
                 OverviewRoom(10, 0, 4, 4, 0, -2048, -4096),  // YTop above its bottom
                 OverviewRoom(20, 0, 4, 4, 0, 2048, -1024),   // YTop -1024 < 0 too
                 OverviewRoom(30, 0, 4, 4, 0, 4096, 1024),    // below: bottom > top
                 OverviewRoom(40, 0, 4, 4, 0, -2048, 0),      // the same Y range
                 OverviewRoom(97, -2, 6, 6, 0, 0, -1024)};    // over two edges of the grid
  const MapImage image = DrawLevelOverview(level, 0);
  ASSERT_EQ(std::tuple(image.Width(), image.Height()), std::tuple(400, 400));
  // Inner sectors x 1..2, z 1..3 of room 0: cells (3..4, 4..6); the outer ring left out.
  for (int cx = 3; cx <= 4; ++cx)
    for (int cz = 4; cz <= 6; ++cz)
      EXPECT_EQ(OverviewCell(image, cx, cz), overview_colour::kSelected);
  for (auto [cx, cz] : {std::pair{2, 3}, {5, 4}, {3, 7}, {0, 0}, {98, 0}})
    EXPECT_EQ(image.Pixel(cz * 4, cx * 4), overview_colour::kBackground) << cx << "," << cz;
  for (auto [cx, want] : {std::pair{11, overview_colour::kAbove},
                          {21, overview_colour::kAbove},
                          {31, overview_colour::kBelow},
                          {41, overview_colour::kOther}})
    EXPECT_EQ(OverviewCell(image, cx, 1), want) << cx;
  EXPECT_NE(OverviewCell(image, 99, 2), overview_colour::kBackground);  // the part inside
  // With no room selected nothing is red or grey.
  EXPECT_EQ(OverviewCell(DrawLevelOverview(level, -1), 3, 4), overview_colour::kOther);
}

// A click reads the room the picture shows at that pixel: the selected one where it lies over
// another, the lowest floor elsewhere, nothing on the background or off the picture.
TEST(Overview, PixelsLeadToTheRoomsDrawnThere) {
  Level level;
  level.Rooms = {OverviewRoom(2, 3, 4, 5, 0, 0, -2048), OverviewRoom(3, 4, 4, 4, 0xFE, 0, -2048),
                 OverviewRoom(3, 4, 4, 4, 0x02, 0, -2048), OverviewRoom(60, 70, 3, 3, 0, 0, -1)};
  for (int selected : {0, 1, -1}) {
    const MapImage image = DrawLevelOverview(level, selected);
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x) {
        const int room = OverviewRoomAt(level, selected, x, y);
        const Rgb pixel = image.Pixel(x, y);
        ASSERT_EQ(room == -1, pixel == overview_colour::kBackground) << x << "," << y;
        if (room >= 0 && pixel != overview_colour::kOutline) {
          ASSERT_EQ(room == selected, pixel == overview_colour::kSelected) << x << "," << y;
        }
      }
  }
  // Cell (4, 5) holds rooms 0, 1 and 2: the selected room wins, else the lowest floor (room 2,
  // two clicks down).
  EXPECT_EQ(OverviewRoomAt(level, 0, 5 * 4 + 1, 4 * 4 + 2), 0);
  EXPECT_EQ(OverviewRoomAt(level, 1, 5 * 4 + 1, 4 * 4 + 2), 1);
  EXPECT_EQ(OverviewRoomAt(level, -1, 5 * 4 + 1, 4 * 4 + 2), 2);
  // Room 3's single inner sector, cell (61, 71): column 71, row 61.
  EXPECT_EQ(OverviewRoomAt(level, 0, 71 * 4, 61 * 4 + 3), 3);
  EXPECT_EQ(OverviewRoomAt(level, 0, 61 * 4, 71 * 4), -1);
  for (auto [x, y] : {std::pair{-1, 20}, {20, -1}, {400, 20}, {20, 400}})
    EXPECT_EQ(OverviewRoomAt(level, 0, x, y), -1);
}

using WritePngTest = test::TempFolderTest;

TEST_F(WritePngTest, PictureReadsBackPixelForPixel) {
  MapImage image(320, 300);
  image.SetOutlineColour({1, 2, 3});
  image.SetFillColour({200, 100, 50});
  image.DrawBox(5, 6, 40, 30);
  const auto path = dir_ / "map.png";
  std::string error;
  ASSERT_TRUE(WritePng(image, path, error)) << error;

  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  ASSERT_NE(png_image_begin_read_from_file(&png, path.string().c_str()), 0);
  png.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(png));
  ASSERT_NE(png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr), 0);
  EXPECT_EQ(std::tuple(png.width, png.height), std::tuple(320u, 300u));
  EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), image.Bytes().begin(), image.Bytes().end()));

  EXPECT_FALSE(WritePng(image, "/nonexistent-folder/x.png", error));
  EXPECT_NE(error.find("/nonexistent-folder/x.png"), std::string::npos);
}

}  // namespace
}  // namespace slab
