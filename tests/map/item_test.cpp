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
  EXPECT_FALSE(MoveSelectedEntity(doc, state, MoveKey::Up, 0));  // no Ctrl: the camera's
  EXPECT_FALSE(MoveSelectedEntity(doc, state, MoveKey::Up, kCtrlKey | kShiftKey));
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
    EXPECT_EQ(MoveSelectedEntity(doc, state, key, kCtrlKey), moved);
    EXPECT_EQ(std::tuple(it.X, it.Y, it.Z), std::tuple(kX + 1024 * x, y, kZ + 1024 * z));
  }
  EXPECT_TRUE(doc.Modified);
}

}  // namespace
}  // namespace slab
