#include "write/finish_tr4.h"

#include <zlib.h>

#include <cstring>

#include "level/byte_cursor.h"
#include "write/byte_writer.h"

namespace slab {

std::string FinishTR4(std::span<const uint8_t> intermediate, std::vector<uint8_t>& finished) {
  static const char* kChunks[] = {"the 32-bit texture pages", "the 16-bit texture pages",
                                  "the further texture pages", "the level data"};
  ByteWriter out;
  ByteCursor in(intermediate);
  try {
    in.SetContext("the header");
    out.WriteBytes(in.Take(10).data(), 10);  // version word and the three page counts
    for (const char* chunk : kChunks) {
      in.SetContext(chunk);
      uint32_t size = in.ReadU32();
      auto bytes = in.Take(size);
      uLongf packedSize = compressBound(size);
      std::vector<uint8_t> packed(packedSize);
      if (compress2(packed.data(), &packedSize, bytes.data(), size, Z_DEFAULT_COMPRESSION) !=
          Z_OK)
        return std::string("compressing ") + chunk + " failed";
      out.WriteU32(size);
      out.WriteU32(static_cast<uint32_t>(packedSize));
      out.WriteBytes(packed.data(), packedSize);
    }
  } catch (const FormatError& e) {
    return std::string("the intermediate file is damaged: ") + e.what();
  }
  out.WriteBytes(intermediate.data() + in.Pos(), in.Remaining());
  finished = std::move(out.Bytes());
  return {};
}

}  // namespace slab
