// The first- to third-game layout, in file order. Lists whose file entry equals their
// record are copied in one move; the others are read field by field.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "level/load_level.h"
#include "level/record_readers.h"

namespace slab {

namespace {

struct ClassicReader {
  ByteCursor& c;
  Level& level;
  int version;  // 1, 2 or 3
  Tr1PaletteLayout tr1Palette;

  bool Tr2Plus() const { return version >= kTR2; }

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

  void ReadRoom(Room& room) {
    RoomInfo& info = room.Info;
    info.X = c.ReadI32();
    info.Z = c.ReadI32();
    info.YBottom = c.ReadI32();
    info.YTop = c.ReadI32();
    room.NumDataWords = c.ReadCount32("NumDataWords");

    room.NumVertices = c.ReadCount16("NumVertices");
    if (Tr2Plus()) {
      c.ReadList(room.Vertices, room.NumVertices);
    } else {
      c.ReadEach(room.Vertices, room.NumVertices, 8, [&](RoomVertex& v) {
        v.X = c.ReadI16();
        v.Y = c.ReadI16();
        v.Z = c.ReadI16();
        v.Lighting1 = c.ReadI16();
      });
    }
    room.NumRectangles = c.ReadCount16("NumRectangles");
    c.ReadEach(room.Rectangles, room.NumRectangles, 10, [&](RoomQuad& q) { ReadRoomQuad(c, q); });
    room.NumTriangles = c.ReadCount16("NumTriangles");
    c.ReadEach(room.Triangles, room.NumTriangles, 8,
               [&](RoomTriangle& t) { ReadRoomTriangle(c, t); });
    room.NumSprites = c.ReadCount16("NumSprites");
    c.ReadList(room.Sprites, room.NumSprites);
    room.NumPortals = c.ReadCount16("NumPortals");
    c.ReadList(room.Portals, room.NumPortals);

    room.NumZSectors = c.ReadCount16("NumZSectors");
    room.NumXSectors = c.ReadCount16("NumXSectors");
    c.ReadList(room.Sectors, int64_t{room.NumXSectors} * room.NumZSectors);

    room.AmbientIntensity1 = c.ReadI16();
    if (Tr2Plus()) room.AmbientIntensity2 = c.ReadI16();
    if (version == kTR2) room.LightMode = c.ReadI16();

    room.NumLights = c.ReadCount16("NumLights");
    c.ReadEach(room.Lights, room.NumLights, Tr2Plus() ? 24 : 18, [&](RoomLight& l) {
      l.X = c.ReadI32();
      l.Y = c.ReadI32();
      l.Z = c.ReadI32();
      l.Intensity1 = c.ReadI16();
      if (Tr2Plus()) l.Intensity2 = c.ReadI16();
      l.Fade1 = c.ReadI32();
      if (Tr2Plus()) l.Fade2 = c.ReadI32();
    });

    room.NumStaticMeshes = c.ReadCount16("NumStaticMeshes");
    if (Tr2Plus()) {
      c.ReadList(room.StaticMeshes, room.NumStaticMeshes);
    } else {
      c.ReadEach(room.StaticMeshes, room.NumStaticMeshes, 18, [&](RoomStatic& s) {
        s.X = c.ReadI32();
        s.Y = c.ReadI32();
        s.Z = c.ReadI32();
        s.Rotation = c.ReadU16();
        s.Intensity1 = c.ReadI16();
        s.ObjectID = c.ReadU16();
      });
    }
    room.AlternateRoom = c.ReadI16();
    room.Flags = c.ReadI16();
    if (version == kTR3) {
      room.WaterScheme = c.ReadU8();
      room.ReverbInfo = c.ReadU8();
      room.AlternateGroup = c.ReadU8();
    }
  }

  void ReadRooms() {
    Section("the room count");
    level.NumRooms = c.ReadCount16("NumRooms");
    // Every room takes at least 40 bytes, which bounds the list before it is sized.
    int64_t rooms = level.NumRooms;
    c.NeedEntries(rooms, 40);
    level.Rooms.resize(static_cast<size_t>(rooms));
    for (size_t i = 0; i < level.Rooms.size(); ++i) {
      Section("room " + std::to_string(i));
      ReadRoom(level.Rooms[i]);
    }
  }

