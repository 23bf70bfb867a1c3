// One sector compared in detail: its record as clicks and room numbers, its floor-data
// functions, its trigger's setup and each action in the trigger panel's words.
#include <gtest/gtest.h>

#include "compare/diff_report.h"
#include "compare/level_diff.h"
#include "floordata/floor_data_builder.h"

namespace slab {
namespace {

using test::Act;
using test::Fn;
using Lines = std::vector<std::string>;

class SectorDiffTest : public testing::Test {
 protected:
  SectorDiffTest() : oldBuilder(oldLevel), newBuilder(newLevel) {
    for (test::LevelBuilder* b : {&oldBuilder, &newBuilder}) {
      b->AddRoom(4, 4);
      b->AddItemAt(0, 1, 1, 5);
      b->AddItemAt(0, 1, 2, 6);
    }
    names.Objects[5][GameNumber(Game::TR4)] = "Gate";
    names.Objects[6][GameNumber(Game::TR4)] = "Lever";
  }

  Lines Compare() const {
    const LevelDiff diff = CompareLevels(oldLevel, Game::TR4, newLevel, Game::TR4, names);
    Lines lines;
    for (const Change& change : diff.Changes) {
      lines.push_back(ChangeHeadline(change));
      for (const std::string& detail : change.Details) lines.push_back("  " + detail);
    }
    return lines;
  }

  Level oldLevel, newLevel;
  test::LevelBuilder oldBuilder, newBuilder;
  ObjectNames names;
};

TEST_F(SectorDiffTest, RecordFunctionsTriggerSetupAndActionsInTheirOwnWords) {
  oldBuilder.ListAt(
      0, 2, 2,
      {Fn(1), 3, Fn(5), Fn(4, 2, true), 0x3E00, Act(0, 1), Act(1, 2), 0x0005, Act(9, 7, true)});
  // The portal leads elsewhere after the kill; a pad with a timer, one shot; the camera's
  // second word changed, the flip effect gave way to a secret.
  newBuilder.ListAt(
      0, 2, 2,
      {Fn(5), Fn(1), 4, Fn(4, 1, true), 0x3F05, Act(0, 1), Act(1, 2), 0x0006, Act(10, 3, true)});
  Sector& s = newBuilder.At(0, 2, 2);
  s.Floor = 2;
  s.Ceiling = 0xEE;
  s.BoxIndex = 3;
  s.RoomBelow = 2;
  EXPECT_EQ(Compare(),
            (Lines{"room 0, sector 2,2: changed (floor, ceiling, box, room below, floor data, "
                   "trigger, trigger actions)",
                   "  floor 0 -> 2 clicks", "  ceiling -16 -> -18 clicks", "  box none -> 3",
                   "  room below none -> 2", "  changed: portal to room 3 -> portal to room 4",
                   "  trigger type SWITCH -> PAD", "  trigger timer 0 -> 5",
                   "  trigger one shot set", "  trigger action removed: SWITCH for FLIPEFFECT 7",
                   "  trigger action changed: SWITCH for CAMERA 2 [0x0005] -> PAD for CAMERA 2 "
                   "[0x0006]",
                   "  trigger action added: PAD for SECRET 3"}));
}

TEST_F(SectorDiffTest, ActionsPairInOrderAndNameTheirItems) {
  oldBuilder.ListAt(0, 1, 1, {Fn(4, 0, true), 0x3E00, Act(0, 0), Act(6, 1, true)});
  // The same list at another place, then an action in front, one removed, one retargeted.
  newBuilder.ListAt(0, 3, 3, {Fn(19, 0, true)});
  newBuilder.ListAt(0, 1, 1, {Fn(4, 0, true), 0x3C00, Act(8, 12), Act(0, 1, true)});
  EXPECT_EQ(
      Compare(),
      (Lines{"room 0, sector 1,1: changed (trigger, trigger actions)",
             "  trigger mask 11111 -> 01111", "  trigger action removed: TRIGGER for TARGET 1",
             "  trigger action added: TRIGGER for CD 12",
             "  trigger action changed: TRIGGER for OBJECT 0 (Gate) -> TRIGGER for OBJECT "
             "1 (Lever)",
             "room 0, sector 3,3: changed (floor data)", "  added: monkey-swing ceiling"}));
}

TEST_F(SectorDiffTest, WallsAndListsWithOnlyTheirOrderChanged) {
  oldBuilder.ListAt(0, 1, 2, {Fn(5), Fn(19, 0, true)});
  newBuilder.ListAt(0, 1, 2, {Fn(19), Fn(5, 0, true)});
  oldBuilder.At(0, 2, 1).Floor = oldBuilder.At(0, 2, 1).Ceiling = 0x81;
  newBuilder.At(0, 3, 1).Floor = newBuilder.At(0, 3, 1).Ceiling = 0x81;
  newBuilder.ListAt(0, 0, 3, {Fn(6, 0x5, true)});
  EXPECT_EQ(
      Compare(),
      (Lines{"room 0, sector 0,3: changed (floor data)", "  added: climbable walls (sides 1, 4)",
             "room 0, sector 1,2: changed (floor data)", "  floor-data entries in another order",
             "room 0, sector 2,1: changed (wall)",
             "  no longer a wall (floor 0, ceiling -16 clicks)",
             "room 0, sector 3,1: changed (wall)",
             "  became a wall (was floor 0, ceiling -16 clicks)"}));
}

}  // namespace
}  // namespace slab
