#include "write/convert_tr4.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "level/encryption.h"
#include "level/load_level.h"
#include "level/read_tr45.h"
#include "level/rounding.h"
#include "level/texture_info.h"

namespace slab {

namespace {

constexpr const char* kNoTR4Level = "No TR4 Level!";

bool IsKeptLight(const RoomLight& light) {
  // The type is the first of the two bytes; the byte after it is not part of the type.
  return (light.LightType & 0xFF) == 1;
}

}  // namespace

uint16_t WadPixel16(const uint8_t* rgb) {
  if (rgb[0] == 255 && rgb[1] == 0 && rgb[2] == 255) return 0;
  return static_cast<uint16_t>(0x8000 | (rgb[0] / 8) << 10 | (rgb[1] / 8) << 5 | rgb[2] / 8);
}

void AppendWadPages(Level& level, const SpriteWad& wad) {
  const size_t pages = static_cast<size_t>(std::max(level.NumTextiles, 0));
  const size_t rows = wad.Rows();
  // A wad whose image ends inside a page still gets that page whole, so none of its rows
  // is lost; the rest of the page is transparent.
  const size_t wadPages = (rows + 255) / 256;
  level.Textile16.resize((pages + wadPages) * kPagePixels, 0);
  std::fill(level.Textile16.begin() + static_cast<ptrdiff_t>(pages * kPagePixels),
            level.Textile16.end(), uint16_t{0});
  uint16_t* out = level.Textile16.data() + pages * kPagePixels;
  const uint8_t* in = wad.Image.data();
  for (size_t p = 0; p < rows * 256; ++p, in += 3) out[p] = WadPixel16(in);
  level.Textile8.assign(level.Textile16.size(), 0);
  level.NumTextiles = static_cast<int32_t>(pages + wadPages);
}

void ConvertRoomLighting(Room& room, Game targetVersion) {
  if (targetVersion == Game::TR2) {
    for (RoomVertex& v : room.Vertices) {
      const int sum = (v.Lighting1 & 0xFF) + ((v.Lighting1 >> 8) & 0xFF) + (v.Lighting2 & 0xFF);
      v.Lighting1 = v.Lighting2 = RoundEven<int16_t>(sum / 3.0);
    }
  }

  // The room colour's first three bytes, as the second and third game's darkness.
  const uint8_t b0 = room.AmbientIntensity1 & 0xFF;
  const uint8_t b1 = (room.AmbientIntensity1 >> 8) & 0xFF;
  const uint8_t b2 = room.AmbientIntensity2 & 0xFF;
  const double brightness = std::floor(b0 / 255.0 * 8192 + b1 / 255.0 * 8192 + b2 / 255.0 * 8192);
  room.AmbientIntensity1 = RoundEven<int16_t>(8192 - brightness / 3);
  room.AmbientIntensity2 = 0;
  room.LightMode = 0;

  std::vector<RoomLight> kept;
  for (const RoomLight& light : room.Lights) {
    if (!IsKeptLight(light)) continue;
    RoomLight older;
    older.X = light.X;
    older.Y = light.Y;
    older.Z = light.Z;
    older.Fade1 = RoundEven<int32_t>(light.Out);
    older.Fade2 = RoundEven<int32_t>(light.In);
    const auto& c = light.Colour;
    if (targetVersion == Game::TR3) {
      older.Intensity1 = static_cast<int16_t>(c[0] | c[1] << 8);
      older.Intensity2 = c[2];
    } else {
      older.Intensity1 = older.Intensity2 = RoundEven<int16_t>((c[0] + c[1] + c[2]) / 3.0 * 32);
    }
    kept.push_back(older);
  }
  room.Lights = std::move(kept);
}

void FixObjectTexture(ObjectTexture& texture) {
  auto& corners = texture.Corners;
  const bool triangle = (texture.Tile & 0x8000) != 0;
  if (triangle) {
    texture.Tile &= 0x7FF;
    corners[3] = {};
  }
  const size_t count = triangle ? 3 : 4;
  uint8_t minX = 255, maxX = 0, minY = 255, maxY = 0;
  for (size_t i = 0; i < count; ++i) {
    minX = std::min(minX, corners[i].XPixel);
    maxX = std::max(maxX, corners[i].XPixel);
    minY = std::min(minY, corners[i].YPixel);
    maxY = std::max(maxY, corners[i].YPixel);
  }
  for (size_t i = 0; i < count; ++i) {
    ObjectTextureCorner& c = corners[i];
    if (c.XPixel == minX) c.XCoordinate = 1;
    if (c.XPixel == maxX) c.XCoordinate = 255;
    if (c.YPixel == minY) c.YCoordinate = 1;
    if (c.YPixel == maxY) c.YCoordinate = 255;
  }
  // The older engines take a largest pixel as the one past the area's edge.
  for (size_t i = 0; i < count; ++i) {
    ObjectTextureCorner& c = corners[i];
    if (c.XPixel == maxX && c.XPixel % 2 == 0 && c.XPixel > 0) --c.XPixel;
    if (c.YPixel == maxY && c.YPixel % 2 == 0 && c.YPixel > 0) --c.YPixel;
  }
}

int AIObjectsToStatics(Level& level) {
  auto hasStatic = [&](const AIObject& ai) {
    return std::any_of(level.StaticMeshDefs.begin(), level.StaticMeshDefs.end(),
                       [&](const StaticMeshDef& def) { return def.ID == ai.ObjectID; });
  };
  const auto leftOut = std::count_if(level.AIObjects.begin(), level.AIObjects.end(),
                                     [&](const AIObject& ai) { return !hasStatic(ai); });
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    Room& room = level.Rooms[r];
    for (const AIObject& ai : level.AIObjects) {
      if (ai.Room != static_cast<int16_t>(r) || !hasStatic(ai)) continue;
      RoomStatic s;
      s.X = ai.X;
      s.Y = ai.Y;
      s.Z = ai.Z;
      s.Rotation = static_cast<uint16_t>(ai.Angle & 0xFFFF);
      // 0x4210 is mid grey as a 15-bit colour (16 of 31 in each channel): an even light.
      s.Intensity1 = s.Intensity2 = 0x4210;
      s.ObjectID = static_cast<uint16_t>(ai.ObjectID);
      room.StaticMeshes.push_back(s);
    }
  }
  return static_cast<int>(leftOut);
}

