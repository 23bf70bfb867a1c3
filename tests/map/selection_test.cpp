#include "map/selection.h"

#include <gtest/gtest.h>

#include "map/draw_room.h"
#include "map_fixture.h"

namespace slab {
namespace {

using test::Fn;
namespace colour = map_colour;

class SelectionTest : public test::MapFixture {
 protected:
  SelectionTest() {
    for (int i = 0; i < 6; ++i) AddRoom(4, 5, 4096 * i);
    ChooseRoom(doc, state, 0);
  }
  std::optional<MapClick> Click(int a, int b, MouseButton button = kLeftButton, int shift = 0) {
    return SelectSectorAt(doc, state, names, PixelX(b), PixelY(a), button, shift);
  }
};

TEST_F(SelectionTest, LeftClickOutlinesTheSectorAndFillsThePanels) {
  const auto click = Click(2, 3);
  ASSERT_TRUE(click && click->SectorChosen && click->Panel);
  EXPECT_EQ(click->Panel->Sectors.SecInf, "Sector Info [Sector 1,2]");
  EXPECT_FALSE(click->CameraFocus);
  EXPECT_EQ(std::tuple(state.SelectedSectorX, state.SelectedSectorZ), std::tuple(2, 3));
  // The outline runs along the box's own outline: x 29..39, y 19..29.
  for (int i = 0; i <= 10; ++i)
    for (auto [x, y] : {std::pair{29 + i, 19}, {29 + i, 29}, {29, 19 + i}, {39, 19 + i}})
      EXPECT_EQ(state.Shown.Pixel(x, y), colour::kSelection) << x << "," << y;
  EXPECT_EQ(state.Shown.Pixel(30, 20), state.Map.Pixel(30, 20));
  EXPECT_EQ(state.Map.Pixel(29, 19), kClearColour);  // the map itself keeps no outline

  // The next click wipes the first outline; with Alt it also focuses the camera.
  const auto alt = Click(1, 1, kLeftButton, kAltKey | kShiftKey);
  ASSERT_TRUE(alt && alt->CameraFocus);
  EXPECT_EQ(*alt->CameraFocus, (std::array<int, 2>{1, 1}));
  EXPECT_EQ(state.Shown.Pixel(39, 25), kClearColour);
  EXPECT_EQ(state.Shown.Pixel(9, 15), colour::kSelection);
  EXPECT_FALSE(doc.Modified);
}

// (A click before a level is open is the window test's.)
TEST_F(SelectionTest, ClicksOutsideTheRoomSelectNothing) {
  ASSERT_TRUE(Click(1, 1));
  const MapImage shown = state.Shown;
  // Right of it, below it, and off the picture.
  for (auto [x, y] : {std::pair{55, 5}, {5, 45}, {299, 299}, {300, 5}, {-1, 5}})
    EXPECT_FALSE(SelectSectorAt(doc, state, names, x, y, kLeftButton, 0)) << x << "," << y;
  EXPECT_EQ(std::tuple(state.SelectedSectorX, state.SelectedSectorZ), std::tuple(1, 1));
  EXPECT_EQ(state.Shown, shown);
}

TEST_F(SelectionTest, OtherButtonsFollowPortalThenBelowThenAbove) {
  ListAt(0, 1, 1, {Fn(1, 0, true), 4});
  At(0, 1, 1).RoomBelow = 1;
  At(0, 1, 2).RoomBelow = 2;
  At(0, 1, 2).RoomAbove = 3;
  At(0, 2, 2).RoomAbove = 5;
  ListAt(0, 3, 3, {Fn(1, 0, true), 200});  // a portal to a room the level lacks

  // Portal before below, below before above; Shift or any modifier: above; else none.
  for (auto [a, b, button, keys, room] : {std::tuple{1, 1, kRightButton, 0, 4},
                                          {1, 2, kRightButton, 0, 2},
                                          {1, 2, kMiddleButton, kShiftKey, 3},
                                          {2, 2, kRightButton, 0, 5},
                                          {2, 3, kRightButton, 0, -1},
                                          {3, 3, kRightButton, 0, -1}}) {
    ChooseRoom(doc, state, 0);
    const auto click = Click(a, b, button, keys);
    EXPECT_EQ(state.CurrentRoom, std::max(room, 0)) << a << "," << b;
    EXPECT_EQ(click && click->Room ? click->Room->RoomNumber : -1, room) << a << "," << b;
  }
}

// A list row's place: its room, its sector where the room has it, its entity chosen and, for
// an item, followed by "Next Trigger" from its first trigger.
TEST_F(SelectionTest, GoingToAPlaceChoosesItsRoomSectorAndEntity) {
  level().Items.resize(2);
  state.NavigationEntity = 0;
  state.NavigationPosition = 3;
  const auto place = GoToPlace(doc, state, 2, 1, 3, 1);
  ASSERT_TRUE(place && place->SectorChosen);
  EXPECT_EQ(std::tuple(place->Room.RoomNumber, state.CurrentRoom), std::tuple(2, 2));
  EXPECT_EQ(std::tuple(state.SelectedSectorX, state.SelectedSectorZ), std::tuple(1, 3));
  EXPECT_EQ(state.Shown.Pixel(PixelX(3) - 2, PixelY(1) + 3), colour::kSelection);
  EXPECT_EQ(std::tuple(state.SelectedEntity, state.NavigationEntity, state.NavigationPosition),
            std::tuple(1, 1, 0));

  // A sector past the room's grid selects nothing; an entity that is no item is not followed.
  const auto outside = GoToPlace(doc, state, 3, 9, 0, 7);
  ASSERT_TRUE(outside);
  EXPECT_FALSE(outside->SectorChosen || state.SectorSelected);
  EXPECT_EQ(std::tuple(state.SelectedEntity, state.NavigationEntity), std::tuple(7, 1));
  EXPECT_FALSE(GoToPlace(doc, state, 6, 0, 0, -1));
  EXPECT_EQ(state.CurrentRoom, 3);
  doc.LevelLoaded = false;
  EXPECT_FALSE(GoToPlace(doc, state, 1, 1, 1, -1));
}

// The button names the view it switches to; a newly opened level keeps the window's choice.
TEST_F(SelectionTest, TheViewModeTakesTurnsAndOutlivesOpeningALevel) {
  EXPECT_EQ(ViewModeCaption(state.ViewMode), std::string("2D Map"));
  EXPECT_EQ(ToggleViewMode(state), std::string("3D View"));
  EXPECT_EQ(state.ViewMode, RightPane::Overview);
  ShowOpenedLevel(doc, state);
  EXPECT_EQ(state.ViewMode, RightPane::Overview);
  EXPECT_EQ(ToggleViewMode(state), std::string("2D Map"));
  EXPECT_EQ(state.ViewMode, RightPane::Room3D);
}

TEST_F(SelectionTest, AnAlternateIsShownOnlyWhereItNamesARoomOfTheLevel) {
  Level& level = doc.CurrentLevel;
  level.Rooms[0].AlternateRoom = 3;
  level.Rooms[1].AlternateRoom = 255;  // a byte's "none"
  level.Rooms[2].AlternateRoom = -1;
  level.Rooms[4].AlternateRoom = 40;  // past the level's rooms: named, never shown
  for (auto [row, caption, shown] : {std::tuple{0, "Alternate: 3", 3},
                                     {1, "No alternate", 1},
                                     {2, "No alternate", 2},
                                     {4, "Alternate: 40", 4},
                                     {9, "No alternate", 9}}) {
    EXPECT_EQ(AltRoomCaption(level, row), caption) << row;
    EXPECT_EQ(ShownRoom(level, row, true), shown) << row;
    EXPECT_EQ(ShownRoom(level, row, false), row) << row;
  }
}

}  // namespace
}  // namespace slab
