// DirectInput scan codes to Windows virtual keys, for the keyboard read on Windows.
#pragma once

#include <array>
#include <cstdint>
#include <utility>

namespace slab {

// The virtual key of each DirectInput code that has one (0 where none). Codes below 0x80 are
// the keyboard's own scan codes and follow its layout, so LayoutKey (the system's mapping of a
// scan code) names them; codes with the high bit (the 0xE0-prefixed keys: arrows, right Ctrl
// and Alt, the editing block) mean the same key on every layout and come from a fixed list,
// as not every system maps prefixed scan codes.
template <typename LayoutKey>
std::array<uint8_t, 256> DirectInputVirtualKeys(LayoutKey layoutKey) {
  std::array<uint8_t, 256> table{};
  for (unsigned code = 1; code < 0x80; ++code) table[code] = layoutKey(code);
  constexpr std::array<std::pair<uint8_t, uint8_t>, 20> kPrefixed{{
      {0x9C, 0x0D},  // keypad Enter: VK_RETURN
      {0x9D, 0xA3},  // right Ctrl: VK_RCONTROL
      {0xB5, 0x6F},  // keypad slash: VK_DIVIDE
      {0xB7, 0x2C},  // Print: VK_SNAPSHOT
      {0xB8, 0xA5},  // right Alt: VK_RMENU
      {0xC5, 0x13},  // Pause: VK_PAUSE
      {0xC7, 0x24},  // Home: VK_HOME
      {0xC8, 0x26},  // cursor up: VK_UP
      {0xC9, 0x21},  // Page Up: VK_PRIOR
      {0xCB, 0x25},  // cursor left: VK_LEFT
      {0xCD, 0x27},  // cursor right: VK_RIGHT
      {0xCF, 0x23},  // End: VK_END
      {0xD0, 0x28},  // cursor down: VK_DOWN
      {0xD1, 0x22},  // Page Down: VK_NEXT
      {0xD2, 0x2D},  // Insert: VK_INSERT
      {0xD3, 0x2E},  // Delete: VK_DELETE
      {0xDB, 0x5B},  // left Windows: VK_LWIN
      {0xDC, 0x5C},  // right Windows: VK_RWIN
      {0xDD, 0x5D},  // menu: VK_APPS
      {0xDF, 0x5F},  // sleep: VK_SLEEP
  }};
  for (auto [code, key] : kPrefixed) table[code] = key;
  return table;
}

}  // namespace slab
