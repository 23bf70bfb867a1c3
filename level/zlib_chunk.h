// The zlib-compressed chunks of fourth- and fifth-game files: a uint32 uncompressed size,
// a uint32 compressed size, then the zlib stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "level/byte_cursor.h"
#include "level/level.h"

namespace slab {

struct ZlibChunk {
  uint32_t UncompressedSize = 0;
  uint32_t CompressedSize = 0;
  std::span<const uint8_t> Data;  // the compressed bytes, inside the file's buffer
};

// Reads the header and takes the compressed bytes; a stream longer than the file throws.
ZlibChunk ReadZlibChunk(ByteCursor& file);

// The most a stream of this many bytes can inflate to (deflate stays below 1032:1). A
// larger stated size cannot be true, so it never sizes a list.
uint64_t MostInflatedFrom(uint32_t compressedSize);

// The stated size, or the most the stream can hold when the stated size is impossible.
size_t UsableSize(const ZlibChunk& chunk);

// Inflates the chunk into dst. Complete when zlib finished the stream and it gave exactly the
// stated size; otherwise dst holds what came out before the damage.
struct InflateResult {
  size_t Produced = 0;
  bool Complete = false;
};
InflateResult InflateChunk(const ZlibChunk& chunk, std::span<uint8_t> dst);

// The three texture chunks that open both file bodies after the page counts: 32-bit pages,
// 16-bit pages (as many as the 32-bit ones) and the further 32-bit pages. Each is inflated
// straight into its list, sized from the inflated data. Returns false when any chunk was
// damaged; the pages then hold what could be inflated.
bool ReadTextureChunks(ByteCursor& file, Level& level);

}  // namespace slab