  void ReadWordBytes(const char* what, const char* field, int32_t& count,
                     std::vector<uint8_t>& bytes) {
    Section(what);
    count = c.ReadCount32(field);
    c.ReadList(bytes, int64_t{count} * 2);
  }

  template <typename T>
  void ReadCountedList(const char* what, const char* field, int32_t& count, std::vector<T>& list) {
    Section(what);
    count = c.ReadCount32(field);
    c.ReadList(list, count);
  }

  void ReadObjectTextures() {
    Section("the object textures");
    level.NumObjectTextures = c.ReadCount32("NumObjectTextures");
    c.ReadEach(level.ObjectTextures, level.NumObjectTextures, 20, [&](ObjectTexture& t) {
      t.Attribute = c.ReadU16();
      t.Tile = c.ReadU16();
      ReadTextureCorners(c, t);
    });
  }

  void ReadPalette() {
    Section("the palette");
    c.ReadBytes(level.Palette.data(), level.Palette.size());
  }

  void ReadBoxes() {
    Section("the boxes");
    level.NumBoxes = c.ReadCount32("NumBoxes");
    level.Tr1BoxBounds.clear();
    if (Tr2Plus()) {
      c.ReadList(level.Boxes, level.NumBoxes);
    } else {
      c.ReadEach(level.Boxes, level.NumBoxes, 20, [&](Box& b) {
        std::array<int32_t, 4> bounds{};
        for (auto& v : bounds) v = c.ReadI32();
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
        b.TrueFloor = c.ReadI16();
        b.OverlapIndex = c.ReadI16();
      });
    }
    Section("the overlaps");
    level.NumOverlaps = c.ReadCount32("NumOverlaps");
    c.ReadList(level.Overlaps, level.NumOverlaps);
    Section("the zones");
    c.ReadList(level.Zones, int64_t{level.NumBoxes} * (Tr2Plus() ? 10 : 6));
  }

  void ReadItems() {
    Section("the items");
    level.NumItems = c.ReadCount32("NumItems");
    if (Tr2Plus()) {
      c.ReadList(level.Items, level.NumItems);
      return;
    }
    c.ReadEach(level.Items, level.NumItems, 22, [&](Item& item) {
      item.ObjectID = c.ReadI16();
      item.Room = c.ReadI16();
      item.X = c.ReadI32();
      item.Y = c.ReadI32();
      item.Z = c.ReadI32();
      item.Angle = c.ReadI16();
      item.Intensity1 = c.ReadI16();
      item.Flags = c.ReadU16();
    });
  }

  void ReadDemoData() {
    Section("the demo data");
    level.NumDemoData = c.ReadCount16("NumDemoData");
    level.DemoData.clear();
    if (level.NumDemoData == 0) return;
    // The bytes are grouped in 32-bit words; a partial last word holds the remaining bytes
    // in its low bytes (file order) with zeros above, so all NumDemoData bytes are kept and
    // a writer puts back exactly that many.
    auto bytes = c.Take(static_cast<size_t>(level.NumDemoData));
    level.DemoData.assign((bytes.size() + 3) / 4, 0);
    std::memcpy(level.DemoData.data(), bytes.data(), bytes.size());
  }

  void ReadSound() {
    Section("the sound map");
    level.SoundMap.assign(kSoundMapEntries, 0);
    c.ReadBytes(level.SoundMap.data(),
                sizeof(int16_t) * (version == kTR1 ? kTr1SoundMapEntries : kSoundMapEntries));
    ReadCountedList("the sound details", "NumSoundDetails", level.NumSoundDetails,
                    level.SoundDetails);
    if (version == kTR1) {
      // Every first-game file carries its WAV data here: a byte count, then the bytes.
      Section("the sound samples");
      uint32_t size = c.ReadU32();
      c.ReadList(level.Tr1SampleData, size);
    }
    ReadCountedList("the sample indices", "NumSampleIndices", level.NumSampleIndices,
                    level.SampleIndices);
  }

