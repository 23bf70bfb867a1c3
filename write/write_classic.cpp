// The first- to third-game layout, section for section as level/read_classic.cpp reads it.
// Counts are written from the lists themselves, so an edited list always matches its count.
#include <algorithm>
#include <string>

#include "write/byte_writer.h"
#include "write/record_writers.h"
#include "write/write_level.h"

namespace slab {

namespace {

struct ClassicWriter {
  ByteWriter& w;
  const Level& level;
  int version;
  std::vector<FileSection>* sections = nullptr;

  void Mark(std::string name) {
    if (sections != nullptr) sections->push_back({std::move(name), w.Size()});
  }

  bool Tr2Plus() const { return version >= kTR2; }

  template <typename T>
  void CountedList(const std::vector<T>& list) {
    WriteCountedList(w, list);
  }
  void WordBytes(const std::vector<uint8_t>& bytes) { WriteWordBytes(w, bytes); }

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

  void WriteRoom(const Room& room) {
    w.Write(room.Info);
    w.WriteI32(room.NumDataWords);
    w.WriteU16(static_cast<uint16_t>(room.Vertices.size()));
    for (const RoomVertex& v : room.Vertices) {
      if (Tr2Plus()) {
        w.Write(v);
      } else {
        w.WriteI16(v.X);
        w.WriteI16(v.Y);
        w.WriteI16(v.Z);
        w.WriteI16(v.Lighting1);
      }
    }
    WriteRoomQuads(w, room.Rectangles);
    WriteRoomTriangles(w, room.Triangles);
    w.WriteU16(static_cast<uint16_t>(room.Sprites.size()));
    w.WriteList(room.Sprites);
    w.WriteU16(static_cast<uint16_t>(room.Portals.size()));
    w.WriteList(room.Portals);
    w.WriteI16(room.NumZSectors);
    w.WriteI16(room.NumXSectors);
    w.WriteList(room.Sectors);
    w.WriteI16(room.AmbientIntensity1);
    if (Tr2Plus()) w.WriteI16(room.AmbientIntensity2);
    if (version == kTR2) w.WriteI16(room.LightMode);
    w.WriteU16(static_cast<uint16_t>(room.Lights.size()));
    for (const RoomLight& l : room.Lights) {
      w.WriteI32(l.X);
      w.WriteI32(l.Y);
      w.WriteI32(l.Z);
      w.WriteI16(l.Intensity1);
      if (Tr2Plus()) w.WriteI16(l.Intensity2);
      w.WriteI32(l.Fade1);
      if (Tr2Plus()) w.WriteI32(l.Fade2);
    }
    w.WriteU16(static_cast<uint16_t>(room.StaticMeshes.size()));
    for (const RoomStatic& s : room.StaticMeshes) {
      if (Tr2Plus()) {
        w.Write(s);
      } else {
        w.WriteI32(s.X);
        w.WriteI32(s.Y);
        w.WriteI32(s.Z);
        w.WriteU16(s.Rotation);
        w.WriteI16(s.Intensity1);
        w.WriteU16(s.ObjectID);
      }
    }
    w.WriteI16(room.AlternateRoom);
    w.WriteI16(room.Flags);
    if (version == kTR3) {
      w.WriteU8(room.WaterScheme);
      w.WriteU8(room.ReverbInfo);
      w.WriteU8(room.AlternateGroup);
    }
  }

  void Animations() {
    w.WriteU32(static_cast<uint32_t>(level.Animations.size()));
    for (const Animation& a : level.Animations) {
      w.WriteI32(a.FrameOffset);
      w.WriteU8(a.FrameRate);
      w.WriteU8(a.FrameSize);
      w.WriteI16(a.StateID);
      w.WriteI32(a.Speed[0]);
      w.WriteI32(a.Speed[1]);
      for (int16_t v : {a.FrameStart, a.FrameEnd, a.NextAnimation, a.NextFrame, a.NumStateChanges,
                        a.StateChangeOffset, a.NumAnimCommands, a.AnimCommand})
        w.WriteI16(v);
    }
  }

  void Moveables() { WriteMoveables(w, level.Moveables); }

  void ObjectTextures() {
    w.WriteU32(static_cast<uint32_t>(level.ObjectTextures.size()));
    for (const ObjectTexture& t : level.ObjectTextures) {
      w.WriteU16(t.Attribute);
      w.WriteU16(t.Tile);
      w.Write(t.Corners);
    }
  }

