#include "level/zlib_chunk.h"

#include <zlib.h>

#include <algorithm>
#include <string>
#include <vector>

namespace slab {

namespace {

constexpr size_t kPageBytes32 = kPagePixels * 4;

// Pages a chunk of this many bytes holds, rounded to the nearest whole page.
int32_t RoundedPages(size_t bytes) {
  return static_cast<int32_t>((bytes + kPageBytes32 / 2) / kPageBytes32);
}

size_t EntriesFor(size_t bytes, size_t entrySize) { return (bytes + entrySize - 1) / entrySize; }

template <typename T, typename Allocator>
bool InflateInto(const ZlibChunk& chunk, std::vector<T, Allocator>& list) {
  std::span<uint8_t> bytes(reinterpret_cast<uint8_t*>(list.data()), list.size() * sizeof(T));
  return InflateChunk(chunk, bytes).Complete;
}

}  // namespace

ZlibChunk ReadZlibChunk(ByteCursor& file) {
  ZlibChunk chunk;
  chunk.UncompressedSize = file.ReadU32();
  chunk.CompressedSize = file.ReadU32();
  chunk.Data = file.Take(chunk.CompressedSize);
  return chunk;
}

uint64_t MostInflatedFrom(uint32_t compressedSize) {
  return static_cast<uint64_t>(compressedSize) * 1032 + 64;
}

size_t UsableSize(const ZlibChunk& chunk) {
  return static_cast<size_t>(
      std::min<uint64_t>(chunk.UncompressedSize, MostInflatedFrom(chunk.CompressedSize)));
}

InflateResult InflateChunk(const ZlibChunk& chunk, std::span<uint8_t> dst) {
  InflateResult result;
  if (chunk.Data.empty()) {
    result.Complete = chunk.UncompressedSize == 0;
    return result;
  }
  // zlib takes an empty destination too: it then only checks that the stream is empty.
  uLongf destLen = static_cast<uLongf>(dst.size());
  int rc =
      uncompress(dst.data(), &destLen, chunk.Data.data(), static_cast<uLong>(chunk.Data.size()));
  result.Produced = static_cast<size_t>(destLen);
  result.Complete = rc == Z_OK && result.Produced == chunk.UncompressedSize;
  return result;
}

bool ReadTextureChunks(ByteCursor& file, Level& level) {
  bool intact = true;

  file.SetContext("the 32-bit texture chunk");
  ZlibChunk pages32 = ReadZlibChunk(file);
  size_t size32 = UsableSize(pages32);
  level.NumTextiles = RoundedPages(size32);
  level.Textile32.assign(
      std::max(static_cast<size_t>(level.NumTextiles) * kPagePixels, EntriesFor(size32, 4)), 0);
  intact &= InflateInto(pages32, level.Textile32);

  file.SetContext("the 16-bit texture chunk");
  ZlibChunk pages16 = ReadZlibChunk(file);
  level.Textile16.assign(std::max(static_cast<size_t>(level.NumTextiles) * kPagePixels,
                                  EntriesFor(UsableSize(pages16), 2)),
                         0);
  intact &= InflateInto(pages16, level.Textile16);

  file.SetContext("the third texture chunk");
  ZlibChunk misc = ReadZlibChunk(file);
  size_t sizeMisc = UsableSize(misc);
  level.NumMiscTextiles = RoundedPages(sizeMisc);
  // Every page the rounded count names is there in full, as for the other chunks.
  level.MiscTextile32.assign(
      std::max(static_cast<size_t>(level.NumMiscTextiles) * kPagePixels, EntriesFor(sizeMisc, 4)),
      0);
  intact &= InflateInto(misc, level.MiscTextile32);

  // An impossible stated size was cut to what the stream can hold: that is damage too.
  intact &= size32 == pages32.UncompressedSize && sizeMisc == misc.UncompressedSize &&
            UsableSize(pages16) == pages16.UncompressedSize;
  return intact;
}

}  // namespace slab