  void ReadAnimations() {
    Section("the animations");
    level.NumAnimations = c.ReadCount32("NumAnimations");
    c.ReadEach(level.Animations, level.NumAnimations, 32, [&](Animation& a) {
      a.FrameOffset = c.ReadI32();
      a.FrameRate = c.ReadU8();
      a.FrameSize = c.ReadU8();
      a.StateID = c.ReadI16();
      a.Speed[0] = c.ReadI32();
      a.Speed[1] = c.ReadI32();
      a.FrameStart = c.ReadI16();
      a.FrameEnd = c.ReadI16();
      a.NextAnimation = c.ReadI16();
      a.NextFrame = c.ReadI16();
      a.NumStateChanges = c.ReadI16();
      a.StateChangeOffset = c.ReadI16();
      a.NumAnimCommands = c.ReadI16();
      a.AnimCommand = c.ReadI16();
    });
  }

  void ReadMoveables() {
    Section("the moveables");
    level.NumMoveables = c.ReadCount32("NumMoveables");
    c.ReadEach(level.Moveables, level.NumMoveables, 18, [&](Moveable& m) { ReadMoveable(c, m); });
  }

  void ReadRest() {
    Section("the texture pages");
    level.Reserved32 = c.ReadI32();
    ReadRooms();
    ReadWordBytes("the floor data", "NumFloorData", level.NumFloorData, level.FloorData);
    ReadWordBytes("the mesh data", "NumMeshData", level.NumMeshData, level.MeshData);
    ReadCountedList("the mesh pointers", "NumMeshPointers", level.NumMeshPointers,
                    level.MeshPointers);
    ReadAnimations();
    ReadCountedList("the state changes", "NumStateChanges", level.NumStateChanges,
                    level.StateChanges);
    ReadCountedList("the animation dispatches", "NumAnimDispatches", level.NumAnimDispatches,
                    level.AnimDispatches);
    ReadCountedList("the animation commands", "NumAnimCommands", level.NumAnimCommands,
                    level.AnimCommands);
    ReadCountedList("the mesh trees", "NumMeshTrees", level.NumMeshTrees, level.MeshTrees);
    ReadCountedList("the frames", "NumFrames", level.NumFrames, level.Frames);
    ReadMoveables();
    ReadCountedList("the static meshes", "NumStaticMeshes", level.NumStaticMeshes,
                    level.StaticMeshDefs);
    if (version != kTR3) ReadObjectTextures();
    ReadCountedList("the sprite textures", "NumSpriteTextures", level.NumSpriteTextures,
                    level.SpriteTextures);
    ReadCountedList("the sprite sequences", "NumSpriteSequences", level.NumSpriteSequences,
                    level.SpriteSequences);
    if (version == kTR1 && tr1Palette == Tr1PaletteLayout::AfterSpriteSequences) ReadPalette();
    ReadCountedList("the cameras", "NumCameras", level.NumCameras, level.Cameras);
    ReadCountedList("the sound sources", "NumSoundSources", level.NumSoundSources,
                    level.SoundSources);
    ReadBoxes();
    ReadCountedList("the animated textures", "NumAnimatedTextures", level.NumAnimatedTextures,
                    level.AnimatedTextures);
    if (version == kTR3) ReadObjectTextures();
    ReadItems();
    Section("the light map");
    c.ReadBytes(level.LightMap.data(), level.LightMap.size());
    if (version == kTR1 && tr1Palette == Tr1PaletteLayout::AfterLightMap) ReadPalette();
    Section("the cinematic frames");
    level.NumCinematicFrames = c.ReadCount16("NumCinematicFrames");
    c.ReadList(level.CinematicFrames, level.NumCinematicFrames);
    ReadDemoData();
    ReadSound();
    level.Tr1Palette = tr1Palette;
  }
};

}  // namespace

size_t ClassicPagesSize(int32_t numTextiles, int gameVersion) {
  return static_cast<size_t>(std::max(numTextiles, 0)) * kPagePixels *
         (gameVersion >= kTR2 ? 3 : 1);
}

void ReadClassicHeader(ByteCursor& cursor, Level& level, int gameVersion) {
  ClassicReader{cursor, level, gameVersion, Tr1PaletteLayout::AfterLightMap}.ReadHeader();
}

void ReadClassicRest(ByteCursor& cursor, Level& level, int gameVersion) {
  if (gameVersion != kTR1) {
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

void ReadClassicLevel(ByteCursor& cursor, Level& level, int gameVersion) {
  ClassicReader reader{cursor, level, gameVersion, Tr1PaletteLayout::AfterLightMap};
  reader.ReadHeader();
  reader.ReadPages();
  ReadClassicRest(cursor, level, gameVersion);
}

}  // namespace slab
