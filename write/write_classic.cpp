// The first- to third-game layout, section for section as level/read_classic.cpp reads it.
// Counts are written from the lists themselves, so an edited list always matches its count.
#include <algorithm>
#include <string>

#include "write/byte_writer.h"
#include "write/record_writers.h"
#include "write/write_level.h"

namespace slab {

namespace {

// Writes the body into the inherited w, which its braces name first.
struct ClassicWriter : ListWriter {
  const Level& level;
  Game version;
  std::vector<FileSection>* sections = nullptr;
  RecordWriter io{w};

  void Mark(std::string name) {
    if (sections != nullptr) sections->push_back({std::move(name), w.Size()});
  }

  bool Tr2Plus() const { return version >= Game::TR2; }

  void Header() {
    w.WriteI32(level.Version);
    if (Tr2Plus()) {
      w.WriteBytes(level.Palette.data(), level.Palette.size());
      w.WriteBytes(level.Palette16.data(), level.Palette16.size());
    }
    // Pages missing from one of the two lists (a level converted from another game) are
    // written black rather than cut short.
    size_t pages =
        std::max(level.Textile8.size(), Tr2Plus() ? level.Textile16.size() : 0) / kPagePixels;
    w.WriteU32(static_cast<uint32_t>(pages));
    size_t have8 = std::min(level.Textile8.size(), pages * kPagePixels);
    w.WriteBytes(level.Textile8.data(), have8);
    w.WriteZeros(pages * kPagePixels - have8);
    if (Tr2Plus()) {
      size_t have16 = std::min(level.Textile16.size(), pages * kPagePixels);
      w.WriteBytes(level.Textile16.data(), have16 * 2);
      w.WriteZeros((pages * kPagePixels - have16) * 2);
    }
    w.WriteI32(level.Reserved32);
  }

  template <typename T>
  void CountedRecords(const std::vector<T>& list) {
    WriteCountedRecords(w, list, version);
  }

  void Boxes() {
    w.WriteU32(static_cast<uint32_t>(level.Boxes.size()));
    if (Tr2Plus()) {
      w.WriteList(level.Boxes);
    } else {
      for (size_t i = 0; i < level.Boxes.size(); ++i) {
        const Box& b = level.Boxes[i];
        // The stored world units when the box still matches them; whole sectors otherwise.
        std::array<int32_t, 4> bounds{b.Zmin * kSectorUnits, b.Zmax * kSectorUnits,
                                      b.Xmin * kSectorUnits, b.Xmax * kSectorUnits};
        if (i < level.Tr1BoxBounds.size()) {
          const auto& kept = level.Tr1BoxBounds[i];
          bool same = true;
          for (int k = 0; k < 4; ++k)
            same = same && Tr1BoxSector(kept[k]) == bounds[k] / kSectorUnits;
          if (same) bounds = kept;
        }
        TransferTr1Box(io, b, bounds);
      }
    }
    CountedList(level.Overlaps);
    if (!level.Boxes.empty()) w.WriteList(level.Zones);
  }

  void Items() {
    if (Tr2Plus())
      CountedList(level.Items);
    else
      CountedRecords(level.Items);
  }

  void Palette() { w.WriteBytes(level.Palette.data(), level.Palette.size()); }

  void Sound() {
    WriteSoundMap(w, level.SoundMap, version == Game::TR1 ? kTr1SoundMapEntries : kSoundMapEntries);
    CountedList(level.SoundDetails);
    if (version == Game::TR1) {
      w.WriteU32(static_cast<uint32_t>(level.Tr1SampleData.size()));
      w.WriteList(level.Tr1SampleData);
    }
    CountedList(level.SampleIndices);
  }

  void Body() {
    const bool paletteAfterSprites =
        version == Game::TR1 && level.Tr1Palette == Tr1PaletteLayout::AfterSpriteSequences;
    Mark("the header and texture pages");
    Header();
    Mark("the room count");
    w.WriteU16(static_cast<uint16_t>(level.Rooms.size()));
    for (size_t i = 0; i < level.Rooms.size(); ++i) {
      Mark("room " + std::to_string(i));
      Transfer(io, level.Rooms[i], version);
    }
    Mark("the floor data");
    WordBytes(level.FloorData);
    Mark("the mesh data");
    WordBytes(level.MeshData);
    CountedList(level.MeshPointers);
    Mark("the animations");
    CountedRecords(level.Animations);
    CountedList(level.StateChanges);
    CountedList(level.AnimDispatches);
    CountedList(level.AnimCommands);
    Mark("the mesh trees and frames");
    CountedList(level.MeshTrees);
    CountedList(level.Frames);
    Mark("the moveables");
    CountedRecords(level.Moveables);
    Mark("the static meshes");
    CountedList(level.StaticMeshDefs);
    Mark("the object textures");
    if (version != Game::TR3) CountedRecords(level.ObjectTextures);
    Mark("the sprites");
    CountedList(level.SpriteTextures);
    CountedList(level.SpriteSequences);
    if (paletteAfterSprites) Palette();
    Mark("the cameras and sound sources");
    CountedList(level.Cameras);
    CountedList(level.SoundSources);
    Mark("the boxes, overlaps and zones");
    Boxes();
    Mark("the animated textures");
    CountedList(level.AnimatedTextures);
    Mark("the object textures");
    if (version == Game::TR3) CountedRecords(level.ObjectTextures);
    Mark("the items");
    Items();
    Mark("the light map");
    w.WriteBytes(level.LightMap.data(), level.LightMap.size());
    if (version == Game::TR1 && !paletteAfterSprites) Palette();
    Mark("the cinematic frames");
    w.WriteU16(static_cast<uint16_t>(level.CinematicFrames.size()));
    w.WriteList(level.CinematicFrames);
    Mark("the demo data");
    WriteDemoData(w, level);
    Mark("the sound map, details and samples");
    Sound();
  }
};

}  // namespace

std::vector<uint8_t> EncodeClassicLevel(const Level& level, Game gameVersion,
                                        std::vector<FileSection>* sections) {
  ByteWriter w;
  ClassicWriter{w, level, gameVersion, sections}.Body();
  return std::move(w.Bytes());
}

}  // namespace slab
