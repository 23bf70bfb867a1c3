// Fifth-game room blocks on raw bytes, one after another until one fails, then the level
// data after them: the room parser's offsets and layer counts are the risky part.
#include <cstddef>
#include <cstdint>
#include <span>

#include "level/load_level.h"
#include "level/read_tr45.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  slab::ByteCursor cursor(std::span<const uint8_t>(data, size));
  slab::Level level;
  try {
    for (int i = 0; i < 8 && cursor.Remaining() >= 4; ++i) {
      slab::Room room;
      size_t before = cursor.Pos();
      slab::ReadTR5Room(cursor, room);
      if (cursor.Pos() <= before) break;
    }
    slab::ReadTR5LevelData(cursor, level);
  } catch (const slab::FormatError&) {
  } catch (const slab::LevelRefused&) {
  }
  return 0;
}
