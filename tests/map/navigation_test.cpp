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
// room 1. Room 0's sector (1, 2) also holds a camera action and a target action.
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
    state = MapState{};
    state.Triggers = BuildTriggerIndex(level());
    ChooseRoom(doc, state, 0);
  }

  // Selects sector (a, b) of the current room as a left click does.
  void Select(int a, int b) {
    ASSERT_TRUE(SelectSectorAt(doc, state, names, PixelX(b), PixelY(a), 1, 0));
  }

  int door = 0;
};

TEST_F(NavigationTest, IndexListsSectorsInRoomThenColumnOrder) {
  // Room 0: sector (3, 1) comes before (1, 2), since b is the outer loop.
  const std::vector<TriggerLocation> expected{{0, 3, 1}, {0, 1, 2}, {1, 1, 1}};
  EXPECT_EQ(state.Triggers[door], expected);
  EXPECT_EQ(state.Triggers[0], (std::vector<TriggerLocation>{{0, 1, 2}}));
  EXPECT_EQ(state.Triggers, test::NestedTriggerIndex(level()));
}

TEST_F(NavigationTest, NextTriggerCyclesThroughTheItemsTriggersInIndexOrder) {
  ChooseRoom(doc, state, 1);
  Select(2, 1);
  const auto panel = SelectEntity(doc, state, 0);
  ASSERT_TRUE(panel);
  EXPECT_EQ(panel->ItemNumTriggers, "This object has 3 triggers");

  const std::vector<TriggerLocation> expected{{0, 3, 1}, {0, 1, 2}, {1, 1, 1}, {0, 3, 1}};
  for (const TriggerLocation& at : expected) {
    const auto view = ItemNextTrigger(doc, state, names, messages);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->Room.RoomNumber, at.Room);
    EXPECT_EQ(state.CurrentRoom, at.Room);
    EXPECT_EQ(state.SelectedSectorX, at.A);
    EXPECT_EQ(state.SelectedSectorZ, at.B);
    ASSERT_TRUE(view->Panel);
    EXPECT_NE(view->Panel->Triggers.FDLabel, " 0 Triggers");
    EXPECT_EQ(state.Shown.Pixel(10 * at.B - 1, 10 * at.A + 4), map_colour::kSelection);
  }
  EXPECT_TRUE(messages.Shown.empty());
  EXPECT_FALSE(doc.Modified);
}

TEST_F(NavigationTest, NextTriggerWithoutTriggersOrEntity) {
  EXPECT_FALSE(ItemNextTrigger(doc, state, names, messages));  // nothing chosen
  EXPECT_TRUE(messages.Shown.empty());

  const int lone = AddItemAt(0, 2, 2);
  state.Triggers.resize(level().Items.size());
  Select(2, 2);
  ASSERT_TRUE(SelectEntity(doc, state, 0));
  EXPECT_EQ(state.NavigationEntity, lone);
  EXPECT_FALSE(ItemNextTrigger(doc, state, names, messages));
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0], "No trigger found for this object!");
  EXPECT_EQ(messages.Titles[0], "Slabwright2");

  // Clicking another sector forgets the followed item.
  Select(1, 1);
  EXPECT_EQ(state.NavigationEntity, -1);
}

TEST_F(NavigationTest, FindObjectFollowsObjectAndTargetLinesOnly) {
  Select(1, 2);
  EXPECT_FALSE(GotoObject(doc, state, names, 0));  // the camera line
  EXPECT_EQ(state.CurrentRoom, 0);
  EXPECT_EQ(state.SelectedSectorX, 1);
  EXPECT_FALSE(GotoObject(doc, state, names, 3));  // no such line

  const auto view = GotoObject(doc, state, names, 1);  // the target line names the door
  ASSERT_TRUE(view);
  EXPECT_EQ(view->Room.RoomNumber, 1);
  EXPECT_EQ(view->Room.RoomInfo, "Room 1 -  4* 4-0,0,0");
  EXPECT_EQ(state.SelectedSectorX, 2);
  EXPECT_EQ(state.SelectedSectorZ, 1);
  ASSERT_TRUE(view->Panel && view->Panel->Items && view->Panel->Items->SecCurItem);
  EXPECT_EQ(view->Panel->Items->SecCurItem->Lines, (std::vector<std::string>{"Item 1"}));
  EXPECT_EQ(state.Shown.Pixel(9, 19), map_colour::kSelection);

  ChooseRoom(doc, state, 0);
  state.SelectedSectorX = 1;
  state.SelectedSectorZ = 2;
  ASSERT_TRUE(GotoObject(doc, state, names, 2));  // the object line: item 0 in room 0
  EXPECT_EQ(state.CurrentRoom, 0);
  EXPECT_EQ(state.SelectedSectorX, 3);
  EXPECT_EQ(state.SelectedSectorZ, 3);
  EXPECT_FALSE(doc.Modified);
}

}  // namespace
}  // namespace slab
