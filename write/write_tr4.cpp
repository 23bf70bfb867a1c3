// The fourth-game intermediate file: the layout level/read_tr4.cpp reads, with every chunk
// uncompressed behind one size word and the level data in the order level/level_transfer.h
// gives it. The finisher (write/finish_tr4.cpp) compresses the chunks afterwards.
#include <algorithm>

#include "level/level_transfer.h"
#include "write/byte_writer.h"
#include "write/record_writers.h"
#include "write/write_level.h"

namespace slab {

namespace {

// A texture chunk: one size word, then the pages, padded or cut to whole pages.
template <typename T, typename Allocator>
void TextureChunk(ByteWriter& file, const std::vector<T, Allocator>& pixels, size_t pages) {
  size_t bytes = pages * kPagePixels * sizeof(T);
  size_t have = std::min(bytes, pixels.size() * sizeof(T));
  file.WriteU32(static_cast<uint32_t>(bytes));
  file.WriteBytes(pixels.data(), have);
  file.WriteZeros(bytes - have);
}

}  // namespace

std::vector<uint8_t> EncodeTR4Intermediate(const Level& level) {
  ByteWriter file;
  file.WriteI32(level.Version);
  file.WriteI16(level.NumRoomTextiles);
  file.WriteI16(level.NumObjTextiles);
  file.WriteI16(level.NumBumpTextiles);
  const size_t pages = static_cast<size_t>(std::max(level.NumTextiles, 0));
  TextureChunk(file, level.Textile32, pages);
  TextureChunk(file, level.Textile16, pages);
  TextureChunk(file, level.MiscTextile32, static_cast<size_t>(std::max(level.NumMiscTextiles, 0)));

  ByteWriter geometry;
  LevelWriter io(geometry);
  TransferTR4LevelData(io, level);
  file.WriteU32(static_cast<uint32_t>(geometry.Size()));
  file.WriteBytes(geometry.Bytes().data(), geometry.Size());

  file.WriteU32(static_cast<uint32_t>(level.Samples.size()));
  for (const SampleChunk& sample : level.Samples) {
    file.WriteI32(sample.UncompressedSize);
    file.WriteU32(static_cast<uint32_t>(sample.Data.size()));
    file.WriteBytes(sample.Data.data(), sample.Data.size());
  }
  file.WriteBytes(level.TrailingBlock.data(), level.TrailingBlock.size());
  return std::move(file.Bytes());
}

}  // namespace slab
