#include "level/zlib_chunk.h"

#include <zlib.h>
#ifdef SLAB_LIBDEFLATE
#include <libdeflate.h>
#endif

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string>

namespace slab {

namespace {

constexpr size_t kPageBytes32 = kPagePixels * 4;
constexpr size_t kInflateRatio = 12;
constexpr size_t kSmallFileAllowance = size_t{4} << 20;
constexpr size_t kMostInflated = size_t{192} << 20;
// Deflate stays below 1032:1. A stated size beyond that, or beyond the ceiling, cannot be
// true; one within both is allocated at once, so an intact chunk inflates in one pass.
constexpr size_t kDeflateMostRatio = 1032;
constexpr size_t kSlack = size_t{64} << 10;

// Pages a chunk of this many bytes holds, rounded to the nearest whole page.
int32_t RoundedPages(size_t bytes) {
  return static_cast<int32_t>((bytes + kPageBytes32 / 2) / kPageBytes32);
}

size_t EntriesFor(size_t bytes, size_t entrySize) { return (bytes + entrySize - 1) / entrySize; }

template <typename List>
uint8_t* BytesOf(List& list) {
  return reinterpret_cast<uint8_t*>(list.data());
}

// Resizes to entries, zero-filling whatever was not there before (pixel lists leave new
// entries uninitialised).
template <typename List>
void ResizeZeroed(List& list, size_t entries) {
  const size_t before = list.size();
  list.resize(entries);
  if (entries > before)
    std::memset(BytesOf(list) + before * sizeof(list[0]), 0, (entries - before) * sizeof(list[0]));
}

// An intact chunk inflated in one call into storage of its stated size, which libdeflate does
// two to three times as fast as zlib's streaming inflate. Anything else (a stream that is
// damaged, ends early or holds more) returns false and is left to the streaming inflate,
// which finds out how far it goes for the message. Without libdeflate (the Windows build)
// every chunk takes the streaming way.
template <typename List>
bool InflateWhole([[maybe_unused]] const ZlibChunk& chunk, [[maybe_unused]] List& list,
                  [[maybe_unused]] size_t stated) {
#ifdef SLAB_LIBDEFLATE
  using T = typename List::value_type;
  struct Release {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
  };
  const std::unique_ptr<libdeflate_decompressor, Release> decompressor(
      libdeflate_alloc_decompressor());
  if (!decompressor) return false;
  ResizeForWriting(list, EntriesFor(stated, sizeof(T)));
  size_t produced = 0;
  const libdeflate_result rc =
      libdeflate_zlib_decompress(decompressor.get(), chunk.Data.data(), chunk.Data.size(),
                                 BytesOf(list), stated, &produced);
  if (rc != LIBDEFLATE_SUCCESS || produced != stated) return false;
  // The last entry's bytes past the stated size, as the streaming way leaves them.
  std::memset(BytesOf(list) + stated, 0, list.size() * sizeof(T) - stated);
  return true;
#else
  return false;
#endif
}

template <typename List>
InflateResult InflateGrowing(const ZlibChunk& chunk, List& list, size_t ceiling) {
  using T = typename List::value_type;
  InflateResult result;
  list.clear();
  const size_t stated = chunk.UncompressedSize;
  // A stated size the compressed bytes could fill, within the ceiling, is allocated at once;
  // any other is not believed, and the list starts small and grows as bytes arrive.
  const bool plausible = stated <= ceiling && stated <= chunk.Data.size() * kDeflateMostRatio + 64;
  if (plausible && stated > 0 && InflateWhole(chunk, list, stated)) {
    result.Produced = stated;
    result.Ended = result.Complete = true;
    return result;
  }
  list.clear();
  const size_t first = plausible ? stated : std::min(ceiling, chunk.Data.size() * 4 + kSlack);
  if (chunk.Data.empty()) {
    result.Ended = false;
    result.Complete = stated == 0;
    ResizeZeroed(list, EntriesFor(first, sizeof(T)));
    return result;
  }

  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) return result;
  zs.next_in = const_cast<Bytef*>(chunk.Data.data());
  zs.avail_in = static_cast<uInt>(chunk.Data.size());
  list.resize(EntriesFor(first, sizeof(T)));
  size_t capacity = std::min(list.size() * sizeof(T), ceiling);
  bool ended = false;
  for (;;) {
    const size_t produced = zs.total_out;
    if (produced == capacity) {
      if (capacity >= ceiling) {
        // Full to the ceiling: one more byte tells a stream that ends here from one that
        // holds more than may be kept.
        uint8_t probe = 0;
        zs.next_out = &probe;
        zs.avail_out = 1;
        int rc = inflate(&zs, Z_NO_FLUSH);
        ended = rc == Z_STREAM_END && zs.avail_out == 1;
        result.OverCeiling = zs.avail_out == 0;
        zs.total_out = produced;
        break;
      }
      capacity = std::min(ceiling, std::max(capacity * 2, capacity + kSlack));
      list.resize(EntriesFor(capacity, sizeof(T)));
    }
    zs.next_out = BytesOf(list) + produced;
    zs.avail_out = static_cast<uInt>(std::min<size_t>(capacity - produced, UINT_MAX));
    const uInt inputBefore = zs.avail_in;
    int rc = inflate(&zs, Z_NO_FLUSH);
    if (rc == Z_STREAM_END) {
      ended = true;
      break;
    }
    // Damage, or input used up before the stream's end: keep what came out.
    if (rc != Z_OK || (zs.avail_out != 0 && zs.avail_in == 0)) break;
    if (zs.total_out == produced && zs.avail_in == inputBefore) break;
  }
  result.Produced = zs.total_out;
  inflateEnd(&zs);
  result.Ended = ended;
  result.Complete = ended && result.Produced == stated;

