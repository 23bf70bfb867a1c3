// Each game's order of sections, spelled once and run in both directions: LevelReader
// (level/level_reader.h) reads a level's body, LevelWriter (write/record_writers.h) writes it.
// A section added or moved here is added or moved for both, and both branch on the same facts
// of the level (the first game's palette layout, the fourth game's add-on block).
//
// A level IO offers, beside a record IO's operations (level/record_transfer.h):
//   io.Section(name)                       names what follows in the reader's messages
//   io.Mark(name)                          where a part of the written file starts, for telling
//                                          the user where two files differ
//   io.Counted(name, field, list)          a 32-bit count, then the records as they lie in memory
//   io.CountedRecords(name, field, list, version)
//                                          a 32-bit count, then each record through its Transfer
//   io.WordBytes(name, field, bytes)       a 32-bit count of 16-bit words, then their bytes
//   io.SizedBytes(name, field, bytes)      an unsigned 32-bit byte count, then the bytes
//   io.Rooms(rooms, version)               the room count, then each room
//   io.PageCount(level, version), io.Pages(level, version)
//                                          the first three games' texture pages and their count
//   io.Tr1Boxes(level)                     the first game's box count and boxes
//   io.DemoData(numBytes, demo)            the demo length in bytes, then that many bytes
//   io.SoundMap(map, entries)              entries sound-map words
//   io.Length16(list)                      an unsigned 16-bit length, stored apart from its list
//   io.RecordsAt(at)                       where the next counted list's records start (read
//                                          for messages; the writer passes over it)
//   io.Marker(text)                        a marker the reader steps over
//   io.Closing(n)                          n closing bytes, not used
#pragma once

#include <cstdint>

#include "level/level.h"
#include "level/record_transfer.h"

