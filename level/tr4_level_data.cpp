// The inflated fourth-game level-data chunk, section by section in file order.
#include <algorithm>
#include <string>

#include "level/read_tr45.h"
#include "level/record_readers.h"

namespace slab {

namespace {

// Sector grids with a side of 0 or less hold no sectors (the loops over them run no times).
int64_t SectorCount(int16_t numX, int16_t numZ) {
  return numX > 0 && numZ > 0 ? int64_t{numX} * numZ : 0;
}

void ReadTR4Light(ByteCursor& data, RoomLight& light) {
  light.X = data.ReadI32();
  light.Y = data.ReadI32();
  light.Z = data.ReadI32();
  data.ReadBytes(light.Colour.data(), light.Colour.size());
  light.LightType = data.ReadI16();  // the type byte and the byte after it
  light.Intensity = data.ReadU8();
  light.In = data.ReadF32();
  light.Out = data.ReadF32();
  light.Length = data.ReadF32();
  light.CutOff = data.ReadF32();
  light.DX = data.ReadI32();  // direction floats, kept as their bits
  light.DY = data.ReadI32();
  light.DZ = data.ReadI32();
}

void ReadTR4Room(ByteCursor& data, Room& room) {
  room.Info.X = data.ReadI32();
  room.Info.Z = data.ReadI32();
  room.Info.YBottom = data.ReadI32();
  room.Info.YTop = data.ReadI32();
  room.NumDataWords = data.ReadI32();
  room.NumVertices = data.ReadI16();
  data.ReadList(room.Vertices, room.NumVertices);
  room.NumRectangles = data.ReadI16();
  data.ReadEach(room.Rectangles, room.NumRectangles, 10,
                [&](RoomQuad& quad) { ReadRoomQuad(data, quad); });
  room.NumTriangles = data.ReadI16();
  data.ReadEach(room.Triangles, room.NumTriangles, 8,
                [&](RoomTriangle& triangle) { ReadRoomTriangle(data, triangle); });
  // The count stays as stored; these files hold no sprite entries after it.
  room.NumSprites = data.ReadI16();
  room.NumPortals = data.ReadI16();
  data.ReadList(room.Portals, room.NumPortals);
  room.NumZSectors = data.ReadI16();
  room.NumXSectors = data.ReadI16();
  data.ReadList(room.Sectors, SectorCount(room.NumXSectors, room.NumZSectors));
  room.AmbientIntensity1 = data.ReadI16();  // low half of the room colour
  room.AmbientIntensity2 = data.ReadI16();  // high half
  room.NumLights = data.ReadI16();
  data.ReadEach(room.Lights, room.NumLights, 46,
                [&](RoomLight& light) { ReadTR4Light(data, light); });
  room.NumStaticMeshes = data.ReadI16();
  data.ReadList(room.StaticMeshes, room.NumStaticMeshes);
  room.AlternateRoom = data.ReadI16();
  room.Flags = data.ReadI16();
  room.WaterScheme = data.ReadU8();
  room.ReverbInfo = data.ReadU8();
  room.AlternateGroup = data.ReadU8();
}

// A count word and a list whose file entries equal its records.
template <typename T>
void ReadCountedList(ByteCursor& data, const char* what, int32_t& count, std::vector<T>& list) {
  data.SetContext(std::string("the level data's ") + what);
  count = data.ReadI32();
  data.ReadList(list, count);
}

// Demo bytes grouped as 32-bit words; a last partial word is padded with zero bytes, and
// exactly numBytes bytes are consumed.
void ReadDemoData(ByteCursor& data, int16_t numBytes, std::vector<int32_t>& demo) {
  demo.clear();
  if (numBytes <= 0) return;
  size_t n = static_cast<size_t>(numBytes);
  data.Need(n);
  demo.assign((n + 3) / 4, 0);
  data.ReadBytes(demo.data(), n);
}

}  // namespace

void ReadTR4LevelData(ByteCursor& data, Level& level, bool addOnSoundMap) {
  data.SetContext("the level data's room count");
  level.Reserved32 = data.ReadI32();
  level.NumRooms = data.ReadI16();
  level.Rooms.clear();
  if (level.NumRooms > 0) {
    // A room holds at least 58 bytes of counts and fields: check before sizing the list.
    data.NeedEntries(static_cast<uint64_t>(level.NumRooms), 58);
    level.Rooms.resize(static_cast<size_t>(level.NumRooms));
    for (size_t i = 0; i < level.Rooms.size(); ++i) {
      data.SetContext("the level data's room " + std::to_string(i));
      ReadTR4Room(data, level.Rooms[i]);
    }
  }

  data.SetContext("the level data's floor data");
  level.NumFloorData = data.ReadI32();
  data.ReadList(level.FloorData, int64_t{level.NumFloorData} * 2);
  data.SetContext("the level data's mesh data");
  level.NumMeshData = data.ReadI32();
  data.ReadList(level.MeshData, int64_t{level.NumMeshData} * 2);
  ReadCountedList(data, "mesh pointers", level.NumMeshPointers, level.MeshPointers);
  ReadCountedList(data, "animations", level.NumAnimations, level.Animations);
  ReadCountedList(data, "state changes", level.NumStateChanges, level.StateChanges);
  ReadCountedList(data, "animation dispatches", level.NumAnimDispatches, level.AnimDispatches);
  ReadCountedList(data, "animation commands", level.NumAnimCommands, level.AnimCommands);
  ReadCountedList(data, "mesh trees", level.NumMeshTrees, level.MeshTrees);
  ReadCountedList(data, "frames", level.NumFrames, level.Frames);

  data.SetContext("the level data's moveables");
  level.NumMoveables = data.ReadI32();
  data.ReadEach(level.Moveables, level.NumMoveables, 18,
                [&](Moveable& moveable) { ReadMoveable(data, moveable); });
  ReadCountedList(data, "static meshes", level.NumStaticMeshes, level.StaticMeshDefs);

  data.SetContext("the level data's sprite marker");
  data.Skip(3);  // "SPR"; not compared
  ReadCountedList(data, "sprite textures", level.NumSpriteTextures, level.SpriteTextures);
  ReadCountedList(data, "sprite sequences", level.NumSpriteSequences, level.SpriteSequences);
  ReadCountedList(data, "cameras", level.NumCameras, level.Cameras);
  ReadCountedList(data, "fly-by cameras", level.NumFlybyCameras, level.FlybyCameras);
  ReadCountedList(data, "sound sources", level.NumSoundSources, level.SoundSources);
  ReadCountedList(data, "boxes", level.NumBoxes, level.Boxes);
  ReadCountedList(data, "overlaps", level.NumOverlaps, level.Overlaps);
  data.SetContext("the level data's zones");
  data.ReadList(level.Zones, int64_t{level.NumBoxes} * 10);
  ReadCountedList(data, "animated textures", level.NumAnimatedTextures, level.AnimatedTextures);

  // One byte, the animated textures' UV-range count, then "TEX" (not compared).
  data.SetContext("the level data's texture marker");
  level.AnimatedTexturesUVCount = data.ReadU8();
  data.Skip(3);
  data.SetContext("the level data's object textures");
  level.NumObjectTextures = data.ReadI32();
  data.ReadEach(level.ObjectTextures, level.NumObjectTextures, 38,
                [&](ObjectTexture& texture) { ReadTR4ObjectTexture(data, texture); });
  ReadCountedList(data, "items", level.NumItems, level.Items);
  ReadCountedList(data, "AI objects", level.NumAIObjects, level.AIObjects);

  data.SetContext("the level data's demo data");
  level.DemoData.clear();
  if (addOnSoundMap) {
    // The add-on's files give the slot to the sound map's length and carry no demo.
    uint16_t entries = data.ReadU16();
    level.NumDemoData = 0;
    data.SetContext("the level data's sound map");
    data.ReadList(level.SoundMap, entries);
  } else {
    level.NumDemoData = data.ReadI16();
    ReadDemoData(data, level.NumDemoData, level.DemoData);
    data.SetContext("the level data's sound map");
    data.ReadList(level.SoundMap, kSoundMapEntries);
  }

  ReadCountedList(data, "sound details", level.NumSoundDetails, level.SoundDetails);
  ReadCountedList(data, "sample indices", level.NumSampleIndices, level.SampleIndices);
  // Six closing bytes, not used; a chunk that stops short of them still holds every list.
  data.Seek(data.Pos() + std::min<size_t>(6, data.Remaining()));
}

}  // namespace slab
