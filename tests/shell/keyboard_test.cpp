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
TEST(EvdevKeycodeTable, MapsTheRecorderKeysAndTheMainBlock) {
  auto table = EvdevKeycodeTable();
  // X key codes of an evdev server for the keys the recorder reads.
  EXPECT_EQ(table[23], kDikTab);
  EXPECT_EQ(table[111], kDikUp);
  EXPECT_EQ(table[116], kDikDown);
  EXPECT_EQ(table[113], kDikLeft);
  EXPECT_EQ(table[114], kDikRight);
  EXPECT_EQ(table[64], kDikLeftAlt);
  EXPECT_EQ(table[108], kDikRightAlt);
  EXPECT_EQ(table[37], kDikLeftCtrl);
  EXPECT_EQ(table[105], kDikRightCtrl);
  EXPECT_EQ(table[65], kDikSpace);
  EXPECT_EQ(table[59], kDikComma);
  EXPECT_EQ(table[61], kDikSlash);
  EXPECT_EQ(table[9], 0x01);   // Escape
  EXPECT_EQ(table[24], 0x10);  // Q
  EXPECT_EQ(table[36], 0x1C);  // Return
  EXPECT_EQ(table[50], 0x2A);  // left Shift
  EXPECT_EQ(table[96], 0x58);  // F12
  // No two keys share a scan code.
  std::set<uint8_t> seen;
  for (uint8_t code : table) {
    if (code != 0) {
      EXPECT_TRUE(seen.insert(code).second) << int(code);
    }
  }
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