namespace slab {

// The zone words after the boxes: six a box in the first game, ten in the later ones.
inline int64_t ZoneWords(size_t boxes, Game version) {
  return static_cast<int64_t>(boxes) * (version == Game::TR1 ? 6 : 10);
}

// The first three games, after the version word: the palettes and the page count, the pages,
// then the rest. The loader reads the pages straight from the file between the other two.
template <class IO, RecordOf<Level> L>
void TransferClassicHead(IO& io, L& level, Game version) {
  if (version >= Game::TR2) {
    io.Section("the palette");
    io(level.Palette, level.Palette16);
  }
  io.Section("the texture page count");
  io.PageCount(level, version);
}

template <class IO, RecordOf<Level> L>
void TransferClassicPages(IO& io, L& level, Game version) {
  io.Section("the texture pages");
  io.Pages(level, version);
}

template <class IO, RecordOf<Level> L>
void TransferClassicRest(IO& io, L& level, Game version) {
  const bool tr1 = version == Game::TR1;
  const bool paletteAfterSprites =
      tr1 && level.Tr1Palette == Tr1PaletteLayout::AfterSpriteSequences;
  io.Section("the texture pages");  // the word after the pages is told as part of them
  io(level.Reserved32);
  io.Mark("the room count");
  io.Rooms(level.Rooms, version);
  io.Mark("the floor data");
  io.WordBytes("the floor data", "NumFloorData", level.FloorData);
  io.Mark("the mesh data");
  io.WordBytes("the mesh data", "NumMeshData", level.MeshData);
  io.Counted("the mesh pointers", "NumMeshPointers", level.MeshPointers);
  io.Mark("the animations");
  io.CountedRecords("the animations", "NumAnimations", level.Animations, version);
  io.Counted("the state changes", "NumStateChanges", level.StateChanges);
  io.Counted("the animation dispatches", "NumAnimDispatches", level.AnimDispatches);
  io.Counted("the animation commands", "NumAnimCommands", level.AnimCommands);
  io.Mark("the mesh trees and frames");
  io.Counted("the mesh trees", "NumMeshTrees", level.MeshTrees);
  io.Counted("the frames", "NumFrames", level.Frames);
  io.Mark("the moveables");
  io.CountedRecords("the moveables", "NumMoveables", level.Moveables, version);
  io.Mark("the static meshes");
  io.Counted("the static meshes", "NumStaticMeshes", level.StaticMeshDefs);
  io.Mark("the object textures");
  if (version != Game::TR3) {
    io.RecordsAt(level.ObjectTexturesAt);
    io.CountedRecords("the object textures", "NumObjectTextures", level.ObjectTextures, version);
  }
  io.Mark("the sprites");
  io.Counted("the sprite textures", "NumSpriteTextures", level.SpriteTextures);
  io.Counted("the sprite sequences", "NumSpriteSequences", level.SpriteSequences);
  if (paletteAfterSprites) {
    io.Section("the palette");
    io(level.Palette);
  }
  io.Mark("the cameras and sound sources");
  io.Counted("the cameras", "NumCameras", level.Cameras);
  io.Counted("the sound sources", "NumSoundSources", level.SoundSources);
  io.Mark("the boxes, overlaps and zones");
  if (tr1)
    io.Tr1Boxes(level);
  else
    io.Counted("the boxes", "NumBoxes", level.Boxes);
  io.Counted("the overlaps", "NumOverlaps", level.Overlaps);
  io.Section("the zones");
  // No boxes, no zones, however many words the list still holds.
  if (!level.Boxes.empty()) io.Block(level.Zones, ZoneWords(level.Boxes.size(), version));
  io.Mark("the animated textures");
  io.Counted("the animated textures", "NumAnimatedTextures", level.AnimatedTextures);
  io.Mark("the object textures");
  if (version == Game::TR3) {
    io.RecordsAt(level.ObjectTexturesAt);
    io.CountedRecords("the object textures", "NumObjectTextures", level.ObjectTextures, version);
  }
  io.Mark("the items");
  if (tr1)
    io.CountedRecords("the items", "NumItems", level.Items, version);
  else
    io.Counted("the items", "NumItems", level.Items);
  io.Mark("the light map");
  io.Section("the light map");
  io(level.LightMap);
  if (tr1 && !paletteAfterSprites) {
    io.Section("the palette");
    io(level.Palette);
  }
  io.Mark("the cinematic frames");
  io.Section("the cinematic frames");
  io.Block16("NumCinematicFrames", level.CinematicFrames);
  io.Mark("the demo data");
  io.Section("the demo data");
  io.DemoData(level.NumDemoData, level.DemoData);
  io.Mark("the sound map, details and samples");
  io.Section("the sound map");
  io.SoundMap(level.SoundMap, tr1 ? kTr1SoundMapEntries : kSoundMapEntries);
  io.Counted("the sound details", "NumSoundDetails", level.SoundDetails);
  if (tr1) {
    // Every first-game file carries its WAV data here: a byte count, then the bytes.
    io.SizedBytes("the sound samples", "the sample data size", level.Tr1SampleData);
  }
  io.Counted("the sample indices", "NumSampleIndices", level.SampleIndices);
}

template <class IO, RecordOf<Level> L>
void TransferClassicBody(IO& io, L& level, Game version) {
  TransferClassicHead(io, level, version);
  TransferClassicPages(io, level, version);
  TransferClassicRest(io, level, version);
}

// The fourth game's level-data chunk, inflated, from its reserved word to its closing bytes.
// A level with the level-editor add-on's trailing block gives the demo-length slot to the
// sound map's length and carries no demo.
template <class IO, RecordOf<Level> L>
void TransferTR4LevelData(IO& io, L& level) {
  constexpr Game version = Game::TR4;
  io.Section("the room count");
  io(level.Reserved32);
  io.Rooms(level.Rooms, version);
  io.WordBytes("the floor data", "NumFloorData", level.FloorData);
  io.WordBytes("the mesh data", "NumMeshData", level.MeshData);
  io.Counted("the mesh pointers", "NumMeshPointers", level.MeshPointers);
  io.Counted("the animations", "NumAnimations", level.Animations);
  io.Counted("the state changes", "NumStateChanges", level.StateChanges);
  io.Counted("the animation dispatches", "NumAnimDispatches", level.AnimDispatches);
  io.Counted("the animation commands", "NumAnimCommands", level.AnimCommands);
  io.Counted("the mesh trees", "NumMeshTrees", level.MeshTrees);
  io.Counted("the frames", "NumFrames", level.Frames);
  io.CountedRecords("the moveables", "NumMoveables", level.Moveables, version);
  io.Counted("the static meshes", "NumStaticMeshes", level.StaticMeshDefs);
  io.Section("the sprite marker");
  io.Marker("SPR");
  io.Counted("the sprite textures", "NumSpriteTextures", level.SpriteTextures);
  io.Counted("the sprite sequences", "NumSpriteSequences", level.SpriteSequences);
  io.Counted("the cameras", "NumCameras", level.Cameras);
  io.Counted("the fly-by cameras", "NumFlybyCameras", level.FlybyCameras);
  io.Counted("the sound sources", "NumSoundSources", level.SoundSources);
  io.Counted("the boxes", "NumBoxes", level.Boxes);
  io.Counted("the overlaps", "NumOverlaps", level.Overlaps);
  io.Section("the zones");
  io.Block(level.Zones, ZoneWords(level.Boxes.size(), version));
  io.Counted("the animated textures", "NumAnimatedTextures", level.AnimatedTextures);
  io.Section("the texture marker");
  io(level.AnimatedTexturesUVCount);  // real files keep it in the byte before "TEX"
  io.Marker("TEX");
  io.CountedRecords("the object textures", "NumObjectTextures", level.ObjectTextures, version);
  io.Counted("the items", "NumItems", level.Items);
  io.Counted("the AI objects", "NumAIObjects", level.AIObjects);
  io.Section("the demo data");
  if (!level.TrailingBlock.empty()) {
    const size_t entries = io.Length16(level.SoundMap);
    io.Section("the sound map");
    io.Block(level.SoundMap, entries);
  } else {
    io.DemoData(level.NumDemoData, level.DemoData);
    io.Section("the sound map");
    io.SoundMap(level.SoundMap, kSoundMapEntries);
  }
  io.Counted("the sound details", "NumSoundDetails", level.SoundDetails);
  io.Counted("the sample indices", "NumSampleIndices", level.SampleIndices);
  io.Closing(6);
}

}  // namespace slab
