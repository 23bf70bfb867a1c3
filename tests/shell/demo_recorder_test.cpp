#include "shell/demo_recorder.h"

#include <gtest/gtest.h>

#include <vector>

#include "level/level.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/tick_clock.h"

namespace slab {
namespace {

struct Recording : ::testing::Test {
  // A crate, then two Lara items: the first one gives the header.
  Recording() {
    level.Items = {Item{7, 0, 99}, Item{0, 3, 1024, -512, 2048, -16384}, Item{0, 3, 5}};
    level.NumDemoData = 8;
    level.DemoData = {1, 2};
  }
  Level level;
  DemoRecorder recorder;
  TestKeyboard keyboard;
  ManualTickClock clock;
  RecordingSink sink;
  DemoDevices devices{keyboard, clock, sink};
  Game gameVersion = Game::TR2;

  void PollFor(int64_t ms, int64_t step = 10) {
    for (int64_t t = 0; t < ms; t += step) {
      clock.Advance(step);
      PollDemoRecorder(recorder, level, gameVersion, devices);
    }
  }
  void PressTab(int64_t hold = 20, int64_t after = 20) {
    keyboard.Press(kDikTab);
    PollFor(hold);
    keyboard.Release(kDikTab);
    PollFor(after);
  }
  // Started, left alone for a moment as a user answers the message first, then TAB.
  void StartCapture() {
    ASSERT_EQ(StartDemoRecording(recorder, level, devices), DemoStart::Started);
    PollFor(200);
    PressTab();
  }
  int32_t LastSample() const { return level.DemoData[static_cast<size_t>(level.NumDemoData) - 1]; }
};

TEST_F(Recording, HeaderFromTheFirstLaraThenStopAddsTheEndMarkerOnce) {
  Level noLara = level;
  noLara.Items.resize(1);
  EXPECT_EQ(StartDemoRecording(recorder, noLara, devices), DemoStart::NoLara);
  EXPECT_EQ(noLara.NumDemoData, 8);
  ASSERT_EQ(StartDemoRecording(recorder, level, devices), DemoStart::Started);
  EXPECT_EQ(level.DemoData, (std::vector<int32_t>{1024, -512, 2048, 0, -16384, 0, 3, 1, 0, 0}));
  EXPECT_EQ(sink.Shown.size(), 2u);  // why not, then how to start
  // Nothing is appended before TAB.
  keyboard.Press(kDikUp);
  PollFor(2000);
  EXPECT_EQ(level.NumDemoData, 10);

  EXPECT_TRUE(StopDemoRecording(recorder, level));
  EXPECT_EQ(level.DemoData.back(), -1);
  EXPECT_EQ(level.NumDemoData, 44);
  // A second Stop must not turn the byte count into bytes again.
  EXPECT_FALSE(StopDemoRecording(recorder, level));
  EXPECT_EQ(level.NumDemoData, 44);
}

TEST_F(Recording, ThirtySamplesASecondHoweverOftenPolledWithTheKeysAndTheLookKeyPerGame) {
  StartCapture();
  for (int64_t step : {1, 7, 16, 45}) {
    int before = level.NumDemoData;
    PollFor(3000, step);
    EXPECT_NEAR(level.NumDemoData - before, 90, 1) << "polled every " << step << " ms";
  }
  for (uint8_t code : {kDikUp, kDikDown, kDikLeft, kDikRight, kDikLeftAlt, kDikRightAlt, kDikSpace,
                       kDikLeftCtrl, kDikComma, kDikSlash})
    keyboard.Press(code);
  PollFor(40, 1);
  EXPECT_EQ(LastSample(), 0x7F | kDemoLook);
  gameVersion = Game::TR3;
  keyboard.Release(kDikComma);
  PollFor(80, 1);
  EXPECT_EQ(LastSample(), 0x7F);
  keyboard.ReleaseAll();
  PollFor(80, 1);
  EXPECT_EQ(LastSample(), 0);
}

TEST_F(Recording, TabPausesAndAHeldTabTogglesOnce) {
  StartDemoRecording(recorder, level, devices);
  PressTab(1000, 200);
  EXPECT_TRUE(recorder.DemoCapturing);
  EXPECT_EQ(sink.Beeps, 1);
  PressTab();
  EXPECT_FALSE(recorder.DemoCapturing);
  int paused = level.NumDemoData;
  PollFor(1000);
  EXPECT_EQ(level.NumDemoData, paused);
  // Two presses within 100 ms count once.
  PressTab(10, 10);
  PressTab(10, 10);
  EXPECT_TRUE(recorder.DemoCapturing);
  EXPECT_EQ(sink.Beeps, 3);
}

TEST_F(Recording, AKeyboardThatCannotBeReadRefusesWithItsReasonAndChangesNothing) {
  keyboard.Available = false;
  EXPECT_EQ(StartDemoRecording(recorder, level, devices), DemoStart::NoKeyboard);
  ASSERT_EQ(sink.Shown.size(), 1u);
  EXPECT_EQ(sink.Shown[0], keyboard.FailureText() + "\n\nDemo recording is not available.");
  EXPECT_FALSE(recorder.DemoRecording);
  EXPECT_EQ(level.NumDemoData, 8);
}

TEST_F(Recording, CaptureStopsByItselfAtTheLimit) {
  StartCapture();
  PollFor(300 * 1000, 15);
  EXPECT_FALSE(recorder.DemoCapturing);
  EXPECT_TRUE(recorder.DemoRecording);
  EXPECT_EQ(level.NumDemoData, kMaxDemoEntries - 1);
  EXPECT_EQ(sink.Shown.size(), 2u);  // it says so
  PressTab();                        // no restart past the limit
  EXPECT_FALSE(recorder.DemoCapturing);
  StopDemoRecording(recorder, level);
  EXPECT_EQ(level.NumDemoData, 32764);
  EXPECT_EQ(level.DemoData.back(), -1);
}

}  // namespace
}  // namespace slab
