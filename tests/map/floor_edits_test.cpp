// The minecart buttons: the words they write, where, and the redrawn map (the wall box is the
// window test's and the edit commands').
#include "map/floor_edits.h"

#include <gtest/gtest.h>

#include "floordata/walkers.h"
#include "map/draw_room.h"
#include "map/edit_commands.h"
#include "map_fixture.h"

namespace slab {
namespace {

using test::Act;
using test::Fn;
namespace colour = map_colour;

class FloorEditsTest : public test::MapFixture {
 protected:
  FloorEditsTest() {
    AddRoom(5, 5);
    ListAt(0, 3, 3, {Fn(1, 0, true), 0});  // something before the edited lists
    ChooseRoom(doc, state, 0);
  }

  // The user's click on sector (a, b), then on the button.
  bool Press(int a, int b, MinecartMode mode) {
    state.SelectedSectorX = a;
    state.SelectedSectorZ = b;
    state.SectorSelected = true;
    return static_cast<bool>(MinecartCommand(doc, state, history, mode, messages));
  }
  std::vector<uint16_t> Words(size_t from, size_t count) {
    std::vector<uint16_t> out;
    for (size_t i = from; i < from + count; ++i)
      out.push_back(static_cast<uint16_t>(level().FloorData.at(2 * i) |
                                          level().FloorData.at(2 * i + 1) << 8));
    return out;
  }
  uint16_t WordCount() { return static_cast<uint16_t>(level().FloorData.size() / 2); }

  EditHistory history;
};

TEST_F(FloorEditsTest, EachButtonOnASectorWithoutListAppendsItsWord) {
  for (auto [b, mode, word, drawn] :
       {std::tuple{1, MinecartMode::Left, 0x8014, colour::kFunction20},
        {2, MinecartMode::Right, 0x8015, colour::kFunction21},
        {3, MinecartMode::Stop, 0x0014, colour::kMinecartStop}}) {
    const uint16_t before = WordCount();
    ASSERT_TRUE(Press(2, b, mode));
    EXPECT_EQ(At(0, 2, b).FDIndex, before);
    EXPECT_EQ(Words(before, 1)[0], word);
    EXPECT_EQ(state.Map.Pixel(PixelX(b), PixelY(2)), drawn);
  }
  EXPECT_TRUE(doc.Modified);
}

TEST_F(FloorEditsTest, AnExistingListIsCopiedBehindTheNewWords) {
  ListAt(0, 1, 1, {Fn(4, 0, true), 0x3E00, Act(0, 0, true)});
  ListAt(0, 2, 1, {Fn(21), Fn(4, 2, true), 0x0105, Act(1, 3), 0, Act(0, 0), Act(9, 7, true)});
  const auto actions = GetTriggerList(level(), At(0, 2, 1).FDIndex);
  const uint16_t oldIndex = At(0, 1, 1).FDIndex;
  const uint16_t before = WordCount();
  ASSERT_TRUE(Press(1, 1, MinecartMode::Stop));
  const uint16_t index = At(0, 1, 1).FDIndex;
  EXPECT_EQ(index, before);
  EXPECT_EQ(Words(index, 5), (std::vector<uint16_t>{0x0014, 0x0015, 0x8004, 0x3E00, 0x8000}));
  EXPECT_EQ(GetTriggerList(level(), index).size(), 1u);

  // A second press makes another copy; the earlier ones and other sectors' lists stay.
  ASSERT_TRUE(Press(1, 1, MinecartMode::Left));
  EXPECT_EQ(At(0, 1, 1).FDIndex, before + 5);
  EXPECT_EQ(Words(index, 1)[0], 0x0014);
  EXPECT_EQ(Words(oldIndex, 1)[0], 0x8004);
  EXPECT_EQ(GetDoor(level(), At(0, 3, 3).FDIndex), 0);

  // Every action of a longer trigger survives the copy.
  ASSERT_TRUE(Press(2, 1, MinecartMode::Left));
  const auto copied = GetTriggerList(level(), At(0, 2, 1).FDIndex);
  ASSERT_EQ(copied.size(), 3u);
  for (size_t i = 0; i < copied.size(); ++i)
    EXPECT_EQ(std::tie(copied[i].Action, copied[i].Param, copied[i].Setup),
              std::tie(actions[i].Action, actions[i].Param, actions[i].Setup));
  EXPECT_EQ(GetSectorFlags(level(), At(0, 2, 1).FDIndex), kFlagFunction20 | kFlagFunction21);
}

TEST_F(FloorEditsTest, FullOrEmptyFloorData) {
  std::vector<uint16_t> full(32767, 0);
  test::SetFloorData(level(), full);
  EXPECT_FALSE(Press(2, 2, MinecartMode::Stop));
  EXPECT_EQ(level().FloorData, std::vector<uint8_t>(2 * 32767, 0));
  EXPECT_EQ(At(0, 2, 2).FDIndex, 0);
  EXPECT_FALSE(doc.Modified);
  EXPECT_EQ(messages.Shown, std::vector<std::string>{kFloorDataFullMessage});

  full.pop_back();  // one word less: the copy still gets a reachable index
  test::SetFloorData(level(), full);
  EXPECT_TRUE(Press(2, 2, MinecartMode::Stop));
  EXPECT_EQ(At(0, 2, 2).FDIndex, 32766);
  EXPECT_EQ(GetSectorFlags(level(), 32766), kFlagFunction20 | kFlagFunction21);

  // A level without floor data gets its dummy word first.
  level().FloorData.clear();
  At(0, 3, 3).FDIndex = 0;
  ASSERT_TRUE(Press(2, 1, MinecartMode::Right));
  EXPECT_EQ(At(0, 2, 1).FDIndex, 1);
  EXPECT_EQ(WordCount(), 2);
}

}  // namespace
}  // namespace slab
