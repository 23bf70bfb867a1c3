// The first- to third-game layout, in file order. Lists whose file entry equals their
// record are copied in one move; the others are read field by field.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "level/load_level.h"
#include "level/record_transfer.h"

namespace slab {

namespace {

struct ClassicReader {
  ByteCursor& c;
  Level& level;
  Game version;  // 1, 2 or 3
  Tr1PaletteLayout tr1Palette;
  RecordReader io{c};

  bool Tr2Plus() const { return version >= Game::TR2; }

  void Section(std::string name) { c.SetContext(std::move(name)); }

  void ReadHeader() {
    if (Tr2Plus()) {
      Section("the palette");
      c.ReadBytes(level.Palette.data(), level.Palette.size());
      c.ReadBytes(level.Palette16.data(), level.Palette16.size());
    }
    Section("the texture page count");
    level.NumTextiles = c.ReadCount32("NumTextiles");
  }

  void ReadPages() {
    Section("the texture pages");
    int64_t pages = level.NumTextiles;
    c.NeedEntries(pages, kPagePixels * (Tr2Plus() ? 3 : 1));
    c.ReadList(level.Textile8, pages * static_cast<int64_t>(kPagePixels));
    if (Tr2Plus()) c.ReadList(level.Textile16, pages * static_cast<int64_t>(kPagePixels));
  }

  void ReadWordBytes(const char* what, const char* field, std::vector<uint8_t>& bytes) {
    Section(what);
    c.ReadList(bytes, int64_t{c.ReadCount32(field)} * 2);
  }

  template <typename T>
  void ReadCountedList(const char* what, const char* field, std::vector<T>& list) {
    slab::ReadCountedList(c, what, field, list);
  }

  void ReadObjectTextures() {
    ReadCountedRecords(c, "the object textures", "NumObjectTextures", level.ObjectTextures,
                       version);
  }

  void ReadPalette() {
    Section("the palette");
    c.ReadBytes(level.Palette.data(), level.Palette.size());
  }

  void ReadBoxes() {
    Section("the boxes");
    const int32_t boxes = c.ReadCount32("NumBoxes");
    level.Tr1BoxBounds.clear();
    if (Tr2Plus()) {
      c.ReadList(level.Boxes, boxes);
    } else {
      c.ReadEach(level.Boxes, boxes, 20, [&](Box& b) {
        std::array<int32_t, 4> bounds{};
        TransferTr1Box(io, b, bounds);
        level.Tr1BoxBounds.push_back(bounds);
        // Whole sectors, as the later games store them. Coordinates outside 0-262143 keep
        // the low byte of their sector number; Tr1BoxBounds keeps the value itself.
        auto sectors = [](int32_t units) {
          return static_cast<uint8_t>(static_cast<int64_t>(std::floor(units / 1024.0)) & 0xFF);
        };
        b.Zmin = sectors(bounds[0]);
        b.Zmax = sectors(bounds[1]);
        b.Xmin = sectors(bounds[2]);
        b.Xmax = sectors(bounds[3]);
      });
    }
    Section("the overlaps");
    c.ReadList(level.Overlaps, c.ReadCount32("NumOverlaps"));
    Section("the zones");
    c.ReadList(level.Zones, int64_t{boxes} * (Tr2Plus() ? 10 : 6));
  }

  void ReadItems() {
    if (Tr2Plus())
      ReadCountedList("the items", "NumItems", level.Items);
    else
      ReadCountedRecords(c, "the items", "NumItems", level.Items, version);
  }

  void ReadDemoData() {
    Section("the demo data");
    level.NumDemoData = c.ReadCount16("NumDemoData");
    slab::ReadDemoData(c, level.NumDemoData, level.DemoData);
  }

  void ReadSound() {
    Section("the sound map");
    level.SoundMap.assign(kSoundMapEntries, 0);
    c.ReadBytes(level.SoundMap.data(),
                sizeof(int16_t) * (version == Game::TR1 ? kTr1SoundMapEntries : kSoundMapEntries));
    ReadCountedList("the sound details", "NumSoundDetails", level.SoundDetails);
    if (version == Game::TR1) {
      // Every first-game file carries its WAV data here: a byte count, then the bytes.
      Section("the sound samples");
      c.ReadList(level.Tr1SampleData, c.ReadCountU32("the sample data size"));
    }
    ReadCountedList("the sample indices", "NumSampleIndices", level.SampleIndices);
  }

