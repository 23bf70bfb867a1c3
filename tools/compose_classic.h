// A composer of first- to third-game level files, and of the level data of the
// fourth and fifth game. It writes every field with its own width from the file layout,
// sharing no code with the reader or the writer, so each of them is checked against something
// it does not share. Records of the level model describe the content; the composer writes only
// the fields the chosen version's file holds.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "level/level.h"

namespace slab::test {

// A first-game box as the file holds it: world coordinates, not sectors.
struct Tr1FileBox {
  int32_t Zmin = 0, Zmax = 0, Xmin = 0, Xmax = 0;
  int16_t TrueFloor = 0;
  int16_t OverlapIndex = 0;
};

struct DraftRoom {
  RoomInfo Info;
  std::vector<RoomVertex> Vertices;
  std::vector<RoomQuad> Rectangles;
  std::vector<RoomTriangle> Triangles;
  std::vector<RoomSprite> Sprites;
  std::vector<Portal> Portals;
  int16_t NumZSectors = 0;
  int16_t NumXSectors = 0;
  // X-major as in the file; missing entries are written as default sectors.
  std::vector<Sector> Sectors;
  int16_t AmbientIntensity1 = 0;
  int16_t AmbientIntensity2 = 0;  // second and third game
  int16_t LightMode = 0;          // second game only
  std::vector<RoomLight> Lights;  // X, Y, Z, Intensity1, (Intensity2), Fade1, (Fade2)
  std::vector<RoomStatic> StaticMeshes;
  int16_t AlternateRoom = -1;
  int16_t Flags = 0;
  uint8_t WaterScheme = 0, ReverbInfo = 0, AlternateGroup = 0;  // third game only
};

struct DraftLevel {
  // 1, 2 or 3 for a whole file; 4 for the inflated level-data chunk (Reserved32 on); 5 for
  // the lists after the rooms.
  Game GameVersion = Game::TR2;
  std::optional<uint32_t> VersionWord;  // the version's usual word when empty
  std::array<uint8_t, 768> Palette{};
  std::array<uint8_t, 1024> Palette16{};  // second and third game
  int32_t NumTextiles = 0;                // pages are filled with a pattern
  // Second and third game: the 16-bit pages, written instead of the pattern when they hold
  // NumTextiles whole pages.
  std::vector<uint16_t> Textile16;
  int32_t Reserved32 = 0;
  std::vector<DraftRoom> Rooms;
  std::vector<uint16_t> FloorData;  // words
  std::vector<uint16_t> MeshData;   // words
  std::vector<int32_t> MeshPointers;
  std::vector<Animation> Animations;
  std::vector<StateChange> StateChanges;
  std::vector<AnimDispatch> AnimDispatches;
  std::vector<int16_t> AnimCommands;
  std::vector<int32_t> MeshTrees;
  std::vector<int16_t> Frames;
  std::vector<Moveable> Moveables;
  std::vector<StaticMeshDef> StaticMeshDefs;
  std::vector<ObjectTexture> ObjectTextures;  // Attribute, Tile and the corners are written
  std::vector<SpriteTexture> SpriteTextures;
  std::vector<SpriteSequence> SpriteSequences;
  std::vector<Camera> Cameras;
  std::vector<FlybyCamera> FlybyCameras;  // fourth and fifth game
  std::vector<SoundSource> SoundSources;
  std::vector<Box> Boxes;            // second and third game
  std::vector<Tr1FileBox> Tr1Boxes;  // first game
  std::vector<int16_t> Overlaps;
  // Written as 6 (first game) or 10 words per box; missing words are filled with a pattern.
  std::vector<int16_t> Zones;
  std::vector<int16_t> AnimatedTextures;
  uint8_t AnimatedTexturesUVCount = 0;  // fourth and fifth game
  std::vector<Item> Items;              // a first-game file has no OCB field
  std::vector<AIObject> AIObjects;      // fourth and fifth game
  std::array<uint8_t, 32 * 256> LightMap{};
  Tr1PaletteLayout Tr1Palette = Tr1PaletteLayout::AfterLightMap;
  std::vector<CinematicFrame> CinematicFrames;
  std::vector<uint8_t> DemoBytes;
  // 256 entries are written for the first game, 370 for the second and third, missing ones
  // as -1; the fourth game's are written as they are.
  std::vector<int16_t> SoundMap;
  // Fourth game with an add-on block: the demo-length slot holds the sound map's length.
  bool AddOnSoundMap = false;
  std::vector<SoundDetail> SoundDetails;
  std::vector<uint8_t> Tr1SampleData;  // first game: written with its uint32 byte count
  std::vector<int32_t> SampleIndices;
};

// One stretch of the composed file: a count ("NumBoxes", "room 1 NumLights") or a list
// or fixed block ("Boxes", "room 1 Lights", "LightMap"). Empty lists have no section.
struct ComposedSection {
  std::string Name;
  size_t Offset = 0;
  size_t Size = 0;
};

struct ComposedFile {
  std::vector<uint8_t> Bytes;
  std::vector<ComposedSection> Sections;  // in file order

  // The section of that name; throws std::out_of_range when there is none.
  const ComposedSection& Section(const std::string& name) const;
  // The file cut to its first length bytes.
  std::vector<uint8_t> Truncated(size_t length) const;
};

ComposedFile ComposeClassic(const DraftLevel& level);

// The draft of a level as read: composed again, it gives back the file it was read from when
// every field was read into its place (the texture pages are composed as the usual pattern).
DraftLevel DraftFromLevel(const Level& level, Game gameVersion);

// The showcase level in the given game's layout, with something in every list.
DraftLevel SampleDraft(Game gameVersion);

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

}  // namespace slab::test
