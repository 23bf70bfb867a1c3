// Synthetic levels for the floor-data tests: a list of words becomes FloorData.
#pragma once

#include <cstdint>
#include <vector>

#include "level/level.h"

namespace slab::test {

inline void SetFloorData(Level& level, const std::vector<uint16_t>& words) {
  level.FloorData.clear();
  for (uint16_t w : words) {
    level.FloorData.push_back(static_cast<uint8_t>(w & 0xFF));
    level.FloorData.push_back(static_cast<uint8_t>(w >> 8));
  }
}

// Word 0 is the dummy every level starts with; lists begin at word 1.
inline Level LevelWithList(const std::vector<uint16_t>& list) {
  std::vector<uint16_t> words{0};
  words.insert(words.end(), list.begin(), list.end());
  Level level;
  SetFloorData(level, words);
  return level;
}

// Function word: code, sub-function (trigger type, climb sides), end bit.
constexpr uint16_t Fn(int code, int sub = 0, bool last = false) {
  return static_cast<uint16_t>(code | sub << 8 | (last ? 0x8000 : 0));
}
// Trigger action word: action, parameter, end bit.
constexpr uint16_t Act(int action, int param, bool last = false) {
  return static_cast<uint16_t>(action << 10 | param | (last ? 0x8000 : 0));
}

}  // namespace slab::test
