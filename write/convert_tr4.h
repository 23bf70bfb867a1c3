// Turning a fourth-game level into one the second- or third-game engine loads.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "level/level.h"
#include "level/level_error.h"
#include "level/mesh.h"
#include "platform/messages.h"
#include "write/byte_writer.h"
#include "write/sprite_wad.h"

namespace slab {

// A level that cannot be converted although it was read (a mesh pointer at no mesh...).
class ConversionError : public LevelError {
 public:
  using LevelError::LevelError;
  std::string ForUser(const std::string& fileName) const override {
    return fileName + " can't be converted: " + what();
  }
};

// Reads the fourth-game file in bytes (fileName names it in messages and decides the ".TRC"
// test) and converts it for targetVersion (Game::TR2 or Game::TR3) with the sprites of wad. A file
// that is not a fourth-game level shows "No TR4 Level!"; a damaged one shows what is wrong. Either
// way the result is empty and exactly one message was shown. A converted level may come with
// a note of what it had to leave out.
std::optional<Level> ConvertTR4Level(std::span<const uint8_t> bytes, const std::string& fileName,
                                     Game targetVersion, const SpriteWad& wad,
                                     MessageSink& messages);

// The conversion of a fourth-game level as our reader filled it; what it had to leave out is
// reported through messages. Throws ConversionError.
Level ConvertTR4Model(Level level, Game targetVersion, const SpriteWad& wad, MessageSink& messages);

// The steps, each over the level in place.

// The 16-bit pages cut or padded to the level's page count, then the wad's image appended
// as whole pages; the 8-bit pages the same size, all zero.
void AppendWadPages(Level& level, const SpriteWad& wad);
// A wad pixel as a 1-5-5-5 page word: 0 for the transparency key (255, 0, 255).
uint16_t WadPixel16(const uint8_t* rgb);

// Vertex lighting, ambient light and lights for the target.
void ConvertRoomLighting(Room& room, Game targetVersion);

// Gives every sector whose floor-data list holds an entry the older engines do not know
// (or that runs past the floor data) no floor data.
void DropUnknownFloorData(Level& level);

// Every mesh in the older layout, new pointers; shared meshes are written once.
struct RewrittenMeshes {
  std::vector<uint8_t> MeshData;
  std::vector<int32_t> MeshPointers;
  // Per object texture: used by a textured face whose effects word has the additive bit.
  std::vector<bool> AdditiveTextures;
};
RewrittenMeshes RewriteMeshes(const Level& level);
// One mesh in the first- to third-game layout.
void AppendClassicMesh(const Mesh& mesh, ByteWriter& out);

// Three-cornered tiles, corner flags from the pixels, even largest pixels lowered.
void FixObjectTexture(ObjectTexture& texture);

// Single-axis rotations of every animation frame from 4096 to 1024 steps a turn.
void RescaleFrames(Level& level);
int16_t RescaleRotationWord(int16_t word);

// Third game: the AI objects as static meshes of their rooms, those whose type names a static
// mesh of the level; the others would give statics whose id the game's static table lacks.
// Returns how many were left out for that.
int AIObjectsToStatics(Level& level);
// "61 AI objects have no static mesh to stand for them and were left out"
std::string LeftOutAIObjectsText(int count);

}  // namespace slab
