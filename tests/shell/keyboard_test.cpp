#include "shell/keyboard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "level/messages.h"
#include "shell/demo_recorder.h"
#include "shell/tick_clock.h"

#ifdef SLAB_X11_KEYBOARD
#include "shell/keyboard_x11_table.h"
#endif

namespace slab {
namespace {

#ifdef SLAB_X11_KEYBOARD
TEST(EvdevKeycodeTable, MapsTheRecorderKeysAndTheMainBlockWithoutSharing) {
  auto table = EvdevKeycodeTable();
  // X key codes of an evdev server; Escape, Q, Return, left Shift and F12 by scan code.
  for (auto [x, scan] : {std::pair<int, uint8_t>{23, kDikTab},
                         {111, kDikUp},
                         {116, kDikDown},
                         {113, kDikLeft},
                         {114, kDikRight},
                         {64, kDikLeftAlt},
                         {108, kDikRightAlt},
                         {37, kDikLeftCtrl},
                         {105, kDikRightCtrl},
                         {65, kDikSpace},
                         {59, kDikComma},
                         {61, kDikSlash},
                         {9, 0x01},
                         {24, 0x10},
                         {36, 0x1C},
                         {50, 0x2A},
                         {96, 0x58}})
    EXPECT_EQ(table[x], scan) << x;
  std::set<uint8_t> seen;
  for (uint8_t code : table) EXPECT_TRUE(code == 0 || seen.insert(code).second) << int(code);
}
#endif

TEST(SystemKeyboard, WithoutADisplayRecordingIsUnavailable) {
  const char* saved = std::getenv("DISPLAY");
  std::string savedDisplay = saved ? saved : "";
  setenv("DISPLAY", ":9876", 1);  // no server there
  auto keyboard = MakeSystemKeyboard();
  EXPECT_FALSE(keyboard->SetUpKeyboard());
  EXPECT_FALSE(keyboard->FailureText().empty());
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
  EXPECT_EQ(sink.Shown[0], keyboard->FailureText() + "\n\nDemo recording is not available.");
  saved ? setenv("DISPLAY", savedDisplay.c_str(), 1) : unsetenv("DISPLAY");
}

}  // namespace
}  // namespace slab
