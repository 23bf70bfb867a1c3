#include "floordata/sector_panel.h"

#include <gtest/gtest.h>

#include "floor_data_builder.h"

namespace slab {
namespace {

using test::Act;
using test::Fn;

constexpr Rgb kSet = kSetColour, kClear = kClearColour;

// Room 1 is 4 x 9 sectors at (1024, 2048); room 0 has no sectors. Items 0 to 3 stand in
// sector (3, 8): Lara, an id past the name table, a negative id and a door.
class SectorPanelTest : public testing::Test, protected test::LevelBuilder {
 protected:
  SectorPanelTest() : LevelBuilder(level) {
    AddRoom(0, 0);
    AddRoom(4, 9, 1024, 2048);
    for (int16_t id : {3, 501, -3, 12}) AddItemAt(1, 3, 8, id);
    names.Objects[12][4] = "Door";
    names.Objects[3][4] = "Lara";
    names.Statics[5] = "Plant 5";
  }

  SectorPanel Show(int a, int b, bool rebuild = true, bool show = true) {
    auto panel = ShowSector(level, version, names, 1, a, b, rebuild, show);
    EXPECT_TRUE(panel.has_value());
    return panel.value_or(SectorPanel{});
  }
  void List(int a, int b, const std::vector<uint16_t>& list) { ListAt(1, a, b, list); }

