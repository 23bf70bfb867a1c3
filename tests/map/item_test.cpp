// The item panel and the item edits on the chosen entity.
#include <gtest/gtest.h>

#include "map/draw_room.h"
#include "map/item_edits.h"
#include "map_fixture.h"

namespace slab {
namespace {

class ItemTest : public test::MapFixture {
 protected:
  ItemTest() {
    AddRoom(5, 5, 1024, 2048);
    SelectRoom(doc, state, 0);
  }
};

// The type list's rows and object ids map both ways, in either list, and nowhere else.
TEST_F(ItemTest, TypeListRowsAndObjectsMapBothWays) {
  Level& level = doc.CurrentLevel;
  for (int id : {0, 7, 15}) level.Moveables.push_back(Moveable{id});
  for (int row = 0; row < 3; ++row)
    EXPECT_EQ(TypeListRow(level, false, TypeListObject(level, false, row)), row);
  EXPECT_EQ(TypeListObject(level, false, 1), 7);
  EXPECT_EQ(TypeListRow(level, false, 8), -1);  // not a moveable of the level
  EXPECT_EQ(TypeListObject(level, false, 3), -1);
  EXPECT_EQ(TypeListRow(level, true, 8), 8);
  EXPECT_EQ(TypeListObject(level, true, kAllItemsLastId), kAllItemsLastId);
  for (int outside : {-1, kAllItemsLastId + 1}) {
    EXPECT_EQ(TypeListRow(level, true, outside), -1);
    EXPECT_EQ(TypeListObject(level, true, outside), -1);
  }
}

// An AI object keeps its flag bits lower than an item's (the window tests click an item's).
TEST_F(ItemTest, FlagClicksOnAnAIObject) {
  AddAIAt(0, 3, 3);
  ASSERT_TRUE(Choose(3, 3));
  for (auto box : {ItemFlagBox::Active0, ItemFlagBox::Active1, ItemFlagBox::Active2,
                   ItemFlagBox::Active3, ItemFlagBox::Active4, ItemFlagBox::Invisible})
    ToggleItemFlag(doc, state, box);
  EXPECT_EQ(level().AIObjects[0].Flags, 0x3E);
  state.SelectedEntity = -1;
  EXPECT_FALSE(ToggleItemFlag(doc, state, ItemFlagBox::Active0));
}

TEST_F(ItemTest, OcbTextReadsLeadingDigitsIntoSixteenBits) {
  for (auto [text, ocb] : {std::pair<const char*, int16_t>{" 12", 12},
                           {"  -12abc", -12},
                           {"", 0},
                           {"x5", 0},
                           {"-", 0},
                           {"65535", -1},
                           {"-32768", -32768},
                           {"99999999999999999999", -1}})
    EXPECT_EQ(OcbFromText(text), ocb) << text;
  // What the box lets a user type: whole 16-bit numbers, and the start of one.
  for (auto [text, check] : {std::pair{" 12", OcbText::Acceptable},
                             {"-32768", OcbText::Acceptable},
                             {"32767", OcbText::Acceptable},
                             {"+5", OcbText::Acceptable},
                             {"", OcbText::Unfinished},
                             {" -", OcbText::Unfinished},
                             {"32768", OcbText::Refused},
                             {"-32769", OcbText::Refused},
                             {"70000", OcbText::Refused},
                             {"99999999999999999999", OcbText::Refused},
                             {"12a3", OcbText::Refused},
                             {"1 2", OcbText::Refused},
                             {"--1", OcbText::Refused}})
    EXPECT_EQ(CheckOcbText(text), check) << text;
  const int item = AddItemAt(0, 2, 2);
  ASSERT_TRUE(Choose(2, 2));
  EXPECT_FALSE(SetItemOCB(doc, state, " 0"));  // showing the value is no edit
  EXPECT_FALSE(doc.Modified);
  EXPECT_TRUE(SetItemOCB(doc, state, "257"));
  EXPECT_EQ(level().Items[item].OCB, 257);
}

TEST_F(ItemTest, CtrlArrowsKeepTheEntityOnInnerSectors) {
  const int item = AddItemAt(0, 2, 2);
  ASSERT_TRUE(Choose(2, 2));
  const Item& it = level().Items[item];
  // No Ctrl: the camera's keys.
  EXPECT_EQ(MoveSelectedEntity(doc, state, MoveKey::Up, 0), MoveResult::NotMoved);
  EXPECT_EQ(MoveSelectedEntity(doc, state, MoveKey::Up, kCtrlKey | kShiftKey),
            MoveResult::NotMoved);
  EXPECT_FALSE(doc.Modified);

  // {key, moved, X, Y, Z after it}: b = 4 and a = 4 are the walls.
  constexpr int kX = 1024 + 512, kZ = 2048 + 512;
  for (auto [key, moved, x, y, z] : {std::tuple{MoveKey::Up, true, 2, 0, 3},
                                     {MoveKey::Up, false, 2, 0, 3},
                                     {MoveKey::Down, true, 2, 0, 2},
                                     {MoveKey::Down, true, 2, 0, 1},
                                     {MoveKey::Down, false, 2, 0, 1},
                                     {MoveKey::Right, true, 3, 0, 1},
                                     {MoveKey::Right, false, 3, 0, 1},
                                     {MoveKey::Left, true, 2, 0, 1},
                                     {MoveKey::Left, true, 1, 0, 1},
                                     {MoveKey::Left, false, 1, 0, 1},
                                     {MoveKey::PageUp, true, 1, -128, 1},
                                     {MoveKey::PageDown, true, 1, 0, 1},
                                     {MoveKey::PageDown, true, 1, 128, 1}}) {
    EXPECT_EQ(MoveSelectedEntity(doc, state, key, kCtrlKey),
              moved ? MoveResult::Moved : MoveResult::AtEdge);
    EXPECT_EQ(std::tuple(it.X, it.Y, it.Z), std::tuple(kX + 1024 * x, y, kZ + 1024 * z));
  }
  EXPECT_TRUE(doc.Modified);
}

// A new item is lit by its room (-1 in both intensity fields, as the real levels' items are);
// in the later games the second field is the OCB, which starts at 0.
TEST_F(ItemTest, NewItemsAreLitByTheirRoom) {
  state.SectorSelected = true;
  state.SelectedSectorX = 2;
  state.SelectedSectorZ = 3;
  for (auto [game, second] : {std::pair{Game::TR2, -1}, {Game::TR3, -1}, {Game::TR4, 0}}) {
    doc.GameVersion = game;
    const std::optional<int> index = ItemAdd(doc, state);
    ASSERT_TRUE(index);
    const Item& item = level().Items[static_cast<size_t>(*index)];
    EXPECT_EQ(item.Intensity1, -1);
    EXPECT_EQ(item.OCB, second);
  }
}

}  // namespace
}  // namespace slab
