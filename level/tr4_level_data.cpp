// The inflated fourth-game level-data chunk, section by section in file order.
#include <algorithm>
#include <string>

#include "level/read_tr45.h"
#include "level/record_readers.h"

namespace slab {

namespace {

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
  room.NumDataWords = data.ReadCount32("NumDataWords");
  room.NumVertices = data.ReadCount16("NumVertices");
  data.ReadList(room.Vertices, room.NumVertices);
  room.NumRectangles = data.ReadCount16("NumRectangles");
  data.ReadEach(room.Rectangles, room.NumRectangles, 10,
                [&](RoomQuad& quad) { ReadRoomQuad(data, quad); });
  room.NumTriangles = data.ReadCount16("NumTriangles");
  data.ReadEach(room.Triangles, room.NumTriangles, 8,
                [&](RoomTriangle& triangle) { ReadRoomTriangle(data, triangle); });
  // The count stays as stored; these files hold no sprite entries after it.
  room.NumSprites = data.ReadCount16("NumSprites");
  room.NumPortals = data.ReadCount16("NumPortals");
  data.ReadList(room.Portals, room.NumPortals);
  room.NumZSectors = data.ReadCount16("NumZSectors");
  room.NumXSectors = data.ReadCount16("NumXSectors");
  data.ReadList(room.Sectors, int64_t{room.NumXSectors} * room.NumZSectors);
  room.AmbientIntensity1 = data.ReadI16();  // low half of the room colour
  room.AmbientIntensity2 = data.ReadI16();  // high half
  room.NumLights = data.ReadCount16("NumLights");
  data.ReadEach(room.Lights, room.NumLights, 46,
                [&](RoomLight& light) { ReadTR4Light(data, light); });
  room.NumStaticMeshes = data.ReadCount16("NumStaticMeshes");
  data.ReadList(room.StaticMeshes, room.NumStaticMeshes);
  room.AlternateRoom = data.ReadI16();
  room.Flags = data.ReadI16();
  room.WaterScheme = data.ReadU8();
  room.ReverbInfo = data.ReadU8();
  room.AlternateGroup = data.ReadU8();
}

// A count word and a list whose file entries equal its records.
template <typename T>
void ReadCountedList(ByteCursor& data, const char* what, const char* field, int32_t& count,
                     std::vector<T>& list) {
  data.SetContext(std::string("the ") + what);
  count = data.ReadCount32(field);
  data.ReadList(list, count);
}

// Demo bytes grouped as 32-bit words; a last partial word is padded with zero bytes, and
// exactly numBytes bytes are consumed.
void ReadDemoData(ByteCursor& data, int16_t numBytes, std::vector<int32_t>& demo) {
  demo.clear();
  if (numBytes == 0) return;
  size_t n = static_cast<size_t>(numBytes);
  data.Need(n);
  demo.assign((n + 3) / 4, 0);
  data.ReadBytes(demo.data(), n);
}

}  // namespace

