// The composer of fourth-game (zlib) and fifth-game level files, written field by field
// from a draft without any of the project's readers or writers, so a reader can be checked
// against something it does not share.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "level/level.h"
#include "tools/compose_classic.h"

namespace slab::test {

// A compressed chunk as the files hold it: uncompressed size, compressed size, zlib stream.
std::vector<uint8_t> ZlibChunkBytes(std::span<const uint8_t> raw);

// An add-on block of the given total length (at least 10): "NG", filler, "NGLE", length.
std::vector<uint8_t> AddOnBlock(size_t length);

// Inflated texture chunk contents: `pages` pages of the given pixel size, filled with a
// pattern that differs from page to page.
std::vector<uint8_t> PageBytes(double pages, size_t bytesPerPixel);

// Fourth game. Lists are written with their sizes as counts; NumDemoData is a length (that many
// bytes of the demo words are written; in add-on files the slot holds SoundMap.size() instead).
struct Tr4Draft {
  // What the 32-bit chunk holds: the room, object and bump pages.
  int16_t NumRoomTextiles = 1, NumObjTextiles = 0, NumBumpTextiles = 0;
  std::vector<uint8_t> Pages32 = PageBytes(1, 4);
  std::vector<uint8_t> Pages16 = PageBytes(1, 2);
  std::vector<uint8_t> MiscPages = PageBytes(2, 4);
  Level Data;                  // the level-data fields, and Samples
  std::vector<uint8_t> AddOn;  // written after the samples; makes the sound-map slot a count
};

// The inflated level-data chunk, from the reserved word to the six closing bytes, with its
// counts as named sections ("NumItems", "room 1 NumLights").
ComposedFile Tr4LevelData(const Level& data, bool addOnSoundMap);

struct ComposedTr4 {
  std::vector<uint8_t> Bytes;       // the whole file, version word first
  std::array<size_t, 4> ChunkAt{};  // where each chunk's 8-byte header starts
  ComposedFile LevelData;           // the fourth chunk inflated

  // The file with the level-data chunk packed anew from data.
  std::vector<uint8_t> WithLevelData(const std::vector<uint8_t>& data) const;
};
ComposedTr4 ComposeTR4(const Tr4Draft& draft);

// A draft with two rooms and some of every list, consistent with itself.
Tr4Draft SampleTr4Draft();

// Fifth game: one geometry layer as the file holds it, indices counted within the layer.
struct Tr5LayerDraft {
  std::vector<std::array<float, 3>> Vertices;
  std::vector<RoomQuad> Rectangles;
  std::vector<RoomTriangle> Triangles;
};

struct Tr5RoomDraft {
  // Info, the sector grid (NumXSectors, NumZSectors, Sectors), Portals, StaticMeshes, Lights
  // (fifth-game fields), AlternateRoom, Flags and the four colour bytes come from here.
  Room Base;
  std::vector<Tr5LayerDraft> Layers;
  int32_t FogCount = 0;
  size_t Slack = 0;  // bytes the block holds after its vertices
  std::array<char, 4> Marker{'X', 'E', 'L', 'A'};
};

struct Tr5Draft {
  int16_t NumRoomTextiles = 1, NumObjTextiles = 0, NumBumpTextiles = 0;
  std::vector<uint8_t> Pages32 = PageBytes(1, 4);
  std::vector<uint8_t> Pages16 = PageBytes(1, 2);
  std::vector<uint8_t> MiscPages = PageBytes(3, 4);
  int16_t HeaderA = 0, HeaderB = 0;
  std::vector<Tr5RoomDraft> Rooms;
  // The lists from FloorData to AIObjects (Moveables with Spare, ObjectTextures with
  // Tr5Padding), then the demo data, 450 sound-map entries (SoundMap, -1 past its end), the
  // sound details, the sample indices and the Samples; those the reader passes over are
  // written with their entries too.
  Level Data;
};

// Sections: the room count, the lists after the rooms and the samples.
struct ComposedTr5 : ComposedFile {
  std::array<size_t, 3> ChunkAt{};  // where each texture chunk's 8-byte header starts
  std::vector<size_t> RoomAt;       // where each room block's marker starts
};
ComposedTr5 ComposeTR5(const Tr5Draft& draft);

// A draft with a room of two layers, a room of none and some of every kept list.
Tr5Draft SampleTr5Draft();

// The file as the level-editor add-on encrypts it: the version word's zero byte made "c" and
// the first 99 bytes of each of the four chunks scrambled, by the scheme's own steps run
// backwards. The blocks are found in the plain file and scrambled last to first, so a short
// chunk whose 99 bytes reach into the next header leaves it as decryption will read it.
std::vector<uint8_t> ScrambleLevel(std::vector<uint8_t> plain);

}  // namespace slab::test