  // Every inflated byte, and zeros up to a plausible stated size when the stream fell short.
  const size_t keep =
      EntriesFor(plausible ? std::max(result.Produced, stated) : result.Produced, sizeof(T));
  const bool grew = list.size() > EntriesFor(first, sizeof(T));
  list.resize(std::min(list.size(), keep));
  // (An empty list has no storage at all: nothing to clear, and no pointer to clear it at.)
  if (list.size() * sizeof(T) > result.Produced)
    std::memset(BytesOf(list) + result.Produced, 0, list.size() * sizeof(T) - result.Produced);
  if (grew || !plausible) list.shrink_to_fit();
  return result;
}

// One texture chunk into its list; pages, when asked for, rounds the inflated size of a
// 32-bit chunk to whole pages.
template <typename List>
InflateResult InflatePages(const ZlibChunk& chunk, List& list, size_t bytesPerTexel,
                           InflateBudget& budget, int32_t* pages) {
  using T = typename List::value_type;
  const size_t ceiling =
      std::min(kMaxTexturePages * kPagePixels * bytesPerTexel, budget.Remaining());
  InflateResult result = InflateGrowing(chunk, list, ceiling);
  if (pages) *pages = RoundedPages(list.size() * sizeof(T));
  return result;
}

// What is wrong with a chunk, for the message that the pages are damaged; empty when its
// stream is whole and it holds the pages the header states (headerPages < 0: it states none).
std::string ChunkDamage(const std::string& name, const ZlibChunk& chunk, const InflateResult& result,
                        size_t bytesPerTexel, int64_t headerPages, const std::string& header) {
  const std::string chunkName = "the " + name + " chunk";
  if (result.OverCeiling)
    return chunkName + " inflates past " + std::to_string(result.Produced) +
           " bytes, more than a level's pages hold";
  if (!result.Complete) return NotInflatedText(chunkName, chunk, result);
  const size_t pageBytes = kPagePixels * bytesPerTexel;
  const auto pages = static_cast<int64_t>((result.Produced + pageBytes / 2) / pageBytes);
  if (headerPages >= 0 && pages != headerPages)
    return chunkName + " holds " + std::to_string(pages) + (pages == 1 ? " page" : " pages") +
           " where the header states " + header;
  return {};
}

}  // namespace

