// Numbers as the user sees them: a leading blank before values of 0 or more, a minus
// sign otherwise ("Room" + NumText(0) reads "Room 0").
#pragma once

#include <cstdint>
#include <string>

namespace slab {

inline std::string NumText(int64_t value) {
  std::string text(value >= 0 ? 1 : 0, ' ');
  text += std::to_string(value);
  return text;
}

// A sector of a room as people read it everywhere (captions, lists, tooltips, panels): grid
// cell (a, b) is numbered a-1, b-1, keeping the sign, so the corner (0, 0) reads "-1,-1" and
// never collides with (2, 2)'s "1,1". Command-line arguments and JSON fields stay 0-based.
inline std::string SectorLabel(int64_t a, int64_t b) {
  return std::to_string(a - 1) + "," + std::to_string(b - 1);
}

}  // namespace slab
