#include "map/navigation.h"

#include <gtest/gtest.h>

#include "map/draw_room.h"
#include "map/item_panel.h"
#include "map/trigger_index.h"
#include "map_fixture.h"

namespace slab {
namespace {

using test::Act;
using test::Fn;

using NavigationTest = test::MapFixture;

// Two rooms; item 1 (in room 1) is triggered by three sectors: two of room 0 and one of
// room 1. "Next Trigger" visits them in index order (room, then Z, then X) and starts over.
// (The window tests drive it and "Find Object" on the sample level.)
TEST_F(NavigationTest, NextTriggerCyclesThroughTheItemsTriggersInIndexOrder) {
  AddRoom(5, 5);
  AddRoom(4, 4, 8192, 0);
  AddItemAt(0, 3, 3, 5);
  const int door = AddItemAt(1, 2, 1, 12);
  ListAt(1, 1, 1, {Fn(4, 2, true), 0, Act(0, door, true)});
  ListAt(0, 3, 1, {Fn(4, 0, true), 0x3E00, Act(0, door, true)});
  ListAt(0, 1, 2, {Fn(4, 1, true), 0, Act(1, 0), 0, Act(6, door), Act(0, 0, true)});
  state.Triggers = BuildTriggerIndex(level());
  const std::vector<TriggerLocation> order{{0, 3, 1}, {0, 1, 2}, {1, 1, 1}};
  EXPECT_EQ(state.Triggers[door], order);

  ChooseRoom(doc, state, 1);
  ASSERT_TRUE(SelectSectorAt(doc, state, names, PixelX(1), PixelY(2), kLeftButton, 0));
  ASSERT_TRUE(SelectEntity(doc, state, 0));
  for (int i = 0; i < 4; ++i) {
    const TriggerLocation& at = order[i % 3];
    const auto view = ItemNextTrigger(doc, state, names, messages);
    ASSERT_TRUE(view && view->Panel);
    EXPECT_EQ(std::tuple(view->Room.RoomNumber, state.CurrentRoom), std::tuple(at.Room, at.Room));
    EXPECT_EQ(std::tuple(state.SelectedSectorX, state.SelectedSectorZ), std::tuple(at.X, at.Z));
    EXPECT_EQ(state.Shown.Pixel(10 * at.Z - 1, 10 * at.X + 4), map_colour::kSelection);  // outline
  }
  EXPECT_FALSE(doc.Modified);
}

}  // namespace
}  // namespace slab
