// The first- to third-game file: the version word, then the body in the order
// level/level_transfer.h gives it, which the reader follows too.
#include "level/level_transfer.h"
#include "write/byte_writer.h"
#include "write/record_writers.h"
#include "write/write_level.h"

namespace slab {

std::vector<uint8_t> EncodeClassicLevel(const Level& level, Game gameVersion,
                                        std::vector<FileSection>* sections) {
  ByteWriter w;
  LevelWriter io(w, sections);
  io.Mark("the header and texture pages");
  io(level.Version);  // the loader reads it to choose the game; the body follows it
  TransferClassicBody(io, level, gameVersion);
  return std::move(w.Bytes());
}

}  // namespace slab