std::string LeftOutAIObjectsText(int count) {
  return std::to_string(count) + (count == 1 ? " AI object has no static mesh to stand for it "
                                               "and was left out"
                                             : " AI objects have no static mesh to stand for "
                                               "them and were left out");
}

Level ConvertTR4Model(Level level, Game targetVersion, const SpriteWad& wad,
                      MessageSink& messages) {
  const int32_t ownPages = std::max(level.NumTextiles, 0);
  AppendWadPages(level, wad);
  level.Textile32.clear();
  level.MiscTextile32.clear();
  level.NumMiscTextiles = 0;

  for (Room& room : level.Rooms) {
    ConvertRoomLighting(room, targetVersion);
    // These rooms hold no sprite entries, whatever their count said.
    room.Tr4SpriteCount = 0;
    room.Sprites.clear();
    // The older engines read the geometry block by this size; give the size of what is
    // written (the same as the fourth game's in well-formed files).
    room.NumDataWords = 4 + 6 * static_cast<int32_t>(room.Vertices.size()) +
                        5 * static_cast<int32_t>(room.Rectangles.size()) +
                        4 * static_cast<int32_t>(room.Triangles.size());
  }
  DropUnknownFloorData(level);

  RewrittenMeshes meshes = RewriteMeshes(level);
  level.MeshData = std::move(meshes.MeshData);
  level.MeshPointers = std::move(meshes.MeshPointers);

  level.SpriteTextures = wad.SpriteTextures;
  for (SpriteTexture& texture : level.SpriteTextures)
    texture.Tile = static_cast<uint16_t>(texture.Tile + ownPages);
  level.SpriteSequences = wad.SpriteSequences;

  for (ObjectTexture& texture : level.ObjectTextures) FixObjectTexture(texture);

  // Ids 157..173 move down by 22 onto the second game's 135..151, where its pick-ups stand
  // (weapons, ammunition, medipacks, flares); the third game keeps the ids as they are.
  if (targetVersion == Game::TR2)
    for (Item& item : level.Items)
      if (item.ObjectID >= 157 && item.ObjectID <= 173) item.ObjectID -= 22;

  RescaleFrames(level);

  if (targetVersion == Game::TR3) {
    if (const int leftOut = AIObjectsToStatics(level); leftOut > 0)
      messages.Show(LeftOutAIObjectsText(leftOut));
    // Faces drawn additively in the fourth game get the third game's additive attribute.
    // Which textures: those of every textured quad or triangle, of any mesh the pointers
    // reach, whose effects word has bit 0 set.
    for (size_t i = 0; i < level.ObjectTextures.size(); ++i)
      if (i < meshes.AdditiveTextures.size() && meshes.AdditiveTextures[i])
        level.ObjectTextures[i].Attribute = 2;
  }

  // What only the fourth game's file holds stays out of the output.
  level.AIObjects.clear();
  level.FlybyCameras.clear();
  level.AnimatedTexturesUVCount = 0;
  level.TrailingBlock.clear();
  level.Samples.clear();
  level.SoundMap.resize(kSoundMapEntries, -1);

  level.Version =
      static_cast<int32_t>(targetVersion == Game::TR3 ? kTR3VersionWord : kTR2VersionWord);
  level.NumRoomTextiles = level.NumObjTextiles = level.NumBumpTextiles = 0;
  return level;
}

