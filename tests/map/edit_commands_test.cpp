// Every editing command on the sample level is undone and redone exactly, down to the saved
// file's bytes (the window tests check that edits need and keep their selection).
#include "map/edit_commands.h"

#include <gtest/gtest.h>

#include "map_fixture.h"
#include "write/write_level.h"

namespace slab {
namespace {

class EditCommandsTest : public test::MapFixture {
 protected:
  void SetUp() override { OpenShowcase(); }

  std::vector<uint8_t> Saved() const {
    return EncodeClassicLevel(doc.CurrentLevel, doc.GameVersion);
  }

  EditHistory history;
};

TEST_F(EditCommandsTest, EveryEditUndoesAndRedoesToTheSameBytes) {
  ASSERT_TRUE(Choose(2, 2));  // Lara's sector in the hall
  std::vector<std::vector<uint8_t>> states{Saved()};
  auto step = [&](const CommandOutcome& outcome) {
    ASSERT_TRUE(outcome) << states.size() << ": " << outcome.Status;
    states.push_back(Saved());
  };
  step(FlagCommand(doc, state, history, ItemFlagBox::Active2));
  step(OcbCommand(doc, state, history, "-7"));
  step(RotateCommand(doc, state, history));
  step(TypeCommand(doc, state, history, 1));
  step(MoveCommand(doc, state, history, MoveKey::Right));
  step(MoveCommand(doc, state, history, MoveKey::PageUp));
  step(AddItemCommand(doc, state, history));
  step(MinecartCommand(doc, state, history, MinecartMode::Stop, messages));
  step(WallCommand(doc, state, history, true));
  const int16_t demoCount = level().NumDemoData;
  std::vector<int32_t> demo = level().DemoData;
  level().DemoData = {1, 2, 3};
  level().NumDemoData = 12;
  RecordDemoEdit(doc, history, demoCount, demo);
  states.push_back(Saved());

  for (size_t i = states.size() - 1; i > 0; --i) {
    ASSERT_TRUE(UndoCommand(doc, state, history)) << i;
    EXPECT_EQ(Saved(), states[i - 1]) << "after undoing step " << i;
  }
  EXPECT_FALSE(doc.Modified);  // back at the opened level
  EXPECT_EQ(UndoCommand(doc, state, history).Status, kNothingToUndoStatus);
  for (size_t i = 1; i < states.size(); ++i) {
    ASSERT_TRUE(RedoCommand(doc, state, history)) << i;
    EXPECT_EQ(Saved(), states[i]) << "after redoing step " << i;
  }
  EXPECT_EQ(RedoCommand(doc, state, history).Status, kNothingToRedoStatus);
}

TEST_F(EditCommandsTest, TypingAnOcbIsOneStepAndAnUndoneAddForgetsItsEntity) {
  ASSERT_TRUE(Choose(2, 2));
  const int16_t ocb = level().Items[0].OCB;
  for (const char* typed : {"1", "12", "123"}) ASSERT_TRUE(OcbCommand(doc, state, history, typed));
  EXPECT_EQ(history.Size(), 1u);  // typing is one step
  UndoCommand(doc, state, history);
  EXPECT_EQ(level().Items[0].OCB, ocb);

  ASSERT_TRUE(AddItemCommand(doc, state, history));
  const int added = state.SelectedEntity;
  UndoCommand(doc, state, history);
  EXPECT_EQ(state.SelectedEntity, -1);  // an undone add forgets its entity
  EXPECT_EQ(level().Items.size(), static_cast<size_t>(added));
  EXPECT_EQ(state.Triggers.size(), level().Items.size());
}

// A key that cannot move the item leaves no step to undo and tells the status bar why.
TEST_F(EditCommandsTest, AMoveIntoTheWallRecordsNothingAndSaysWhy) {
  ASSERT_TRUE(Choose(2, 2));
  ASSERT_TRUE(MoveCommand(doc, state, history, MoveKey::Left));  // onto a = 1, the last inner
  const std::vector<uint8_t> before = Saved();
  const CommandOutcome blocked = MoveCommand(doc, state, history, MoveKey::Left);
  EXPECT_FALSE(blocked);
  EXPECT_EQ(blocked.Status, "Item 0 stays where it is: the next sector is the room's wall.");
  EXPECT_EQ(history.Size(), 1u);
  EXPECT_EQ(Saved(), before);
}

TEST(EditHistory, KeepsABoundedNumberOfSmallEdits) {
  Level level;
  level.Items.resize(1);
  EditHistory history;
  for (size_t i = 0; i < EditHistory::kMaxEdits + 10; ++i) {
    Item after;
    after.X = static_cast<int32_t>(i);
    history.Record(Edit{EditKind::ItemMove, "Move Item 0", EntityChange{0, Item{}, after}});
  }
  EXPECT_EQ(history.Size(), EditHistory::kMaxEdits);
  EXPECT_LT(history.Bytes(), EditHistory::kMaxEdits * 400);
  EXPECT_FALSE(history.AtSavedState());  // the opened state was forgotten
  ASSERT_TRUE(history.Undo(level));
  EXPECT_EQ(level.Items[0].X, 0);
}

}  // namespace
}  // namespace slab
