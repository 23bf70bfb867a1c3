// The inflated fourth-game level-data chunk, section by section in file order.
#include <algorithm>
#include <string>

#include "level/read_tr45.h"
#include "level/record_transfer.h"

namespace slab {

void ReadTR4LevelData(ByteCursor& data, Level& level, bool addOnSoundMap) {
  data.SetContext("the room count");
  level.Reserved32 = data.ReadI32();
  ReadRoomList(data, level.Rooms, Game::TR4);

  data.SetContext("the floor data");
  data.ReadList(level.FloorData, int64_t{data.ReadCount32("NumFloorData")} * 2);
  data.SetContext("the mesh data");
  data.ReadList(level.MeshData, int64_t{data.ReadCount32("NumMeshData")} * 2);
  ReadCountedList(data, "the mesh pointers", "NumMeshPointers", level.MeshPointers);
  ReadCountedList(data, "the animations", "NumAnimations", level.Animations);
  ReadCountedList(data, "the state changes", "NumStateChanges", level.StateChanges);
  ReadCountedList(data, "the animation dispatches", "NumAnimDispatches", level.AnimDispatches);
  ReadCountedList(data, "the animation commands", "NumAnimCommands", level.AnimCommands);
  ReadCountedList(data, "the mesh trees", "NumMeshTrees", level.MeshTrees);
  ReadCountedList(data, "the frames", "NumFrames", level.Frames);

  ReadCountedRecords(data, "the moveables", "NumMoveables", level.Moveables, Game::TR4);
  ReadCountedList(data, "the static meshes", "NumStaticMeshes", level.StaticMeshDefs);

  data.SetContext("the sprite marker");
  data.Skip(3);  // "SPR"; not compared
  ReadCountedList(data, "the sprite textures", "NumSpriteTextures", level.SpriteTextures);
  ReadCountedList(data, "the sprite sequences", "NumSpriteSequences", level.SpriteSequences);
  ReadCountedList(data, "the cameras", "NumCameras", level.Cameras);
  ReadCountedList(data, "the fly-by cameras", "NumFlybyCameras", level.FlybyCameras);
  ReadCountedList(data, "the sound sources", "NumSoundSources", level.SoundSources);
  ReadCountedList(data, "the boxes", "NumBoxes", level.Boxes);
  ReadCountedList(data, "the overlaps", "NumOverlaps", level.Overlaps);
  data.SetContext("the zones");
  data.ReadList(level.Zones, static_cast<int64_t>(level.Boxes.size()) * 10);
  ReadCountedList(data, "the animated textures", "NumAnimatedTextures", level.AnimatedTextures);

  // One byte, the animated textures' UV-range count, then "TEX" (not compared).
  data.SetContext("the texture marker");
  level.AnimatedTexturesUVCount = data.ReadU8();
  data.Skip(3);
  ReadCountedRecords(data, "the object textures", "NumObjectTextures", level.ObjectTextures,
                     Game::TR4);
  ReadCountedList(data, "the items", "NumItems", level.Items);
  ReadCountedList(data, "the AI objects", "NumAIObjects", level.AIObjects);

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

  ReadCountedList(data, "the sound details", "NumSoundDetails", level.SoundDetails);
  ReadCountedList(data, "the sample indices", "NumSampleIndices", level.SampleIndices);
  // Six closing bytes, not used; a chunk that stops short of them still holds every list.
  data.Seek(data.Pos() + std::min<size_t>(6, data.Remaining()));
}

}  // namespace slab