void ReadTR4LevelData(ByteCursor& data, Level& level, bool addOnSoundMap) {
  data.SetContext("the room count");
  level.Reserved32 = data.ReadI32();
  level.NumRooms = data.ReadCount16("NumRooms");
  level.Rooms.clear();
  if (level.NumRooms > 0) {
    // A room holds at least 58 bytes of counts and fields: check before sizing the list.
    data.NeedEntries(static_cast<uint64_t>(level.NumRooms), 58);
    level.Rooms.resize(static_cast<size_t>(level.NumRooms));
    for (size_t i = 0; i < level.Rooms.size(); ++i) {
      data.SetContext("room " + std::to_string(i));
      ReadTR4Room(data, level.Rooms[i]);
    }
  }

  data.SetContext("the floor data");
  level.NumFloorData = data.ReadCount32("NumFloorData");
  data.ReadList(level.FloorData, int64_t{level.NumFloorData} * 2);
  data.SetContext("the mesh data");
  level.NumMeshData = data.ReadCount32("NumMeshData");
  data.ReadList(level.MeshData, int64_t{level.NumMeshData} * 2);
  ReadCountedList(data, "mesh pointers", "NumMeshPointers", level.NumMeshPointers,
                  level.MeshPointers);
  ReadCountedList(data, "animations", "NumAnimations", level.NumAnimations, level.Animations);
  ReadCountedList(data, "state changes", "NumStateChanges", level.NumStateChanges,
                  level.StateChanges);
  ReadCountedList(data, "animation dispatches", "NumAnimDispatches", level.NumAnimDispatches,
                  level.AnimDispatches);
  ReadCountedList(data, "animation commands", "NumAnimCommands", level.NumAnimCommands,
                  level.AnimCommands);
  ReadCountedList(data, "mesh trees", "NumMeshTrees", level.NumMeshTrees, level.MeshTrees);
  ReadCountedList(data, "frames", "NumFrames", level.NumFrames, level.Frames);

  data.SetContext("the moveables");
  level.NumMoveables = data.ReadCount32("NumMoveables");
  data.ReadEach(level.Moveables, level.NumMoveables, 18,
                [&](Moveable& moveable) { ReadMoveable(data, moveable); });
  ReadCountedList(data, "static meshes", "NumStaticMeshes", level.NumStaticMeshes,
                  level.StaticMeshDefs);

  data.SetContext("the sprite marker");
  data.Skip(3);  // "SPR"; not compared
  ReadCountedList(data, "sprite textures", "NumSpriteTextures", level.NumSpriteTextures,
                  level.SpriteTextures);
  ReadCountedList(data, "sprite sequences", "NumSpriteSequences", level.NumSpriteSequences,
                  level.SpriteSequences);
  ReadCountedList(data, "cameras", "NumCameras", level.NumCameras, level.Cameras);
  ReadCountedList(data, "fly-by cameras", "NumFlybyCameras", level.NumFlybyCameras,
                  level.FlybyCameras);
  ReadCountedList(data, "sound sources", "NumSoundSources", level.NumSoundSources,
                  level.SoundSources);
  ReadCountedList(data, "boxes", "NumBoxes", level.NumBoxes, level.Boxes);
  ReadCountedList(data, "overlaps", "NumOverlaps", level.NumOverlaps, level.Overlaps);
  data.SetContext("the zones");
  data.ReadList(level.Zones, int64_t{level.NumBoxes} * 10);
  ReadCountedList(data, "animated textures", "NumAnimatedTextures", level.NumAnimatedTextures,
                  level.AnimatedTextures);

  // One byte, the animated textures' UV-range count, then "TEX" (not compared).
  data.SetContext("the texture marker");
  level.AnimatedTexturesUVCount = data.ReadU8();
  data.Skip(3);
  data.SetContext("the object textures");
  level.NumObjectTextures = data.ReadCount32("NumObjectTextures");
  data.ReadEach(level.ObjectTextures, level.NumObjectTextures, 38,
                [&](ObjectTexture& texture) { ReadTR4ObjectTexture(data, texture); });
  ReadCountedList(data, "items", "NumItems", level.NumItems, level.Items);
  ReadCountedList(data, "AI objects", "NumAIObjects", level.NumAIObjects, level.AIObjects);

  data.SetContext("the demo data");
  level.DemoData.clear();
  if (addOnSoundMap) {
    // The add-on's files give the slot to the sound map's length and carry no demo.
    uint16_t entries = data.ReadU16();
    level.NumDemoData = 0;
    data.SetContext("the sound map");
    data.ReadList(level.SoundMap, entries);
  } else {
    level.NumDemoData = data.ReadCount16("NumDemoData");
    ReadDemoData(data, level.NumDemoData, level.DemoData);
    data.SetContext("the sound map");
    data.ReadList(level.SoundMap, kSoundMapEntries);
  }

  ReadCountedList(data, "sound details", "NumSoundDetails", level.NumSoundDetails,
                  level.SoundDetails);
  ReadCountedList(data, "sample indices", "NumSampleIndices", level.NumSampleIndices,
                  level.SampleIndices);
  // Six closing bytes, not used; a chunk that stops short of them still holds every list.
  data.Seek(data.Pos() + std::min<size_t>(6, data.Remaining()));
}

}  // namespace slab
