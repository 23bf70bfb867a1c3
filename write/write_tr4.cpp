#include "write/byte_writer.h"
#include "write/write_level.h"

namespace slab {

std::vector<uint8_t> EncodeTR4Intermediate(const Level& level) {
  ByteWriter w;
  w.WriteI32(level.Version);
  return std::move(w.Bytes());
}

}  // namespace slab
