#include "platform/keyboard.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/messages.h"
#include "platform/tick_clock.h"
#include "shell/demo_recorder.h"

namespace slab {
namespace {

TEST(SystemKeyboard, WithoutADisplayRecordingIsRefusedWithTheReason) {
  const char* saved = std::getenv("DISPLAY");
  const std::string savedDisplay = saved ? saved : "";
  setenv("DISPLAY", ":9876", 1);  // no server there
  auto keyboard = MakeSystemKeyboard();
  EXPECT_FALSE(keyboard->SetUpKeyboard());
  KeyboardState state;
  state.fill(0xFF);
  EXPECT_FALSE(keyboard->ReadKeyboard(state));
  EXPECT_EQ(state, KeyboardState{});

  Level level;
  level.Items.resize(1);
  DemoRecorder recorder;
  ManualTickClock clock;
  RecordingSink sink;
  EXPECT_EQ(StartDemoRecording(recorder, level, {*keyboard, clock, sink}), DemoStart::NoKeyboard);
  ASSERT_EQ(sink.Shown.size(), 1u);
  EXPECT_FALSE(keyboard->FailureText().empty());
  EXPECT_EQ(sink.Shown[0], keyboard->FailureText() + "\n\nDemo recording is not available.");
  saved ? setenv("DISPLAY", savedDisplay.c_str(), 1) : unsetenv("DISPLAY");
}

}  // namespace
}  // namespace slab
