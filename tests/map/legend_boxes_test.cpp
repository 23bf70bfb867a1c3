// The map legend against what the map really draws, and the pathfinding boxes under the
// sectors.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <set>
#include <tuple>

#include "map/box_outlines.h"
#include "map/change_outlines.h"
#include "map/draw_room.h"
#include "map/map_legend.h"
#include "map/sector_tooltip.h"
#include "map_fixture.h"

namespace slab {
namespace {

using Colour = std::tuple<int, int, int>;
Colour Key(Rgb c) { return {c.R, c.G, c.B}; }

class MapExtras : public test::MapFixture {};

// The showcase holds something for every colour; with one blocked box under the loft as a
// third-game level, its four maps with a selection and a changed sector outlined, with and
// without the boxes over them, draw every colour of the legend and no other.
TEST_F(MapExtras, LegendNamesEveryColourTheMapDraws) {
  OpenShowcase();
  doc.GameVersion = Game::TR3;
  // Third-game sectors keep the box number above four bits of material.
  for (Room& room : level().Rooms)
    for (Sector& sector : room.Sectors)
      if (sector.BoxIndex != 0xFFFF) sector.BoxIndex = static_cast<uint16_t>(sector.BoxIndex << 4);
  level().Boxes.push_back({0, 0, 0, 0, 0, static_cast<int16_t>(0x8000)});
  At(2, 2, 2).BoxIndex = static_cast<uint16_t>((level().Boxes.size() - 1) << 4);

  std::set<Colour> drawn;
  for (int room = 0; room < static_cast<int>(level().Rooms.size()); ++room) {
    SelectRoom(doc, state, room);
    state.SelectedSectorX = state.SelectedSectorZ = 1;
    DrawSelection(state);
    OutlineChangedSectors(state.Shown, {{2, 2}});
    const MapImage boxes = MapWithBoxes(level(), doc.GameVersion, state);
    for (const MapImage* image : std::initializer_list<const MapImage*>{&state.Shown, &boxes})
      for (int y = 0; y < image->Height(); ++y)
        for (int x = 0; x < image->Width(); ++x) drawn.insert(Key(image->Pixel(x, y)));
  }
  std::set<Colour> legend;
  for (const LegendEntry& entry : MapLegend(doc.GameVersion)) legend.insert(Key(entry.Colour));
  EXPECT_EQ(drawn, legend);
  // Every fill rule of the colour table has its own line, in the order the rules are tried.
  const auto entries = MapLegend(Game::TR3);
  ASSERT_GE(entries.size(), 3u);
  EXPECT_EQ(entries[0].Colour, map_colour::kBlocked);
  EXPECT_EQ(entries.back().Kind, LegendKind::Outline);
}

// The README's table of fill colours is the legend's, in the same order.
TEST(MapLegend, TheReadmeTableIsTheLegend) {
  std::ifstream in(SLAB_README);
  ASSERT_TRUE(in) << SLAB_README;
  std::vector<std::string> rows;
  for (std::string line; std::getline(in, line);)
    if (line.starts_with("| ") && line.find(", ") != std::string::npos &&
        std::isdigit(static_cast<unsigned char>(line[2])))
      rows.push_back(line.substr(2, line.find(" |") - 2));
  std::vector<std::string> fills;
  for (const LegendEntry& e : MapLegend(Game::TR3))
    if (e.Kind == LegendKind::Fill)
      fills.push_back(std::to_string(e.Colour.R) + ", " + std::to_string(e.Colour.G) + ", " +
                      std::to_string(e.Colour.B));
  EXPECT_EQ(rows, fills);
}

// A third-game room of 3 x 3: two columns of box 0, a column of the blocked box 1, box 2 in
// the middle and no box in one corner.
TEST_F(MapExtras, BoxesUnderTheSectors) {
  const int room = AddRoom(3, 3);
  level().Boxes = {
      {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, static_cast<int16_t>(0x8002)}, {0, 0, 0, 0, 0, 5}};
  level().Overlaps = {static_cast<int16_t>(0x8001), 7, 0, static_cast<int16_t>(0x8005)};
  for (int a = 0; a < 3; ++a) {
    At(room, a, 0).BoxIndex = At(room, a, 1).BoxIndex = 0x0002;
    At(room, a, 2).BoxIndex = 0x0013;
  }
  At(room, 1, 1).BoxIndex = 0x0020;
  At(room, 2, 2).BoxIndex = 0x7FF5;

  const RoomBoxes boxes = BuildRoomBoxes(level(), Game::TR3, room);
  ASSERT_EQ(std::tuple(boxes.NumA, boxes.NumB), std::tuple(3, 3));
  EXPECT_EQ(boxes.At(0, 0).Edges, kBoxEdgeUp | kBoxEdgeLeft);
  EXPECT_EQ(boxes.At(0, 1).Edges, kBoxEdgeUp | kBoxEdgeDown | kBoxEdgeRight);
  EXPECT_EQ(boxes.At(1, 1).Edges, kBoxEdgeUp | kBoxEdgeDown | kBoxEdgeLeft | kBoxEdgeRight);
  EXPECT_EQ(boxes.At(0, 2).Edges, kBoxEdgeUp | kBoxEdgeLeft | kBoxEdgeRight);
  EXPECT_EQ(boxes.At(1, 2).Edges, kBoxEdgeDown | kBoxEdgeLeft | kBoxEdgeRight);
  EXPECT_TRUE(boxes.At(0, 2).Blocked);
  EXPECT_FALSE(boxes.At(0, 0).Blocked);
  EXPECT_EQ(std::tuple(boxes.At(2, 2).Box, boxes.At(2, 2).Edges), std::tuple(-1, 0));

  EXPECT_EQ(BoxText(level(), Game::TR3, room, 0, 0), "Box 0, overlaps 1");
  EXPECT_EQ(BoxText(level(), Game::TR3, room, 0, 2), "Box 1 (blocked), overlaps 0, 5");
  // Its list would start past the end of the overlaps.
  EXPECT_EQ(BoxText(level(), Game::TR3, room, 1, 1), "Box 2, overlaps none");
  EXPECT_EQ(BoxText(level(), Game::TR3, room, 2, 2), "No box");
  EXPECT_EQ(BoxText(level(), Game::TR3, room, 3, 0), "No box");
  EXPECT_EQ(BoxText(level(), Game::TR3, room + 1, 0, 0), "No box");
  // Up to the second game the word is the number itself: 0x13 names no box of three.
  EXPECT_EQ(BoxText(level(), Game::TR2, room, 0, 2), "No box");
  At(room, 0, 2).BoxIndex = 1;
  EXPECT_EQ(BoxText(level(), Game::TR2, room, 0, 2), "Box 1 (blocked), overlaps 0, 5");
  EXPECT_TRUE(BuildRoomBoxes(level(), Game::TR3, room + 1).Sectors.empty());
}

// Over the 3 x 3 room above: white lines only where two boxes (or a box and no box) meet, a
// diagonal across the blocked column, the selection's blue drawn over them, and the room's own
// picture left as it was.
TEST_F(MapExtras, BoxLinesOverTheMap) {
  const int room = AddRoom(3, 3);
  level().Boxes = {{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, static_cast<int16_t>(0x8000)}};
  for (int a = 0; a < 3; ++a) {
    At(room, a, 0).BoxIndex = At(room, a, 1).BoxIndex = 0x0000;
    At(room, a, 2).BoxIndex = 0x0010;
  }
  SelectRoom(doc, state, room);
  state.SelectedSectorX = 0, state.SelectedSectorZ = 1;
  DrawSelection(state);
  const MapImage before = state.Shown;
  const MapImage boxes = MapWithBoxes(level(), Game::TR3, state);
  EXPECT_EQ(state.Shown, before);
  const Rgb white = kBoxOutlineColour;
  // Between the two columns of box 0 no line; between box 0 and the blocked box 1 one.
  EXPECT_NE(boxes.Pixel(9, 15), white);
  EXPECT_EQ(boxes.Pixel(19, 15), white);
  EXPECT_EQ(boxes.Pixel(15, 29), white);  // the room's lower edge
  EXPECT_NE(boxes.Pixel(15, 9), white);   // inside box 0, between rows
  // The blocked box's sectors are crossed, box 0's are not.
  EXPECT_EQ(boxes.Pixel(25, 15), white);
  EXPECT_EQ(boxes.Pixel(15, 15), before.Pixel(15, 15));
  // The selected sector keeps its blue outline on top of the box's border.
  EXPECT_EQ(boxes.Pixel(19, 4), map_colour::kSelection);
  EXPECT_EQ(boxes.Pixel(14, 9), map_colour::kSelection);
  // Without a selection the picture is the room's map with the lines only.
  state.SectorSelected = false;
  const MapImage unselected = MapWithBoxes(level(), Game::TR3, state);
  EXPECT_EQ(unselected.Pixel(19, 4), white);
  EXPECT_EQ(unselected.Pixel(14, 9), state.Map.Pixel(14, 9));
}

// The sample's boxes, one per room, each overlapping the next.
TEST_F(MapExtras, SampleBoxes) {
  OpenShowcase();
  EXPECT_EQ(BoxText(level(), doc.GameVersion, 1, 2, 1), "Box 1, overlaps 0, 2");
  EXPECT_EQ(BoxText(level(), doc.GameVersion, 3, 3, 3), "Box 3, overlaps 1, 2");
  EXPECT_EQ(BoxText(level(), doc.GameVersion, 3, 5, 1), "No box");  // the yard's pillar
}

// The map's tooltip is the sector's text, with its box below while the boxes show.
TEST_F(MapExtras, TheMapTooltipAddsTheBoxWhileTheBoxesShow) {
  OpenShowcase();
  ChooseRoom(doc, state, 1);
  const int x = PixelX(1), y = PixelY(2);
  const std::string sector = SectorTooltip(level(), doc.GameVersion, names, 1, 2, 1);
  ASSERT_FALSE(sector.empty());
  EXPECT_EQ(MapTooltip(doc, state, names, x, y, false), sector);
  EXPECT_EQ(MapTooltip(doc, state, names, x, y, true), sector + "\nBox 1, overlaps 0, 2");
  EXPECT_EQ(MapTooltip(doc, state, names, 299, 299, true), "");  // off the room's sectors
  doc.LevelLoaded = false;
  EXPECT_EQ(MapTooltip(doc, state, names, x, y, true), "");
}

}  // namespace
}  // namespace slab
