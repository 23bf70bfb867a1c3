// Run under an X server (ctest starts it with xvfb-run): keys pressed with xdotool must show
// in the state read through our own connection, with no window of ours at all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/keyboard.h"

namespace slab {
namespace {

bool Xdotool(const std::string& arguments) {
  return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

TEST(X11Keyboard, ReadsKeysPressedElsewhere) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "xdotool is not installed";
  auto keyboard = MakeSystemKeyboard();
  ASSERT_TRUE(keyboard->SetUpKeyboard()) << keyboard->FailureText();

  const std::pair<const char*, uint8_t> kCases[] = {{"Tab", kDikTab},
                                                    {"Up", kDikUp},
                                                    {"Down", kDikDown},
                                                    {"Left", kDikLeft},
                                                    {"Right", kDikRight},
                                                    {"Control_L", kDikLeftCtrl},
                                                    {"Control_R", kDikRightCtrl},
                                                    {"Alt_L", kDikLeftAlt},
                                                    {"space", kDikSpace},
                                                    {"comma", kDikComma},
                                                    {"slash", kDikSlash}};
  KeyboardState state;
  for (auto [name, key] : kCases) {
    ASSERT_TRUE(Xdotool(std::string("keydown ") + name)) << name;
    ASSERT_TRUE(keyboard->ReadKeyboard(state));
    EXPECT_TRUE(KeyIsDown(state, key)) << name;
    // Nothing else is down, but for the modifier xdotool may hold with a modifier key
    // (left Ctrl with right Ctrl).
    for (size_t code = 0; code < state.size(); ++code)
      EXPECT_TRUE(code == key || code == kDikLeftCtrl || code == kDikLeftAlt ||
                  !(state[code] & kKeyDown))
          << name << " also shows " << code;
    ASSERT_TRUE(Xdotool(std::string("keyup ") + name)) << name;
    ASSERT_TRUE(keyboard->ReadKeyboard(state));
    EXPECT_FALSE(KeyIsDown(state, key)) << name;
  }
}

}  // namespace
}  // namespace slab
