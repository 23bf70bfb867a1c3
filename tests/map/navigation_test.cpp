#include "map/navigation.h"

#include <gtest/gtest.h>

#include "map/draw_room.h"
#include "map/item_panel.h"
#include "map/trigger_index.h"
#include "map_fixture.h"
#include "nested_trigger_index.h"

namespace slab {
namespace {

using test::Act;
using test::Fn;

// Two rooms; item 1 (in room 1) is triggered by three sectors: two of room 0 and one of
// room 1. Room 0's sector (1, 2) also holds a camera action and a target action. (The window
// tests drive both buttons on the sample level.)
class NavigationTest : public test::MapFixture {
 protected:
  NavigationTest() {
    AddRoom(5, 5);
    AddRoom(4, 4, 8192, 0);
    AddItemAt(0, 3, 3, 5);
    door = AddItemAt(1, 2, 1, 12);
    ListAt(1, 1, 1, {Fn(4, 2, true), 0, Act(0, door, true)});
    ListAt(0, 3, 1, {Fn(4, 0, true), 0x3E00, Act(0, door, true)});
    ListAt(0, 1, 2, {Fn(4, 1, true), 0, Act(1, 0), 0, Act(6, door), Act(0, 0, true)});
    state.Triggers = BuildTriggerIndex(level());
    ChooseRoom(doc, state, 0);
  }
  void Select(int a, int b) {
    ASSERT_TRUE(SelectSectorAt(doc, state, names, PixelX(b), PixelY(a), kLeftButton, 0));
  }
  // The room and sector shown, with its outline drawn.
  void ExpectAt(const std::optional<NavigationView>& view, TriggerLocation at) {
    ASSERT_TRUE(view && view->Panel);
    EXPECT_EQ(std::tuple(view->Room.RoomNumber, state.CurrentRoom), std::tuple(at.Room, at.Room));
    EXPECT_EQ(std::tuple(state.SelectedSectorX, state.SelectedSectorZ), std::tuple(at.X, at.Z));
    EXPECT_EQ(state.Shown.Pixel(10 * at.Z - 1, 10 * at.X + 4), map_colour::kSelection);
  }

  int door = 0;
};

TEST_F(NavigationTest, NextTriggerCyclesThroughTheItemsTriggersInIndexOrder) {
  // Room 0: sector (3, 1) comes before (1, 2), since b is the outer loop.
  const std::vector<TriggerLocation> order{{0, 3, 1}, {0, 1, 2}, {1, 1, 1}};
  EXPECT_EQ(state.Triggers[door], order);
  EXPECT_EQ(state.Triggers, test::NestedTriggerIndex(level()));
  ChooseRoom(doc, state, 1);
  Select(2, 1);
  ASSERT_TRUE(SelectEntity(doc, state, 0));
  for (int i = 0; i < 4; ++i) ExpectAt(ItemNextTrigger(doc, state, names, messages), order[i % 3]);
  EXPECT_TRUE(messages.Shown.empty());
  EXPECT_FALSE(doc.Modified);
}

TEST_F(NavigationTest, FindObjectFollowsObjectAndTargetLinesOnly) {
  Select(1, 2);
  EXPECT_FALSE(GotoObject(doc, state, names, 0));  // the camera line
  EXPECT_FALSE(GotoObject(doc, state, names, 3));  // no such line
  EXPECT_EQ(std::tuple(state.CurrentRoom, state.SelectedSectorX), std::tuple(0, 1));
  ExpectAt(GotoObject(doc, state, names, 1), {1, 2, 1});  // the target line names the door
  ChooseRoom(doc, state, 0);
  Select(1, 2);
  ExpectAt(GotoObject(doc, state, names, 2), {0, 3, 3});  // the object line: item 0
  EXPECT_FALSE(doc.Modified);
}

}  // namespace
}  // namespace slab
