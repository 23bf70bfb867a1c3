// The keyboard read on Windows: which virtual key stands for each DirectInput code, with the
// system's own layout mapping, and a state read through the real calls.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/keyboard.h"
#include "platform/keyboard_win32_table.h"

namespace slab {
namespace {

std::array<uint8_t, 256> SystemTable() {
  return DirectInputVirtualKeys(
      [](unsigned scan) { return static_cast<uint8_t>(MapVirtualKeyW(scan, MAPVK_VSC_TO_VK_EX)); });
}

// The keys the demo recorder and the 3D camera read, on the US layout Wine starts with.
TEST(Win32Keyboard, EveryKeyTheProgramReadsHasItsVirtualKeyLeftAndRightApart) {
  const std::array<uint8_t, 256> table = SystemTable();
  const struct {
    uint8_t Code;
    int Key;
  } cases[] = {{kDikTab, VK_TAB},         {kDikLeftCtrl, VK_LCONTROL}, {kDikComma, VK_OEM_COMMA},
               {kDikSlash, VK_OEM_2},     {kDikLeftAlt, VK_LMENU},     {kDikSpace, VK_SPACE},
               {kDikRightCtrl, VK_RCONTROL}, {kDikRightAlt, VK_RMENU},  {kDikUp, VK_UP},
               {kDikLeft, VK_LEFT},       {kDikRight, VK_RIGHT},       {kDikDown, VK_DOWN},
               {0x1E, 'A'},               {0x2A, VK_LSHIFT},           {0x36, VK_RSHIFT},
               {0x01, VK_ESCAPE}};
  for (const auto& c : cases) EXPECT_EQ(table[c.Code], c.Key) << "DirectInput code " << +c.Code;
  // The prefixed keys never take the layout's meaning of their unprefixed scan code.
  EXPECT_NE(table[kDikRightCtrl], table[kDikLeftCtrl]);
  EXPECT_NE(table[kDikRightAlt], table[kDikLeftAlt]);
  EXPECT_NE(table[0xB5], table[kDikSlash]);  // keypad slash
  EXPECT_EQ(table[0], 0);
}

TEST(Win32Keyboard, ReadsOnlyOnceSetUpAndThenNoKeyIsDownUnpressed) {
  std::unique_ptr<KeyboardSource> keyboard = MakeSystemKeyboard();
  KeyboardState state;
  state.fill(0xFF);
  EXPECT_FALSE(keyboard->ReadKeyboard(state));
  EXPECT_FALSE(keyboard->FailureText().empty());
  EXPECT_EQ(state[kDikUp], 0);
  ASSERT_TRUE(keyboard->SetUpKeyboard());
  EXPECT_TRUE(keyboard->FailureText().empty());
  ASSERT_TRUE(keyboard->ReadKeyboard(state));
  EXPECT_FALSE(KeyIsDown(state, kDikUp));
  EXPECT_FALSE(KeyIsDown(state, kDikSpace));
}

}  // namespace
}  // namespace slab