  void Boxes() {
    w.WriteU32(static_cast<uint32_t>(level.Boxes.size()));
    if (Tr2Plus()) {
      w.WriteList(level.Boxes);
    } else {
      for (size_t i = 0; i < level.Boxes.size(); ++i) {
        const Box& b = level.Boxes[i];
        // The stored world units when the box still matches them; whole sectors otherwise.
        std::array<int32_t, 4> bounds{b.Zmin * 1024, b.Zmax * 1024, b.Xmin * 1024, b.Xmax * 1024};
        if (i < level.Tr1BoxBounds.size()) {
          const auto& kept = level.Tr1BoxBounds[i];
          bool same = true;
          for (int k = 0; k < 4; ++k)
            same = same && static_cast<uint8_t>((kept[k] >> 10) & 0xFF) == bounds[k] / 1024;
          if (same) bounds = kept;
        }
        for (int32_t v : bounds) w.WriteI32(v);
        w.WriteI16(b.TrueFloor);
        w.WriteI16(b.OverlapIndex);
      }
    }
    CountedList(level.Overlaps);
    if (!level.Boxes.empty()) w.WriteList(level.Zones);
  }

  void Items() {
    w.WriteU32(static_cast<uint32_t>(level.Items.size()));
    if (Tr2Plus()) {
      w.WriteList(level.Items);
      return;
    }
    for (const Item& item : level.Items) {
      w.WriteI16(item.ObjectID);
      w.WriteI16(item.Room);
      w.WriteI32(item.X);
      w.WriteI32(item.Y);
      w.WriteI32(item.Z);
      w.WriteI16(item.Angle);
      w.WriteI16(item.Intensity1);
      w.WriteU16(item.Flags);
    }
  }

  void Palette() { w.WriteBytes(level.Palette.data(), level.Palette.size()); }

  void DemoData() {
    // Exactly NumDemoData bytes of the demo image; a partial last word keeps its low bytes.
    size_t bytes =
        std::min<size_t>(std::max<int16_t>(level.NumDemoData, 0), level.DemoData.size() * 4);
    w.WriteI16(static_cast<int16_t>(bytes));
    w.WriteBytes(level.DemoData.data(), bytes);
  }

  void Sound() {
    size_t entries = version == kTR1 ? kTr1SoundMapEntries : kSoundMapEntries;
    for (size_t i = 0; i < entries; ++i)
      w.WriteI16(i < level.SoundMap.size() ? level.SoundMap[i] : int16_t{-1});
    CountedList(level.SoundDetails);
    if (version == kTR1) {
      w.WriteU32(static_cast<uint32_t>(level.Tr1SampleData.size()));
      w.WriteList(level.Tr1SampleData);
    }
    CountedList(level.SampleIndices);
  }

  void Body() {
    const bool paletteAfterSprites =
        version == kTR1 && level.Tr1Palette == Tr1PaletteLayout::AfterSpriteSequences;
    Mark("the header and texture pages");
    Header();
    Mark("the room count");
    w.WriteU16(static_cast<uint16_t>(level.Rooms.size()));
    for (size_t i = 0; i < level.Rooms.size(); ++i) {
      Mark("room " + std::to_string(i));
      WriteRoom(level.Rooms[i]);
    }
    Mark("the floor data");
    WordBytes(level.FloorData);
    Mark("the mesh data");
    WordBytes(level.MeshData);
    CountedList(level.MeshPointers);
    Mark("the animations");
    Animations();
    CountedList(level.StateChanges);
    CountedList(level.AnimDispatches);
    CountedList(level.AnimCommands);
    Mark("the mesh trees and frames");
    CountedList(level.MeshTrees);
    CountedList(level.Frames);
    Mark("the moveables");
    Moveables();
    Mark("the static meshes");
    CountedList(level.StaticMeshDefs);
    Mark("the object textures");
    if (version != kTR3) ObjectTextures();
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
    if (version == kTR3) ObjectTextures();
    Mark("the items");
    Items();
    Mark("the light map");
    w.WriteBytes(level.LightMap.data(), level.LightMap.size());
    if (version == kTR1 && !paletteAfterSprites) Palette();
    Mark("the cinematic frames");
    w.WriteU16(static_cast<uint16_t>(level.CinematicFrames.size()));
    w.WriteList(level.CinematicFrames);
    Mark("the demo data");
    DemoData();
    Mark("the sound map, details and samples");
    Sound();
  }
};

}  // namespace

std::vector<uint8_t> EncodeClassicLevel(const Level& level, int gameVersion,
                                        std::vector<FileSection>* sections) {
  ByteWriter w;
  ClassicWriter{w, level, gameVersion, sections}.Body();
  return std::move(w.Bytes());
}

}  // namespace slab
