// X key codes of an evdev server (the Linux input code + 8) to DirectInput scan codes.
#pragma once

#include <array>
#include <cstdint>

namespace slab {

std::array<uint8_t, 256> EvdevKeycodeTable();

}  // namespace slab
