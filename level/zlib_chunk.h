// The zlib-compressed chunks of fourth- and fifth-game files: a uint32 uncompressed size,
// a uint32 compressed size, then the zlib stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "level/byte_cursor.h"
#include "level/level.h"
#include "level/pixel_list.h"

namespace slab {

struct ZlibChunk {
  uint32_t UncompressedSize = 0;
  uint32_t CompressedSize = 0;
  std::span<const uint8_t> Data;  // the compressed bytes, inside the file's buffer
};

// Reads the header and takes the compressed bytes; a stream longer than the file throws.
ZlibChunk ReadZlibChunk(ByteCursor& file);

// No real level comes near these; they bound what a damaged or forged file can make a load
// hold. Texture pages are 256 x 256 texels: the largest real levels we know carry 35 pages of
// room and object textures and 3 further pages, so 256 pages per chunk (64 MB at 32 bits per
// texel) is generous. The largest real level-data chunk inflates to under 2 MB; 64 MB is more
// than thirty times that.
inline constexpr size_t kMaxTexturePages = 256;
inline constexpr size_t kMaxLevelDataBytes = size_t{64} << 20;

// What the texture chunks of one load may inflate to in all, and separately what its level
// data may: twelve times the file's size each (real levels inflate to at most six times theirs
// in all), at least 4 MB so small tool-made levels with well-compressed pages open, and never
// more than 192 MB. A stream that would inflate further (a forged size, or a stream built to
// inflate a thousandfold) is cut there.
class InflateBudget {
 public:
  explicit InflateBudget(size_t fileSize);
  size_t Remaining() const { return remaining_; }
  void Spend(size_t bytes) { remaining_ -= bytes < remaining_ ? bytes : remaining_; }

 private:
  size_t remaining_;
};

struct InflateResult {
  size_t Produced = 0;       // bytes that came out of the stream
  bool Ended = false;        // the stream reached its end, its check included
  bool Complete = false;     // the stream ended cleanly with exactly the stated size
  bool OverCeiling = false;  // the stream holds more than the ceiling allowed
};

// Inflates the chunk into out, which grows as bytes arrive and never beyond ceilingBytes: a
// stated size is trusted only as far as the compressed bytes could fill it. out ends with
// every byte that inflated, zero-filled up to the stated size when that was plausible.
InflateResult InflateInto(const ZlibChunk& chunk, std::vector<uint8_t>& out, size_t ceilingBytes);
// The same into storage that is not zeroed before the stream fills it.
InflateResult InflateInto(const ZlibChunk& chunk, PixelList<uint8_t>& out, size_t ceilingBytes);

// Why a chunk did not inflate to its stated size, as "<chunk> does not inflate to its stated N
// bytes: ...", saying how far it came and whether its stream ended.
std::string NotInflatedText(const std::string& chunkName, const ZlibChunk& chunk,
                            const InflateResult& result);

// The three texture chunks that open both file bodies after the page counts: 32-bit pages,
// 16-bit pages (as many as the 32-bit ones) and the further 32-bit pages. Each is inflated
// straight into its list, sized from the inflated data, within budget and kMaxTexturePages.
// Returns what is wrong with the first chunk that does not inflate whole or holds other pages
// than the level's page counts state ("the 16-bit texture chunk holds 17 pages where ..."),
// empty when nothing is; the pages then hold what could be inflated. A chunk after one that
// does not inflate which cannot be read where the sizes put it (a size forged short or long)
// throws, naming the chunk that does not inflate.
struct TextureDamage {
  std::string What;         // the first damage found, empty when none
  std::string NotInflated;  // the first chunk that does not inflate, empty when each does
};
TextureDamage ReadTextureChunks(ByteCursor& file, Level& level, InflateBudget& budget);

// Reads what follows a chunk (readNext, naming it as part): a chunk that does not inflate may
// have a forged size, which puts what follows where it is not, so a FormatError there is told
// as that chunk's fault.
template <typename Read>
auto AfterChunk(const std::string& notInflated, const std::string& part, Read readNext) {
  try {
    return readNext();
  } catch (const FormatError& e) {
    if (notInflated.empty()) throw;
    throw FormatError::Inconsistent(
        notInflated + ", so " + part + " is not where its sizes put it (" + e.what() + ")",
        e.Offset);
  }
}

}  // namespace slab
