#include "floordata/sector_panel.h"

#include <gtest/gtest.h>

#include "floor_data_builder.h"

namespace slab {
namespace {

using test::Act;
using test::Fn;

constexpr std::array<Rgb, 5> kAllClear{};

// A 4 x 9 room at (1024, 2048) whose sector (a, b) points at the list given to ListAt.
class SectorPanelTest : public testing::Test {
 protected:
  SectorPanelTest() {
    Room room;
    room.Info.X = 1024;
    room.Info.Z = 2048;
    room.NumXSectors = 4;
    room.NumZSectors = 9;
    room.Sectors.assign(36, Sector{0, 0, 255, 10, 255, 250});
    level.Rooms = {Room{}, room};
    words = {0};
    names.Objects[12][4] = "Door";
    names.Objects[3][4] = "Lara";
    names.Statics[5] = "Plant 5";
  }

  Sector& At(int a, int b) { return level.Rooms[1].SectorAt(a, b); }

  void ListAt(int a, int b, std::initializer_list<uint16_t> list) {
    At(a, b).FDIndex = static_cast<uint16_t>(words.size());
    words.insert(words.end(), list);
    test::SetFloorData(level, words);
  }

  SectorPanel Show(int a, int b, bool rebuild = true, bool show = true) {
    auto panel = ShowSector(level, version, names, 1, a, b, rebuild, show);
    EXPECT_TRUE(panel.has_value());
    return panel.value_or(SectorPanel{});
  }

  void AddItem(int16_t objectId, int a, int b) {
    Item item;
    item.ObjectID = objectId;
    item.Room = 1;
    item.X = 1024 + 1024 * a + 512;
    item.Z = 2048 + 1024 * b + 512;
    level.Items.push_back(item);
  }

