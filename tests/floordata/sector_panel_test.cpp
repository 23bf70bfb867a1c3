#include "floordata/sector_panel.h"

#include <gtest/gtest.h>

#include "floor_data_builder.h"

namespace slab {
namespace {

using test::Act;
using test::Fn;

// Room 1 is 4 x 9 sectors at (1024, 2048); room 0 has no sectors. Items 0 to 3 stand in
// sector (3, 8): an unnamed one, an id past the name table, a negative id and a door.
struct LevelHolder {
  Level level;
};
class SectorPanelTest : public testing::Test, protected LevelHolder, protected test::LevelBuilder {
 protected:
  SectorPanelTest() : LevelBuilder(level) {
    AddRoom(0, 0);
    AddRoom(4, 9, 1024, 2048);
    for (int16_t id : {3, 501, -3, 12}) AddItemAt(1, 3, 8, id);
    names.Objects[12][4] = "Door";
    names.Statics[5] = "Plant 5";
  }

  SectorPanel Show(int x, int z) {
    auto panel = ShowSector(level, version, names, 1, x, z, true, true);
    EXPECT_TRUE(panel.has_value());
    return panel.value_or(SectorPanel{});
  }

  ObjectNames names;
  Game version = Game::TR4;
};

TEST_F(SectorPanelTest, TriggerLinesTimerAndMask) {
  ListAt(
      1, 1, 2,
      {Fn(1), 0x0003,                    // portal to room 3
       Fn(4, 2, true), 0x0105 | 0x2A00,  // switch, timer 261, mask bits 0, 2, 4
       Act(0, 3), Act(1, 2), 0, Act(9, 40), Act(15, 1), Act(0, 1), Act(0, 2), Act(0, 300, true)});
  const SectorPanel panel = Show(1, 2);
  EXPECT_EQ(panel.Triggers.FDLabel, " 7 Triggers");
  ASSERT_TRUE(panel.Triggers.TriggerData);
  // Items 1 and 2 have ids past the name table and negative, object 300 is no item: their
  // lines go without a name, and the listing goes on.
  EXPECT_EQ(panel.Triggers.TriggerData->Lines,
            (std::vector<std::string>{"SWITCH for OBJECT 3 (Door)", "SWITCH for CAMERA 2",
                                      "SWITCH for FLIPEFFECT 40", "SWITCH for UNKNOWN 1",
                                      "SWITCH for OBJECT 1", "SWITCH for OBJECT 2",
                                      "SWITCH for OBJECT 300"}));
  EXPECT_EQ(panel.Triggers.TriggerTimer, "Timer 261");
  EXPECT_EQ(panel.Triggers.TriggerFlags,
            (std::array{kSetColour, kClearColour, kSetColour, kClearColour, kSetColour}));
  EXPECT_FALSE(Show(2, 3).Triggers.TriggerData);  // no list at all
}

TEST_F(SectorPanelTest, EntitiesExactlyOnTheSectorCentre) {
  const int first = AddItemAt(1, 1, 1, 3);
  AddItemAt(1, 2, 2, 3);
  level.Items[AddItemAt(1, 1, 1, 3)].Room = 0;  // same place, other room
  AddItemAt(1, 1, 1, 3, 1);                     // one unit off the centre
  const int ai = AddAIAt(1, 1, 1);
  const Item& at = level.Items[first];
  level.Rooms[1].StaticMeshes = {{at.X, 0, at.Z, 0, 0, 0, 5}, {at.X + 1024, 0, at.Z, 0, 0, 0, 6}};
  const SectorPanel panel = Show(1, 1);
  ASSERT_TRUE(panel.Items && panel.Statics);
  EXPECT_EQ(panel.Items->Entities, (std::vector<int>{first, ai}));
  EXPECT_EQ(panel.Items->SecCurItem->Lines, (std::vector<std::string>{"Item 4", "AI 0"}));
  EXPECT_EQ(std::tie(panel.Statics->NumStatic, panel.Statics->StaticID),
            std::make_tuple("1 Static Mesh", "Plant 5"));
  EXPECT_FALSE(Show(0, 0).Items->SecItemCntVisible);
}

TEST_F(SectorPanelTest, NothingToShowOutsideTheRoom) {
  // Past X, before Z, no such room, a room without sectors.
  for (auto [room, x, z] : {std::tuple{1, 4, 0}, {1, 0, -1}, {2, 0, 0}, {0, 0, 0}})
    EXPECT_FALSE(ShowSector(level, version, names, room, x, z, true, true)) << room << x << z;
}

}  // namespace
}  // namespace slab
