// The fourth-game intermediate file: the layout level/read_tr4.cpp and
// level/tr4_level_data.cpp read, with every chunk uncompressed behind one size word. The
// finisher (write/finish_tr4.cpp) compresses the chunks afterwards.
#include <algorithm>

#include "write/byte_writer.h"
#include "write/record_writers.h"
#include "write/write_level.h"

namespace slab {

namespace {

struct TR4Writer {
  ByteWriter& w;  // the level-data chunk (the geometry buffer) while it is assembled
  const Level& level;

  template <typename T>
  void CountedList(const std::vector<T>& list) {
    WriteCountedList(w, list);
  }
  void WordBytes(const std::vector<uint8_t>& bytes) { WriteWordBytes(w, bytes); }

  void Room(const slab::Room& room) {
    w.Write(room.Info);
    w.WriteI32(room.NumDataWords);
    w.WriteU16(static_cast<uint16_t>(room.Vertices.size()));
    w.WriteList(room.Vertices);
    WriteRoomQuads(w, room.Rectangles);
    WriteRoomTriangles(w, room.Triangles);
    // The count as stored: these files keep no sprite entries behind it.
    w.WriteI16(room.NumSprites);
    w.WriteU16(static_cast<uint16_t>(room.Portals.size()));
    w.WriteList(room.Portals);
    w.WriteI16(room.NumZSectors);
    w.WriteI16(room.NumXSectors);
    w.WriteList(room.Sectors);
    w.WriteI16(room.AmbientIntensity1);
    w.WriteI16(room.AmbientIntensity2);
    w.WriteU16(static_cast<uint16_t>(room.Lights.size()));
    for (const RoomLight& l : room.Lights) {
      w.WriteI32(l.X);
      w.WriteI32(l.Y);
      w.WriteI32(l.Z);
      w.WriteBytes(l.Colour.data(), l.Colour.size());
      w.WriteI16(l.LightType);
      w.WriteU8(l.Intensity);
      for (float f : {l.In, l.Out, l.Length, l.CutOff}) w.Write(f);
      w.WriteI32(l.DX);
      w.WriteI32(l.DY);
      w.WriteI32(l.DZ);
    }
    w.WriteU16(static_cast<uint16_t>(room.StaticMeshes.size()));
    w.WriteList(room.StaticMeshes);
    w.WriteI16(room.AlternateRoom);
    w.WriteI16(room.Flags);
    w.WriteU8(room.WaterScheme);
    w.WriteU8(room.ReverbInfo);
    w.WriteU8(room.AlternateGroup);
  }

  void LevelData() {
    w.WriteI32(level.Reserved32);
    w.WriteU16(static_cast<uint16_t>(level.Rooms.size()));
    for (const slab::Room& room : level.Rooms) Room(room);
    WordBytes(level.FloorData);
    WordBytes(level.MeshData);
    CountedList(level.MeshPointers);
    CountedList(level.Animations);
    CountedList(level.StateChanges);
    CountedList(level.AnimDispatches);
    CountedList(level.AnimCommands);
    CountedList(level.MeshTrees);
    CountedList(level.Frames);
    WriteMoveables(w, level.Moveables);
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
    w.WriteU32(static_cast<uint32_t>(level.ObjectTextures.size()));
    for (const ObjectTexture& t : level.ObjectTextures) {
      w.WriteU16(t.Attribute);
      w.WriteU16(t.Tile);
      w.WriteU16(t.NewFlags);
      w.Write(t.Corners);
      w.Write(t.UVOrigin);
      w.WriteI32(t.Width);
      w.WriteI32(t.Height);
    }
    CountedList(level.Items);
    CountedList(level.AIObjects);
    if (!level.TrailingBlock.empty()) {
      // A level-editor add-on file: the demo-length slot holds the sound map's length.
      w.WriteU16(static_cast<uint16_t>(level.SoundMap.size()));
      w.WriteList(level.SoundMap);
    } else {
      size_t demoBytes =
          std::min<size_t>(std::max<int16_t>(level.NumDemoData, 0), level.DemoData.size() * 4);
      w.WriteI16(static_cast<int16_t>(demoBytes));
      w.WriteBytes(level.DemoData.data(), demoBytes);
      for (int i = 0; i < kSoundMapEntries; ++i)
        w.WriteI16(i < static_cast<int>(level.SoundMap.size()) ? level.SoundMap[i] : int16_t{-1});
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
