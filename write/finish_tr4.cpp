#include "write/finish_tr4.h"

#include <zlib.h>

#include <cstring>
#include <string>

#include "level/byte_cursor.h"
#include "level/zlib_chunk.h"
#include "write/byte_writer.h"

namespace slab {

SaveResult FinishTR4(std::span<const uint8_t> intermediate, std::vector<uint8_t>& finished) {
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
      if (compress2(packed.data(), &packedSize, bytes.data(), size, Z_DEFAULT_COMPRESSION) != Z_OK)
        return SaveResult::Failed(std::string("compressing ") + chunk + " failed");
      out.WriteU32(size);
      out.WriteU32(static_cast<uint32_t>(packedSize));
      out.WriteBytes(packed.data(), packedSize);
    }
  } catch (const FormatError& e) {
    return SaveResult::Failed(std::string("the intermediate file is damaged: ") + e.what());
  }
  out.WriteBytes(intermediate.data() + in.Pos(), in.Remaining());
  finished = std::move(out.Bytes());
  return SaveResult::Done();
}

SaveResult SplitTR4File(std::span<const uint8_t> file, TR4FileParts& parts,
                        const TR4FileParts* limits) {
  ByteCursor in(file);
  try {
    in.SetContext("the header");
    auto header = in.Take(10);
    parts.Header.assign(header.begin(), header.end());
    parts.Chunks.clear();
    const size_t count = limits ? limits->Chunks.size() : 4;
    for (size_t i = 0; i < count; ++i) {
      in.SetContext("chunk " + std::to_string(i + 1));
      const ZlibChunk chunk = ReadZlibChunk(in);
      size_t ceiling = chunk.UncompressedSize;
      if (limits) {
        ceiling = limits->Chunks[i].size() + 1;
      } else if (chunk.UncompressedSize / 1032 > chunk.CompressedSize) {
        // A stream inflates to at most about 1032 times its size; a larger claim is damage.
        return SaveResult::Failed(in.Context() + " claims too many bytes");
      }
      std::vector<uint8_t>& out = parts.Chunks.emplace_back();
      const InflateResult inflated = InflateInto(chunk, out, ceiling);
      if (!inflated.Complete && !(limits && inflated.OverCeiling))
        return SaveResult::Failed(in.Context() + " does not inflate to the size it states");
    }
  } catch (const FormatError& e) {
    return SaveResult::Failed(e.what());
  }
  auto rest = file.subspan(in.Pos());
  parts.Rest.assign(rest.begin(), rest.end());
  return SaveResult::Done();
}

}  // namespace slab
