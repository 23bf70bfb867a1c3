#include "platform/keyboard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace slab {
namespace {

TEST(SystemKeyboard, WithoutADisplayNothingIsReadAndTheReasonIsGiven) {
  const char* saved = std::getenv("DISPLAY");
  const std::string savedDisplay = saved ? saved : "";
  setenv("DISPLAY", ":9876", 1);  // no server there
  auto keyboard = MakeSystemKeyboard();
  EXPECT_FALSE(keyboard->SetUpKeyboard());
  KeyboardState state;
  state.fill(0xFF);
  EXPECT_FALSE(keyboard->ReadKeyboard(state));
  EXPECT_EQ(state, KeyboardState{});
  EXPECT_FALSE(keyboard->FailureText().empty());
  saved ? setenv("DISPLAY", savedDisplay.c_str(), 1) : unsetenv("DISPLAY");
}

}  // namespace
}  // namespace slab
