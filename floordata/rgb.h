// A colour of eight bits a channel. The sector panel's view model holds text colours, so the
// type sits here, below the map pictures that are drawn with it.
#pragma once

#include <cstdint>

namespace slab {

struct Rgb {
  uint8_t R = 0, G = 0, B = 0;
  bool operator==(const Rgb&) const = default;
};

}  // namespace slab