  Level level;
  ObjectNames names;
  int version = 4;
};

TEST_F(SectorPanelTest, SectorWithoutFloorDataKeepsTheTriggerPanel) {
  At(1, 2, 3).RoomBelow = 4;
  const SectorPanel panel = Show(2, 3);
  EXPECT_EQ(std::tie(panel.Doors.DoorSide, panel.Doors.DoorBelow, panel.Doors.DoorAbove),
            std::make_tuple("None", "4", "None"));
  EXPECT_EQ(panel.Triggers.FDLabel, " 0 Triggers");
  EXPECT_FALSE(panel.Triggers.TriggerData || panel.Triggers.TriggerTimer ||
               panel.Triggers.TriggerFlags);
}

TEST_F(SectorPanelTest, TriggerLinesTimerAndMask) {
  List(1, 2,
       {Fn(1), 0x0003,                    // portal to room 3
        Fn(4, 2, true), 0x0105 | 0x2A00,  // switch, timer 261, mask bits 0, 2, 4
        Act(0, 3), Act(1, 2), 0, Act(9, 40), Act(15, 1), Act(0, 300, true)});
  At(1, 1, 2).RoomAbove = 0;
  const SectorPanel panel = Show(1, 2);
  EXPECT_EQ(std::tie(panel.Doors.DoorSide, panel.Doors.DoorAbove), std::make_tuple("3", "0"));
  EXPECT_EQ(panel.Triggers.FDLabel, " 5 Triggers");
  ASSERT_TRUE(panel.Triggers.TriggerData);
  // Object 300 names no item: the line goes without its name, and the listing goes on.
  EXPECT_EQ(panel.Triggers.TriggerData->Lines,
            (std::vector<std::string>{"SWITCH for OBJECT 3 (Door)", "SWITCH for CAMERA 2",
                                      "SWITCH for FLIPEFFECT 40", "SWITCH for UNKNOWN 1",
                                      "SWITCH for OBJECT 300"}));
  EXPECT_EQ(panel.Triggers.TriggerData->Selected, 0);
  EXPECT_EQ(panel.Triggers.TriggerTimer, "Timer 261");
  EXPECT_EQ(panel.Triggers.TriggerFlags, (std::array{kSet, kClear, kSet, kClear, kSet}));
}

TEST_F(SectorPanelTest, TriggerTypesAndNamesThatCannotBeFound) {
  const struct {
    std::vector<uint16_t> List;
    int Version;
    std::vector<std::string> Lines;
  } cases[] = {
      {{Fn(4, 6, true), 0, Act(0, 0, true)}, 4, {"ANTITRIGGER for OBJECT 0 (Lara)"}},
      {{Fn(4, 14, true), 0, Act(6, 0, true)}, 4, {"TriggerType 14 for TARGET 0"}},
      {{Fn(4, 1, true), 0, Act(1, 2, true), 0x8000}, 4, {"PAD for CAMERA 2"}},
      {{Fn(4, 0, true), 0, Act(0, 1), Act(0, 2), Act(0, 3, true)},
       4,
       {"TRIGGER for OBJECT 1", "TRIGGER for OBJECT 2", "TRIGGER for OBJECT 3 (Door)"}},
      // A textures-only file has no name column.
      {{Fn(4, 0, true), 0, Act(0, 3, true)}, 31, {"TRIGGER for OBJECT 3"}},
  };
  for (const auto& c : cases) {
    List(1, 1, c.List);
    version = c.Version;
    const TriggersView triggers = Show(1, 1).Triggers;
    ASSERT_TRUE(triggers.TriggerData);
    EXPECT_EQ(triggers.TriggerData->Lines, c.Lines);
  }
  List(1, 1, {Fn(4, 6, true), 0x0005, Act(0, 0, true)});
  const TriggersView one = Show(1, 1).Triggers;
  EXPECT_EQ(one.FDLabel, " 1 Trigger");
  EXPECT_EQ(one.TriggerTimer, "Timer 5");
  EXPECT_EQ(one.TriggerFlags, (std::array<Rgb, 5>{}));
}

TEST_F(SectorPanelTest, HeightsWallsAndFunctionColours) {
  At(1, 2, 2).Floor = 0xFE;
  At(1, 2, 2).Ceiling = 0x80;
  SectorsView sectors = Show(2, 2).Sectors;
  EXPECT_TRUE(!sectors.FloorWall && sectors.HeightsEnabled);
  EXPECT_EQ(std::tie(sectors.FloorHeight, sectors.CeilingHeight), std::make_tuple("254", "128"));
  At(1, 2, 2).Floor = 0x81;
  sectors = Show(2, 2).Sectors;
  EXPECT_TRUE(sectors.FloorWall && !sectors.HeightsEnabled);
  EXPECT_EQ(std::tie(sectors.FloorHeight, sectors.CeilingHeight), std::make_tuple("", ""));
  EXPECT_EQ(At(1, 2, 2).Floor, 0x81);  // showing a wall changes nothing

  // {list, function 20, function 21, minecart stop}
  for (auto [list, fd20, fd21, stop] :
       {std::tuple{std::vector<uint16_t>{}, kClear, kClear, kClear},
        {{Fn(21, 0, true)}, kClear, kSet, kClear},
        {{Fn(20), Fn(21, 0, true)}, kSet, kSet, kSet},
        {{Fn(20), Fn(4, 0, true), 0, Act(0, 0, true)}, kSet, kClear, kClear}}) {
    if (!list.empty()) List(1, 3, list);
    sectors = Show(1, 3).Sectors;
    EXPECT_EQ(std::tie(sectors.FD20, sectors.FD21, sectors.MinecartStop),
              std::tie(fd20, fd21, stop));
  }
}

TEST_F(SectorPanelTest, ItemsAndStaticMeshesOnTheSector) {
  const int first = AddItemAt(1, 1, 1, 3);
  AddItemAt(1, 2, 2, 3);
  level.Items[AddItemAt(1, 1, 1, 3)].Room = 0;  // same place, other room
  const int ai = AddAIAt(1, 1, 1);
  const Item& at = level.Items[first];
  level.Rooms[1].StaticMeshes = {{at.X, 0, at.Z, 0, 0, 0, 5}, {at.X, 0, at.Z, 0, 0, 0, 6}};

  SectorPanel panel = Show(1, 1);
  ASSERT_TRUE(panel.Items && panel.Statics);
  EXPECT_TRUE(panel.Items->SecItemCntVisible && panel.Statics->Visible);
  EXPECT_EQ(panel.Items->SecItemCnt, "2 items");
  EXPECT_EQ(panel.Items->SecCurItem->Lines, (std::vector<std::string>{"Item 4", "AI 0"}));
  EXPECT_EQ(panel.Items->Entities, (std::vector<int>{first, ai}));
  EXPECT_EQ(std::tie(panel.Statics->NumStatic, panel.Statics->StaticID),
            std::make_tuple("2 Static Meshes", "Plant 5"));
  // A second-game level names its statics from its own game's table.
  names.GameStatics[2] = ObjectNames::DefaultStaticNames();
  version = 2;
  EXPECT_EQ(Show(1, 1).Statics->StaticID, "Mesh 5");

  level.Items[first].X += 1;  // one unit off the centre: not on the sector
  level.Rooms[1].StaticMeshes.pop_back();
  panel = Show(1, 1);
  EXPECT_EQ(std::tie(panel.Items->SecItemCnt, panel.Statics->NumStatic),
            std::make_tuple("1 item", "1 Static Mesh"));

  panel = Show(0, 0);
  EXPECT_FALSE(panel.Items->SecItemCntVisible || panel.Items->SecItemCnt || panel.Statics->Visible);
  EXPECT_FALSE(Show(1, 1, false).Items->SecCurItem);
  panel = Show(1, 1, true, false);
  EXPECT_FALSE(panel.Items || panel.Statics);
}

TEST_F(SectorPanelTest, NothingToShowOutsideTheRoom) {
  // Past A, before B, no such room, a room without sectors.
  for (auto [room, a, b] : {std::tuple{1, 4, 0}, {1, 0, -1}, {2, 0, 0}, {0, 0, 0}})
    EXPECT_FALSE(ShowSector(level, version, names, room, a, b, true, true)) << room << a << b;
}

}  // namespace
}  // namespace slab
