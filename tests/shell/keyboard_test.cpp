#include "platform/keyboard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "platform/messages.h"
#include "platform/tick_clock.h"
#include "shell/demo_recorder.h"

#ifdef SLAB_X11_KEYBOARD
#include "platform/keyboard_x11_table.h"
#endif

namespace slab {
namespace {

#ifdef SLAB_X11_KEYBOARD
// Which key gives which scan code is checked against a real server (x11_keyboard_test); here,
// that no two keys share one.
TEST(EvdevKeycodeTable, NoTwoKeysShareAScanCode) {
  std::set<uint8_t> seen;
  for (uint8_t code : EvdevKeycodeTable())
    EXPECT_TRUE(code == 0 || seen.insert(code).second) << int(code);
}
#endif

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
