#include "map/floor_edits.h"

#include <gtest/gtest.h>

#include <tuple>

#include "floordata/walkers.h"
#include "map/draw_room.h"
#include "map/edit_commands.h"
#include "map/selection.h"
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
    return static_cast<bool>(MinecartCommand(doc, state, history, mode, "Minecart", messages));
  }
  EditHistory history;

  uint16_t Word(size_t index) const {
    return static_cast<uint16_t>(doc.CurrentLevel.FloorData[2 * index] |
                                 doc.CurrentLevel.FloorData[2 * index + 1] << 8);
  }
  int32_t WordCount() const { return static_cast<int32_t>(doc.CurrentLevel.FloorData.size() / 2); }
  std::vector<uint16_t> Words(size_t from, size_t count) const {
    std::vector<uint16_t> out;
    for (size_t i = from; i < from + count; ++i) out.push_back(Word(i));
    return out;
  }
};

TEST_F(FloorEditsTest, LeftOnASectorWithoutListAppendsOneWord) {
  const int32_t before = WordCount();
  ASSERT_TRUE(Press(2, 2, MinecartMode::Left));
  EXPECT_EQ(At(0, 2, 2).FDIndex, before);
  EXPECT_EQ(level().FloorData.size(), 2u * (before + 1));
  EXPECT_EQ(Word(before), 0x8014);
  EXPECT_TRUE(doc.Modified);
  // Redrawn blue, the selection kept with its outline.
  EXPECT_EQ(state.Map.Pixel(PixelX(2), PixelY(2)), colour::kFunction20);
  EXPECT_EQ(std::tuple(state.SectorSelected, state.SelectedSectorX, state.SelectedSectorZ),
            std::tuple(true, 2, 2));
  EXPECT_NE(state.Shown, state.Map);

  ASSERT_TRUE(Press(2, 3, MinecartMode::Right));
  EXPECT_EQ(Word(At(0, 2, 3).FDIndex), 0x8015);
  EXPECT_EQ(state.Map.Pixel(PixelX(3), PixelY(2)), colour::kFunction21);
}

TEST_F(FloorEditsTest, StopGoesInFrontOfAnExistingListAsANewCopy) {
  ListAt(0, 1, 1, {Fn(4, 0, true), 0x3E00, Act(0, 0, true)});
  const uint16_t oldIndex = At(0, 1, 1).FDIndex;
  const int32_t before = WordCount();
  ASSERT_TRUE(Press(1, 1, MinecartMode::Stop));
  const uint16_t index = At(0, 1, 1).FDIndex;
  EXPECT_EQ(index, before);
  EXPECT_EQ(WordCount(), before + 5);
  EXPECT_EQ(Words(index, 5), (std::vector<uint16_t>{0x0014, 0x0015, 0x8004, 0x3E00, 0x8000}));
  EXPECT_EQ(state.Map.Pixel(PixelX(1), PixelY(1)), colour::kMinecartStop);
  EXPECT_EQ(GetTriggerList(level(), index).size(), 1u);

  // A second press makes another copy; the earlier ones stay where they were.
  ASSERT_TRUE(Press(1, 1, MinecartMode::Left));
  EXPECT_EQ(At(0, 1, 1).FDIndex, before + 5);
  EXPECT_EQ(WordCount(), before + 11);
  EXPECT_EQ(Words(before + 5, 2), (std::vector<uint16_t>{0x0014, 0x0014}));
  EXPECT_EQ(Word(index), 0x0014);  // the first copy is untouched
  EXPECT_EQ(Word(oldIndex), 0x8004);
  EXPECT_EQ(GetDoor(level(), At(0, 3, 3).FDIndex), 0);  // other sectors keep their lists
}

TEST_F(FloorEditsTest, EveryActionOfATriggerSurvivesTheCopy) {
  ListAt(0, 2, 1, {Fn(21), Fn(4, 2, true), 0x0105, Act(1, 3), 0x0000, Act(0, 0), Act(9, 7, true)});
  const auto before = GetTriggerList(level(), At(0, 2, 1).FDIndex);
  ASSERT_EQ(before.size(), 3u);
  ASSERT_TRUE(Press(2, 1, MinecartMode::Left));
  const auto after = GetTriggerList(level(), At(0, 2, 1).FDIndex);
  ASSERT_EQ(after.size(), 3u);
  for (size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].Action, before[i].Action);
    EXPECT_EQ(after[i].Param, before[i].Param);
    EXPECT_EQ(after[i].Setup, before[i].Setup);
  }
  EXPECT_EQ(GetSectorFlags(level(), At(0, 2, 1).FDIndex), kFlagFunction20 | kFlagFunction21);
}

TEST_F(FloorEditsTest, FullFloorDataWritesNothingAndSaysWhy) {
  std::vector<uint16_t> full(32767, 0);
  test::SetFloorData(level(), full);
  const Level copy = level();
  EXPECT_FALSE(Press(2, 2, MinecartMode::Stop));
  EXPECT_EQ(WordCount(), 32767);
  EXPECT_EQ(level().FloorData, copy.FloorData);
  EXPECT_EQ(At(0, 2, 2).FDIndex, 0);
  EXPECT_FALSE(doc.Modified);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0], kFloorDataFullMessage);

  full.pop_back();  // one word less: the copy still gets a reachable index
  test::SetFloorData(level(), full);
  EXPECT_TRUE(Press(2, 2, MinecartMode::Stop));
  EXPECT_EQ(At(0, 2, 2).FDIndex, 32766);
  EXPECT_EQ(GetSectorFlags(level(), 32766), kFlagFunction20 | kFlagFunction21);
}

TEST_F(FloorEditsTest, LevelWithoutFloorDataGetsItsDummyWordFirst) {
  level().FloorData.clear();
  At(0, 3, 3).FDIndex = 0;
  ASSERT_TRUE(Press(2, 2, MinecartMode::Right));
  EXPECT_EQ(At(0, 2, 2).FDIndex, 1);
  EXPECT_EQ(WordCount(), 2);
  EXPECT_EQ(GetSectorFlags(level(), 1), kFlagFunction21);
}

TEST_F(FloorEditsTest, WallCheckBoxTurnsTheSectorIntoAWall) {
  state.SelectedSectorX = 2;
  state.SelectedSectorZ = 1;
  ASSERT_EQ(At(0, 2, 1).Floor, 0);
  EXPECT_FALSE(FloorWallClick(doc, state, false));
  EXPECT_FALSE(doc.Modified);
  EXPECT_TRUE(FloorWallClick(doc, state, true));
  EXPECT_TRUE(doc.Modified);
  EXPECT_FALSE(FloorWallClick(doc, state, false));  // unchecking restores nothing
  EXPECT_EQ(At(0, 2, 1).Floor, 0x81);
  EXPECT_EQ(At(0, 2, 1).Ceiling, 0x81);

  // Showing a sector whose floor alone says "wall" checks the box and writes nothing.
  doc.Modified = false;
  At(0, 1, 3).Floor = 0x81;
  state.SelectedSectorX = 1;
  state.SelectedSectorZ = 3;
  const auto panel = ShowSelectedSector(doc, state, names);
  ASSERT_TRUE(panel);
  EXPECT_TRUE(panel->Sectors.FloorWall);
  EXPECT_EQ(At(0, 1, 3).Ceiling, 0xF0);
  EXPECT_FALSE(doc.Modified);
}

}  // namespace
}  // namespace slab
