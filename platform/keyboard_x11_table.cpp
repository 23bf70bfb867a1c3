#include "platform/keyboard_x11_table.h"

#include <cstddef>
#include <utility>

namespace slab {

std::array<uint8_t, 256> EvdevKeycodeTable() {
  constexpr int kOffset = 8;  // X key code of Linux input code 0
  std::array<uint8_t, 256> table{};
  // Escape to F12: the Linux codes are the keyboard's own scan codes, as DirectInput's are.
  for (int input = 1; input <= 0x58; ++input)
    table[static_cast<std::size_t>(input + kOffset)] = static_cast<uint8_t>(input);
  // Keys with a 0xE0 prefix in the keyboard's codes: DirectInput sets their high bit,
  // Linux numbers them apart.
  constexpr std::pair<int, uint8_t> kExtended[] = {
      {89, 0x73},   // Ro (ABNT C1)
      {92, 0x79},   // Henkan (convert)
      {93, 0x70},   // Katakana/Hiragana (kana)
      {94, 0x7B},   // Muhenkan (no convert)
      {96, 0x9C},   // keypad Enter
      {97, 0x9D},   // right Ctrl
      {98, 0xB5},   // keypad slash
      {99, 0xB7},   // SysRq / Print
      {100, 0xB8},  // right Alt
      {102, 0xC7},  // Home
      {103, 0xC8},  // cursor up
      {104, 0xC9},  // Page Up
      {105, 0xCB},  // cursor left
      {106, 0xCD},  // cursor right
      {107, 0xCF},  // End
      {108, 0xD0},  // cursor down
      {109, 0xD1},  // Page Down
      {110, 0xD2},  // Insert
      {111, 0xD3},  // Delete
      {113, 0xA0},  // mute
      {114, 0xAE},  // volume down
      {115, 0xB0},  // volume up
      {116, 0xDE},  // power
      {117, 0x8D},  // keypad equals
      {119, 0xC5},  // Pause
      {121, 0xB3},  // keypad comma
      {124, 0x7D},  // Yen
      {125, 0xDB},  // left Windows
      {126, 0xDC},  // right Windows
      {127, 0xDD},  // menu (applications)
      {142, 0xDF},  // sleep
      {143, 0xE3},  // wake
      {163, 0x99},  // next track
      {164, 0xA2},  // play/pause
      {165, 0x90},  // previous track
      {166, 0xA4},  // stop
      {183, 0x64},  // F13
      {184, 0x65},  // F14
      {185, 0x66},  // F15
  };
  for (auto [input, code] : kExtended) table[static_cast<std::size_t>(input + kOffset)] = code;
  return table;
}

}  // namespace slab
