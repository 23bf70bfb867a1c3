// The fourth-game intermediate file: the layout level/read_tr4.cpp and
// level/tr4_level_data.cpp read, with every chunk uncompressed behind one size word. The
// finisher (write/finish_tr4.cpp) compresses the chunks afterwards.
#include <algorithm>

#include "write/byte_writer.h"
#include "write/record_writers.h"
#include "write/write_level.h"

namespace slab {

namespace {

// w, the first thing its braces name, is the level-data chunk (the geometry buffer) while it
// is assembled.
struct TR4Writer : ListWriter {
  const Level& level;

  void LevelData() {
    w.WriteI32(level.Reserved32);
    w.WriteU16(static_cast<uint16_t>(level.Rooms.size()));
    RecordWriter io(w);
    for (const Room& room : level.Rooms) Transfer(io, room, Game::TR4);
    WordBytes(level.FloorData);
    WordBytes(level.MeshData);
    CountedList(level.MeshPointers);
    CountedList(level.Animations);
    CountedList(level.StateChanges);
    CountedList(level.AnimDispatches);
    CountedList(level.AnimCommands);
    CountedList(level.MeshTrees);
    CountedList(level.Frames);
    WriteCountedRecords(w, level.Moveables, Game::TR4);
    CountedList(level.StaticMeshDefs);
    w.WriteText("SPR");
    CountedList(level.SpriteTextures);
    CountedList(level.SpriteSequences);
    CountedList(level.Cameras);
    CountedList(level.FlybyCameras);
    CountedList(level.SoundSources);
    CountedList(level.Boxes);
    CountedList(level.Overlaps);
    w.WriteList(level.Zones);
    CountedList(level.AnimatedTextures);
    // Real files keep the animated textures' UV-range count in the byte before "TEX".
    w.WriteU8(level.AnimatedTexturesUVCount);
    w.WriteText("TEX");
    WriteCountedRecords(w, level.ObjectTextures, Game::TR4);
    CountedList(level.Items);
    CountedList(level.AIObjects);
    if (!level.TrailingBlock.empty()) {
      // A level-editor add-on file: the demo-length slot holds the sound map's length.
      w.WriteU16(static_cast<uint16_t>(level.SoundMap.size()));
      w.WriteList(level.SoundMap);
    } else {
      WriteDemoData(w, level);
      WriteSoundMap(w, level.SoundMap, kSoundMapEntries);
    }
    CountedList(level.SoundDetails);
    CountedList(level.SampleIndices);
    w.WriteZeros(6);
  }
};

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
  TR4Writer{geometry, level}.LevelData();
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