std::string NotInflatedText(const std::string& chunkName, const ZlibChunk& chunk,
                            const InflateResult& result) {
  std::string text = chunkName + " does not inflate to its stated " +
                     std::to_string(chunk.UncompressedSize) + " bytes: its " +
                     std::to_string(chunk.Data.size()) + " compressed bytes give " +
                     std::to_string(result.Produced);
  if (result.Ended) return text + " and end there";
  return text + (chunk.Data.empty() || result.Produced < chunk.UncompressedSize
                     ? " before the stream breaks off"
                     : " and no end of the stream");
}

InflateBudget::InflateBudget(size_t fileSize)
    : remaining_(std::min(kMostInflated, std::max(kSmallFileAllowance, fileSize * kInflateRatio))) {
}

ZlibChunk ReadZlibChunk(ByteCursor& file) {
  ZlibChunk chunk;
  chunk.UncompressedSize = file.ReadU32();
  chunk.CompressedSize = file.ReadU32();
  chunk.Data = file.Take(chunk.CompressedSize);
  return chunk;
}

InflateResult InflateInto(const ZlibChunk& chunk, std::vector<uint8_t>& out, size_t ceilingBytes) {
  return InflateGrowing(chunk, out, ceilingBytes);
}

InflateResult InflateInto(const ZlibChunk& chunk, PixelList<uint8_t>& out, size_t ceilingBytes) {
  return InflateGrowing(chunk, out, ceilingBytes);
}

TextureDamage ReadTextureChunks(ByteCursor& file, Level& level, InflateBudget& budget) {
  // The header's room, object and bump pages are what the 32-bit chunk holds, and the 16-bit
  // chunk as many again; the third chunk's pages are not counted anywhere.
  const int64_t headerPages =
      int64_t{level.NumRoomTextiles} + level.NumObjTextiles + level.NumBumpTextiles;
  const std::string header =
      std::to_string(level.NumRoomTextiles) + " + " + std::to_string(level.NumObjTextiles) + " + " +
      std::to_string(level.NumBumpTextiles) + " = " + std::to_string(headerPages);
  TextureDamage damage;
  auto note = [&](const char* name, const ZlibChunk& chunk, const InflateResult& result,
                  size_t bytesPerTexel, int64_t pages) {
    if (damage.What.empty())
      damage.What = ChunkDamage(name, chunk, result, bytesPerTexel, pages, header);
    if (!result.Complete && !result.OverCeiling && damage.NotInflated.empty())
      damage.NotInflated = NotInflatedText("the " + std::string(name) + " chunk", chunk, result);
  };
  auto readChunk = [&](const char* context) {
    file.SetContext(context);
    return AfterChunk(damage.NotInflated, context, [&] { return ReadZlibChunk(file); });
  };

  ZlibChunk pages32 = readChunk("the 32-bit texture chunk");
  note("32-bit texture", pages32,
       InflatePages(pages32, level.Textile32, 4, budget, &level.NumTextiles), 4, headerPages);
  ResizeZeroed(level.Textile32, std::max(level.Textile32.size(),
                                         static_cast<size_t>(level.NumTextiles) * kPagePixels));
  budget.Spend(level.Textile32.size() * 4);

  ZlibChunk pages16 = readChunk("the 16-bit texture chunk");
  note("16-bit texture", pages16, InflatePages(pages16, level.Textile16, 2, budget, nullptr), 2,
       headerPages);
  // As many 16-bit pages as 32-bit ones, whatever the chunk held.
  ResizeZeroed(level.Textile16, std::max(level.Textile16.size(),
                                         static_cast<size_t>(level.NumTextiles) * kPagePixels));
  budget.Spend(level.Textile16.size() * 2);

  ZlibChunk misc = readChunk("the third texture chunk");
  note("third texture", misc,
       InflatePages(misc, level.MiscTextile32, 4, budget, &level.NumMiscTextiles), 4, -1);
  ResizeZeroed(level.MiscTextile32,
               std::max(level.MiscTextile32.size(),
                        static_cast<size_t>(level.NumMiscTextiles) * kPagePixels));
  budget.Spend(level.MiscTextile32.size() * 4);
  return damage;
}

}  // namespace slab