  Level level;
  std::vector<uint16_t> words;
  ObjectNames names;
  Game version = Game::TR4;
};

TEST_F(SectorPanelTest, SectorWithoutFloorDataKeepsTheTriggerPanel) {
  At(2, 3).RoomBelow = 4;
  const SectorPanel panel = Show(2, 3);
  EXPECT_EQ(std::tie(panel.Doors.DoorSide, panel.Doors.DoorBelow, panel.Doors.DoorAbove),
            std::make_tuple("None", "4", "None"));
  EXPECT_EQ(panel.Triggers.FDLabel, " 0 Triggers");
  EXPECT_FALSE(panel.Triggers.TriggerData || panel.Triggers.TriggerTimer ||
               panel.Triggers.TriggerFlags);
  EXPECT_EQ(std::tie(panel.Sectors.FD20, panel.Sectors.FD21, panel.Sectors.MinecartStop),
            std::make_tuple(kClearColour, kClearColour, kClearColour));
}

TEST_F(SectorPanelTest, TriggerLinesTimerAndMask) {
  AddItem(0, 0, 0);
  for (int i = 1; i < 12; ++i) AddItem(7, 0, 0);
  AddItem(12, 0, 0);  // item 12, a door
  ListAt(1, 2,
         {Fn(1), 0x0003,                    // portal to room 3
          Fn(4, 2, true), 0x0105 | 0x2A00,  // switch, timer 261, mask bits 0, 2, 4
          Act(0, 12), Act(1, 2), 0, Act(9, 40), Act(15, 1), Act(0, 300, true)});
  At(1, 2).RoomAbove = 0;
  const SectorPanel panel = Show(1, 2);
  EXPECT_EQ(panel.Doors.DoorSide, "3");
  EXPECT_EQ(panel.Doors.DoorAbove, "0");
  EXPECT_EQ(panel.Triggers.FDLabel, " 5 Triggers");
  ASSERT_TRUE(panel.Triggers.TriggerData);
  // Object 300 names no item: the line goes without its name, and the listing goes on.
  EXPECT_EQ(panel.Triggers.TriggerData->Lines,
            (std::vector<std::string>{"SWITCH for OBJECT 12 (Door)", "SWITCH for CAMERA 2",
                                      "SWITCH for FLIPEFFECT 40", "SWITCH for UNKNOWN 1",
                                      "SWITCH for OBJECT 300"}));
  EXPECT_EQ(panel.Triggers.TriggerData->Selected, 0);
  EXPECT_EQ(panel.Triggers.TriggerTimer, "Timer 261");
  EXPECT_EQ(panel.Triggers.TriggerFlags,
            (std::array<Rgb, 5>{kSetColour, kClearColour, kSetColour, kClearColour, kSetColour}));
}

TEST_F(SectorPanelTest, TypeWordsAndOneTrigger) {
  AddItem(3, 0, 0);
  ListAt(1, 1, {Fn(4, 6, true), 0x0005, Act(0, 0, true)});
  ListAt(1, 3, {Fn(4, 14, true), 0, Act(6, 0, true)});
  ListAt(1, 4, {Fn(4, 1, true), 0, Act(1, 2, true), 0x8000});
  const SectorPanel antiPad = Show(1, 1);
  EXPECT_EQ(antiPad.Triggers.FDLabel, " 1 Trigger");
  EXPECT_EQ(antiPad.Triggers.TriggerData->Lines,
            std::vector<std::string>{"ANTITRIGGER for OBJECT 0 (Lara)"});
  EXPECT_EQ(antiPad.Triggers.TriggerTimer, "Timer 5");
  EXPECT_EQ(antiPad.Triggers.TriggerFlags, kAllClear);
  EXPECT_EQ(Show(1, 3).Triggers.TriggerData->Lines,
            std::vector<std::string>{"TriggerType 14 for TARGET 0"});
  EXPECT_EQ(Show(1, 4).Triggers.TriggerData->Lines, std::vector<std::string>{"PAD for CAMERA 2"});
}

TEST_F(SectorPanelTest, FailedNameLookupsStillGiveTheLine) {
  AddItem(501, 0, 0);  // beyond the name table
  AddItem(-3, 0, 0);
  AddItem(12, 0, 0);
  ListAt(1, 1, {Fn(4, 0, true), 0, Act(0, 0), Act(0, 1), Act(0, 2, true)});
  version = Game::TexturesOnly;  // a textures-only file has no name column
  auto lines = Show(1, 1).Triggers.TriggerData->Lines;
  EXPECT_EQ(lines, (std::vector<std::string>{"TRIGGER for OBJECT 0", "TRIGGER for OBJECT 1",
                                             "TRIGGER for OBJECT 2"}));
  version = Game::TR4;
  EXPECT_EQ(Show(1, 1).Triggers.TriggerData->Lines[2], "TRIGGER for OBJECT 2 (Door)");
}

TEST_F(SectorPanelTest, HeightsAndWalls) {
  At(2, 2).Floor = 0xFE;
  At(2, 2).Ceiling = 0x81 - 1;
  SectorsView sectors = Show(2, 2).Sectors;
  EXPECT_TRUE(!sectors.FloorWall && sectors.HeightsEnabled);
  EXPECT_EQ(std::tie(sectors.FloorHeight, sectors.CeilingHeight), std::make_tuple("254", "128"));

  At(2, 2).Floor = 0x81;
  const Sector before = At(2, 2);
  sectors = Show(2, 2).Sectors;
  EXPECT_TRUE(sectors.FloorWall && !sectors.HeightsEnabled);
  EXPECT_EQ(std::tie(sectors.FloorHeight, sectors.CeilingHeight), std::make_tuple("", ""));
  EXPECT_EQ(At(2, 2).Floor, before.Floor);  // showing a wall changes nothing
}

TEST_F(SectorPanelTest, Function20And21Colours) {
  ListAt(1, 1, {Fn(21, 0, true)});
  ListAt(1, 2, {Fn(20), Fn(21, 0, true)});
  ListAt(1, 3, {Fn(20), Fn(4, 0, true), 0, Act(0, 0, true)});
  SectorsView only21 = Show(1, 1).Sectors;
  EXPECT_EQ(std::tie(only21.FD20, only21.FD21, only21.MinecartStop),
            std::make_tuple(kClearColour, kSetColour, kClearColour));
  SectorsView both = Show(1, 2).Sectors;
  EXPECT_EQ(std::tie(both.FD20, both.FD21, both.MinecartStop),
            std::make_tuple(kSetColour, kSetColour, kSetColour));
  EXPECT_EQ(Show(1, 3).Sectors.FD20, kSetColour);
}

TEST_F(SectorPanelTest, ItemsAndStaticMeshesOnTheSector) {
  AddItem(3, 1, 1);
  AddItem(3, 2, 2);
  AddItem(3, 1, 1);
  level.Items[2].Room = 0;  // same place, other room
  AIObject ai;
  ai.Room = 1;
  ai.X = 1024 + 1024 + 512;
  ai.Z = 2048 + 1024 + 512;
  level.AIObjects = {ai};
  RoomStatic mesh;
  mesh.X = ai.X;
  mesh.Z = ai.Z;
  mesh.ObjectID = 5;
  RoomStatic second = mesh;
  second.ObjectID = 6;
  level.Rooms[1].StaticMeshes = {mesh, second};

  SectorPanel panel = Show(1, 1);
  ASSERT_TRUE(panel.Items && panel.Statics);
  EXPECT_TRUE(panel.Items->SecItemCntVisible && panel.Statics->Visible);
  EXPECT_EQ(panel.Items->SecItemCnt, "2 items");
  EXPECT_EQ(panel.Items->SecCurItem->Lines, (std::vector<std::string>{"Item 0", "AI 0"}));
  EXPECT_EQ(panel.Items->Entities, (std::vector<int>{0, 3}));
  EXPECT_TRUE(panel.Items->ResetNavigationEntity);
  EXPECT_EQ(std::tie(panel.Statics->NumStatic, panel.Statics->StaticID),
            std::make_tuple("2 Static Meshes", "Plant 5"));
  // A second-game level names its statics from its own game's table.
  names.GameStatics[2] = ObjectNames::DefaultStaticNames();
  version = Game::TR2;
  EXPECT_EQ(Show(1, 1).Statics->StaticID, "Mesh 5");
  version = Game::TR4;

  level.Items[0].X += 1;  // one unit off the centre: not on the sector
  panel = Show(1, 1);
  EXPECT_EQ(panel.Items->SecItemCnt, "1 item");
  level.Rooms[1].StaticMeshes.pop_back();
  level.Rooms[1].StaticMeshes[0].ObjectID = 12;
  panel = Show(1, 1);
  EXPECT_EQ(std::tie(panel.Statics->NumStatic, panel.Statics->StaticID),
            std::make_tuple("1 Static Mesh", "Mesh 12"));

  panel = Show(0, 0);
  EXPECT_FALSE(panel.Items->SecItemCntVisible || panel.Items->SecItemCnt || panel.Statics->Visible);
  EXPECT_TRUE(panel.Items->SecCurItem->Lines.empty());

  EXPECT_FALSE(Show(1, 1, false).Items->SecCurItem);
  panel = Show(1, 1, true, false);
  EXPECT_FALSE(panel.Items || panel.Statics);
}

TEST_F(SectorPanelTest, NothingToShowOutsideTheRoom) {
  EXPECT_FALSE(ShowSector(level, version, names, 1, 4, 0, true, true));
  EXPECT_FALSE(ShowSector(level, version, names, 1, 0, -1, true, true));
  EXPECT_FALSE(ShowSector(level, version, names, 2, 0, 0, true, true));
  EXPECT_FALSE(ShowSector(level, version, names, 0, 0, 0, true, true));  // no sectors
}

}  // namespace
}  // namespace slab
