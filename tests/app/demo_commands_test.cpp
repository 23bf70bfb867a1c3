#include "app/demo_commands.h"

#include <gtest/gtest.h>

#include "map/edit_commands.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/tick_clock.h"

namespace slab {
namespace {

struct DemoCommands : ::testing::Test {
  DemoCommands() {
    doc.GameVersion = Game::TR2;
    doc.CurrentLevel.Items = {Item{0, 3, 1024, -512, 2048, -16384}};  // Lara
    doc.CurrentLevel.DemoData = {5, 6, 7};
    doc.CurrentLevel.NumDemoData = 12;
  }
  Document doc;
  MapState state;
  EditHistory history;
  DemoRecorder recorder;
  TestKeyboard keyboard;
  ManualTickClock clock;
  RecordingSink sink;
  DemoDevices devices{keyboard, clock, sink};
  std::string status;
};

// A recording is one step: its undo gives back the demo it replaced, its redo the recording.
TEST_F(DemoCommands, UndoingARecordingRestoresTheDemoItReplaced) {
  EXPECT_FALSE(StartDemoCommand(doc, recorder, devices, status));
  EXPECT_EQ(status, kNoLevelStatus);
  doc.LevelLoaded = true;
  const Level before = doc.CurrentLevel;
  ASSERT_TRUE(StartDemoCommand(doc, recorder, devices, status));
  EXPECT_TRUE(doc.Modified);
  EXPECT_FALSE(StartDemoCommand(doc, recorder, devices, status));  // one recording at a time
  keyboard.Press(kDikTab);
  for (int i = 0; i < 30; ++i) {
    clock.Advance(40);
    PollDemoRecorder(recorder, doc.CurrentLevel, doc.GameVersion, devices);
  }
  ASSERT_TRUE(StopDemoCommand(doc, history, recorder));
  EXPECT_FALSE(StopDemoCommand(doc, history, recorder));
  EXPECT_EQ(history.Size(), 1u);
  const Level recorded = doc.CurrentLevel;
  ASSERT_NE(recorded.DemoData, before.DemoData);

  ASSERT_TRUE(UndoCommand(doc, state, history));
  EXPECT_EQ(std::tie(doc.CurrentLevel.NumDemoData, doc.CurrentLevel.DemoData),
            std::tie(before.NumDemoData, before.DemoData));
  EXPECT_FALSE(doc.Modified);
  ASSERT_TRUE(RedoCommand(doc, state, history));
  EXPECT_EQ(std::tie(doc.CurrentLevel.NumDemoData, doc.CurrentLevel.DemoData),
            std::tie(recorded.NumDemoData, recorded.DemoData));
}

}  // namespace
}  // namespace slab