  void ReadRest() {
    Section("the texture pages");
    level.Reserved32 = c.ReadI32();
    ReadRoomList(c, level.Rooms, version);
    ReadWordBytes("the floor data", "NumFloorData", level.FloorData);
    ReadWordBytes("the mesh data", "NumMeshData", level.MeshData);
    ReadCountedList("the mesh pointers", "NumMeshPointers", level.MeshPointers);
    ReadCountedRecords(c, "the animations", "NumAnimations", level.Animations, version);
    ReadCountedList("the state changes", "NumStateChanges", level.StateChanges);
    ReadCountedList("the animation dispatches", "NumAnimDispatches", level.AnimDispatches);
    ReadCountedList("the animation commands", "NumAnimCommands", level.AnimCommands);
    ReadCountedList("the mesh trees", "NumMeshTrees", level.MeshTrees);
    ReadCountedList("the frames", "NumFrames", level.Frames);
    ReadCountedRecords(c, "the moveables", "NumMoveables", level.Moveables, version);
    ReadCountedList("the static meshes", "NumStaticMeshes", level.StaticMeshDefs);
    if (version != Game::TR3) ReadObjectTextures();
    ReadCountedList("the sprite textures", "NumSpriteTextures", level.SpriteTextures);
    ReadCountedList("the sprite sequences", "NumSpriteSequences", level.SpriteSequences);
    if (version == Game::TR1 && tr1Palette == Tr1PaletteLayout::AfterSpriteSequences) ReadPalette();
    ReadCountedList("the cameras", "NumCameras", level.Cameras);
    ReadCountedList("the sound sources", "NumSoundSources", level.SoundSources);
    ReadBoxes();
    ReadCountedList("the animated textures", "NumAnimatedTextures", level.AnimatedTextures);
    if (version == Game::TR3) ReadObjectTextures();
    ReadItems();
    Section("the light map");
    c.ReadBytes(level.LightMap.data(), level.LightMap.size());
    if (version == Game::TR1 && tr1Palette == Tr1PaletteLayout::AfterLightMap) ReadPalette();
    Section("the cinematic frames");
    c.ReadList(level.CinematicFrames, c.ReadCount16("NumCinematicFrames"));
    ReadDemoData();
    ReadSound();
    level.Tr1Palette = tr1Palette;
  }
};

}  // namespace

size_t ClassicPagesSize(int32_t numTextiles, Game gameVersion) {
  return static_cast<size_t>(std::max(numTextiles, 0)) * kPagePixels *
         (gameVersion >= Game::TR2 ? 3 : 1);
}

void ReadClassicHeader(ByteCursor& cursor, Level& level, Game gameVersion) {
  ClassicReader{cursor, level, gameVersion, Tr1PaletteLayout::AfterLightMap}.ReadHeader();
}

void ReadClassicRest(ByteCursor& cursor, Level& level, Game gameVersion) {
  if (gameVersion != Game::TR1) {
    ClassicReader{cursor, level, gameVersion, Tr1PaletteLayout::AfterLightMap}.ReadRest();
    return;
  }
  // First-game files keep their palette in one of two places, and nothing in the file says
  // which: the layout that reads the file exactly to its end wins. The pages read so far are
  // set aside so a second attempt starts from the header alone.
  auto pages = std::move(level.Textile8);
  const Level header = level;
  auto attempt = [&](Tr1PaletteLayout layout, ByteCursor& c, Level& out) {
    out = header;
    ClassicReader{c, out, gameVersion, layout}.ReadRest();
  };
  std::optional<FormatError> firstError;
  ByteCursor first = cursor;
  try {
    attempt(Tr1PaletteLayout::AfterLightMap, first, level);
    if (first.AtEnd()) {
      level.Textile8 = std::move(pages);
      cursor = first;
      return;
    }
  } catch (const FormatError& e) {
    firstError = e;
  }
  Level demoLayout;
  ByteCursor second = cursor;
  try {
    attempt(Tr1PaletteLayout::AfterSpriteSequences, second, demoLayout);
    if (second.AtEnd() || firstError) {
      level = std::move(demoLayout);
      level.Textile8 = std::move(pages);
      cursor = second;
      return;
    }
  } catch (const FormatError&) {
    // Report what the usual layout found: it is the one most files have.
  }
  if (firstError) throw *firstError;
  level.Textile8 = std::move(pages);
  cursor = first;
}

void ReadClassicLevel(ByteCursor& cursor, Level& level, Game gameVersion) {
  ClassicReader reader{cursor, level, gameVersion, Tr1PaletteLayout::AfterLightMap};
  reader.ReadHeader();
  reader.ReadPages();
  ReadClassicRest(cursor, level, gameVersion);
}

}  // namespace slab
