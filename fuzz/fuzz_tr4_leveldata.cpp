// The inflated fourth-game level-data parser on raw bytes: the zlib chunk around it would
// stop blind mutation at its checksum, so the parser is fed directly. The first byte picks
// the add-on sound-map layout, which a level with a trailing block has.
#include <cstddef>
#include <cstdint>
#include <span>

#include "level/read_tr45.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::span<const uint8_t> bytes(data + 1, size - 1);
  slab::Level level;
  slab::ByteCursor cursor(bytes);
  try {
    if ((data[0] & 1) != 0) level.TrailingBlock.assign({'N', 'G'});
    slab::ReadTR4LevelData(cursor, level);
  } catch (const slab::FormatError&) {
  }
  return 0;
}
