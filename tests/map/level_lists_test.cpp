// The level-wide item and trigger lists, their filter and the sector tooltip on the sample
// level, where every row is known (every real level is checked in real_level_tables_test).
#include "map/level_lists.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "floordata/sector_contents.h"
#include "floordata/sector_panel.h"
#include "level/text.h"
#include "map/sector_tooltip.h"
#include "map/trigger_index.h"
#include "map_fixture.h"

namespace slab {
namespace {

using test::kShowcaseSwitch;

class ShowcaseLists : public test::MapFixture {
 protected:
  void SetUp() override {
    OpenShowcase();
    for (auto [id, name] :
         {std::pair{106, "Door 1"}, {104, "Wall Switch"}, {39, "Tiger"}, {64, "Slamming Door"}})
      names.Objects[id][GameNumber(Game::TR2)] = name;
  }
  std::vector<ItemRow> Items() {
    return BuildItemRows(level(), doc.GameVersion, names, BuildTriggerIndex(level()));
  }
  std::vector<TriggerRow> Triggers() { return BuildTriggerRows(level(), doc.GameVersion, names); }
};

// Each item's sector is the one its panel lists it on, named from 0 as every list names it
// (the caption alone counts from -1); AI objects follow the items; an item outside the rooms
// has no sector.
TEST_F(ShowcaseLists, ItemRowsAndTheirSectors) {
  level().AIObjects.push_back({39, 1, 7 * 1024 + 512, 0, 2 * 1024 + 512, 7, 0x3E, 0});  // a corner
  level().Items[kShowcaseSwitch].Room = 99;
  const auto rows = Items();
  ASSERT_EQ(rows.size(), 9u);
  constexpr auto kSector = static_cast<int>(ItemColumn::Sector);
  EXPECT_EQ(std::tuple(rows[8].IsAI, rows[8].Entity, rows[8].Cells[0], rows[8].Cells[kSector]),
            std::tuple(true, 8, "AI 0", "0,0"));
  EXPECT_EQ(rows[kShowcaseSwitch].Cells[kSector], "-");
  for (const ItemRow& row : rows) {
    if (!row.HasRoom) continue;
    const auto on = EntitiesOnSector(level(), row.Room, row.SectorX, row.SectorZ);
    EXPECT_NE(std::find(on.begin(), on.end(), row.Entity), on.end()) << row.Entity;
    const auto panel =
        ShowSector(level(), doc.GameVersion, names, row.Room, row.SectorX, row.SectorZ, true, true);
    ASSERT_TRUE(panel);
    EXPECT_EQ(row.Cells[kSector], std::to_string(row.SectorX) + "," + std::to_string(row.SectorZ));
    EXPECT_EQ(panel->Sectors.SecInf,
              "Sector Info [Sector " + SectorLabel(row.SectorX, row.SectorZ) + "]");
  }
}

TEST_F(ShowcaseLists, TriggerRowsSplitThePanelsLines) {
  const auto rows = Triggers();
  for (const TriggerRow& row : rows)
    EXPECT_EQ(row.Cells[2] + " for " + row.Cells[3],
              TriggerLine(row.Entry, level(), doc.GameVersion, names));
  // The wall switch at (2, 5) of the hall opens the door and shows camera 0.
  std::vector<std::vector<std::string>> atSwitch;
  for (const TriggerRow& row : rows)
    if (row.Room == 0 && row.X == 2 && row.Z == 5) atSwitch.push_back(row.Cells);
  // Its sector reads from 0, where the panel's caption says "Sector Info [Sector 1,4]".
  EXPECT_EQ(atSwitch, (std::vector<std::vector<std::string>>{
                          {"0", "2,5", "SWITCH", "OBJECT 2 (Wall Switch)", "104 Wall Switch"},
                          {"0", "2,5", "SWITCH", "OBJECT 1 (Door 1)", "106 Door 1"},
                          {"0", "2,5", "SWITCH", "CAMERA 0", ""}}));
}

// Any case, within one cell, the sector column too; with a type both must hold.
TEST_F(ShowcaseLists, FilterKeepsExactlyTheMatchingRows) {
  const auto items = Items();
  for (auto [text, type, rows] : {std::tuple{"", kAnyType, std::vector{0, 1, 2, 3, 4, 5, 6, 7}},
                                  {"door", kAnyType, {1, 6}},
                                  {"DOOR 1", kAnyType, {1}},
                                  {"", 106, {1}},
                                  {"door", 104, {}},
                                  {"6,4", kAnyType, {1}}})
    EXPECT_EQ(MatchingRows(items, {text, type}), rows) << text << " " << type;
  const auto triggers = Triggers();
  EXPECT_EQ(MatchingRows(triggers, {"switch", kAnyType}), MatchingRows(triggers, {"", 2}));
}

TEST_F(ShowcaseLists, TooltipSaysWhatThePanelsSay) {
  const struct {
    int Room, A, B;
    std::vector<std::string> Parts;
  } cases[] = {
      {0,
       2,
       5,
       {"Room 0, Sector 2,5\n", "SWITCH for OBJECT 1 (Door 1)", "Timer 0", "1 item",
        "Item 2 - 104 Wall Switch"}},
      {0, 5, 5, {"Room 0, Sector 5,5\n", "1 Static Mesh", "Item 7 - 67"}},
      {1, 2, 1, {"Room 1, Sector 2,1\n", "Item 3 - 39 Tiger", "Below None"}},
      {0, 0, 0, {"Room 0, Sector 0,0\n", "\nWall\n"}},
  };
  for (const auto& c : cases) {
    const std::string tip = SectorTooltip(level(), doc.GameVersion, names, c.Room, c.A, c.B);
    EXPECT_EQ(tip.rfind(c.Parts[0], 0), 0u) << tip;
    for (const std::string& part : c.Parts)
      EXPECT_NE(tip.find(part), std::string::npos) << part << " in\n" << tip;
  }
  for (auto [room, a, b] : {std::tuple{0, 8, 0}, {4, 0, 0}, {-1, 0, 0}})
    EXPECT_EQ(SectorTooltip(level(), doc.GameVersion, names, room, a, b), "");
}

}  // namespace
}  // namespace slab
