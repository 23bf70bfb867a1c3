// The sprite wad reader on raw bytes: whatever the counts say, it reads inside the bytes and
// sizes nothing the bytes cannot fill; a wad it accepts encodes back to what it read.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "write/sprite_wad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  auto wad = slab::ParseSpriteWad(std::span<const uint8_t>(data, size), error);
  if (wad) {
    auto again = slab::EncodeSpriteWad(*wad);
    if (again.size() > size || !std::equal(again.begin(), again.end(), data)) std::abort();
  }
  return 0;
}
