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

}  // namespace slab