std::optional<Level> ConvertTR4Level(std::span<const uint8_t> bytes, const std::string& fileName,
                                     Game targetVersion, const SpriteWad& wad,
                                     MessageSink& messages) {
  uint32_t word = 0;
  if (bytes.size() >= 4) std::memcpy(&word, bytes.data(), 4);
  // Its author asked that it not be taken apart: it is read for viewing only.
  if (IsEncryptedLevel(bytes)) {
    messages.Show(kEncryptedRefusal);
    return std::nullopt;
  }
  if (bytes.size() < 4 || word != kTR4VersionWord) {
    const std::string detail =
        bytes.size() < 4
            ? "The file ends inside the version word, at byte " + std::to_string(bytes.size())
            : "It starts with " + StartOfFile(bytes, fileName) + ", not with \"TR4\" and a zero byte";
    messages.ShowDetailed(kNoTR4Level, detail + ".");
    return std::nullopt;
  }
  // The fourth and fifth game share their version word: a file that reads as a fourth-game
  // level converts, whatever its name says, and one that does not is told apart from a damaged
  // fourth-game level when it is a fifth-game level (named ".trc" or renamed).
  const std::string name = std::filesystem::path(fileName).filename().string();
  Level level;
  RecordingSink heard;
  const bool read = ShowingFailures(heard, name, "convert", [&] {
    ByteCursor file(bytes);
    file.Skip(4);
    level.Version = static_cast<int32_t>(word);
    ReadTR4Level(file, level, heard, name);
    // The same test the reader makes when it opens the level: an area past its page.
    ConvertTR5TextInfo(level, heard);
  });
  if (!read) {
    RecordingSink unheard;
    const LoadResult asLevel = LoadLevelFromBytes(bytes, fileName, unheard);
    if (asLevel.Loaded && asLevel.DetectedGame == Game::TR5) {
      messages.ShowDetailed(kNoTR4Level, EndsInTrc(fileName)
                                             ? "Its name ends in \".trc\": it is read as a "
                                               "fifth-game level."
                                             : "It holds a fifth-game level.");
      return std::nullopt;
    }
  }
  heard.ShowAgain(messages);
  if (!read) return std::nullopt;
  std::optional<Level> converted;
  ShowingFailures(messages, name, "convert", [&] {
    converted = ConvertTR4Model(std::move(level), targetVersion, wad, messages);
  });
  return converted;
}

}  // namespace slab
