// The one in-memory level model. It has room for the data of every game version;
// each reader fills what its version's file holds and leaves the rest zero or empty.
// Records that are laid out in the file exactly as here are fixed by static_asserts,
// so a reader may copy a whole list in one move.
// A count the file stores before a list is that list's size and is not kept beside it; the
// counts kept are dimensions (NumXSectors, NumZSectors) and numbers that are not a list's
// size (NumDataWords, the page counts, Tr4SpriteCount, NumDemoData).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "level/game.h"
#include "level/pixel_list.h"

namespace slab {

struct RoomInfo {
  int32_t X = 0;
  int32_t Z = 0;
  int32_t YBottom = 0;
  int32_t YTop = 0;
};

struct RoomVertex {
  int16_t X = 0, Y = 0, Z = 0;
  int16_t Lighting1 = 0;
  uint16_t Attributes = 0;
  int16_t Lighting2 = 0;
};

// Vertex indices are stored as in the file; Extra is only filled by the fifth game.
struct RoomQuad {
  std::array<int16_t, 4> Vertices{};
  int16_t Texture = 0;
  int16_t Extra = 0;
};

struct RoomTriangle {
  std::array<int16_t, 3> Vertices{};
  int16_t Texture = 0;
  int16_t Extra = 0;
};

struct RoomSprite {
  int16_t Vertex = 0;
  int16_t Texture = 0;
};

struct Portal {
  uint16_t AdjoiningRoom = 0;
  std::array<int16_t, 3> Normal{};
  std::array<int16_t, 12> Vertices{};  // four corners of X, Y, Z
};

struct Sector {
  uint16_t FDIndex = 0;
  uint16_t BoxIndex = 0;
  uint8_t RoomBelow = 0;
  uint8_t Floor = 0;
  uint8_t RoomAbove = 0;
  uint8_t Ceiling = 0;
};
// RoomBelow or RoomAbove where no room lies there.
inline constexpr uint8_t kNoRoom = 255;
// Floor (and Ceiling) of a sector that is a wall.
inline constexpr uint8_t kWallMarker = 0x81;
// The bit of a floor-data word that ends its sector's list.
inline constexpr uint16_t kFloorDataEnd = 0x8000;

// One record for the lights of every version; each version fills its own fields.
// DX, DY, DZ hold the file's 32 bits: floats in the fourth game, integers in the fifth.
struct RoomLight {
  int32_t X = 0, Y = 0, Z = 0;
  int32_t DX = 0, DY = 0, DZ = 0;
  int16_t Intensity1 = 0;
  int16_t Intensity2 = 0;
  int32_t Fade1 = 0;
  int32_t Fade2 = 0;
  float FX = 0, FY = 0, FZ = 0;
  std::array<uint8_t, 3> Colour{};
  int16_t LightType = 0;
  uint8_t Intensity = 0;
  float In = 0, Out = 0, Length = 0, CutOff = 0;
  float DirX = 0, DirY = 0, DirZ = 0;
  float Range = 0;
  float Red = 0, Green = 0, Blue = 0;
};

struct RoomStatic {
  int32_t X = 0, Y = 0, Z = 0;
  uint16_t Rotation = 0;
  int16_t Intensity1 = 0;
  int16_t Intensity2 = 0;
  uint16_t ObjectID = 0;
};

struct RoomLayer {
  std::array<uint8_t, 56> Bytes{};
};

struct Room {
  int32_t DataStart = 0;
  std::array<char, 4> Marker{};
  int32_t BlockSize = 0;
  RoomInfo Info;
  int32_t NumDataWords = 0;  // the geometry block's size as stored, written back as it is
  std::vector<RoomVertex> Vertices;
  std::vector<RoomQuad> Rectangles;
  std::vector<RoomTriangle> Triangles;
  // The fourth game stores a sprite count with no entries after it; the other games'
  // counts are their lists' sizes.
  int16_t Tr4SpriteCount = 0;
  std::vector<RoomSprite> Sprites;
  std::vector<Portal> Portals;
  int16_t NumZSectors = 0;
  int16_t NumXSectors = 0;
  // X-major, as the files store them: sector (x, z) is Sectors[x * NumZSectors + z].
  std::vector<Sector> Sectors;
  int16_t AmbientIntensity1 = 0;
  int16_t AmbientIntensity2 = 0;
  int16_t LightMode = 0;
  std::vector<RoomLight> Lights;
  std::vector<RoomStatic> StaticMeshes;
  int16_t AlternateRoom = 0;
  int16_t Flags = 0;
  uint8_t WaterScheme = 0;
  uint8_t ReverbInfo = 0;
  uint8_t AlternateGroup = 0;
  uint8_t Tr5RoomByte = 0;
  std::vector<RoomLayer> Layers;

  Sector& SectorAt(int x, int z) { return Sectors[static_cast<size_t>(x) * NumZSectors + z]; }
  const Sector& SectorAt(int x, int z) const {
    return Sectors[static_cast<size_t>(x) * NumZSectors + z];
  }
  bool HasSector(int x, int z) const {
    return x >= 0 && z >= 0 && x < NumXSectors && z < NumZSectors &&
           static_cast<size_t>(x) * NumZSectors + z < Sectors.size();
  }
};

struct Item {
  int16_t ObjectID = 0;
  int16_t Room = 0;
  int32_t X = 0, Y = 0, Z = 0;
  int16_t Angle = 0;
  int16_t Intensity1 = 0;
  int16_t OCB = 0;  // second intensity in the second and third game
  uint16_t Flags = 0;
};

struct AIObject {
  int16_t ObjectID = 0;
  int16_t Room = 0;
  int32_t X = 0, Y = 0, Z = 0;
  int16_t OCB = 0;
  uint16_t Flags = 0;
  int32_t Angle = 0;
};

// Corner n is four bytes: X coordinate, X pixel, Y coordinate, Y pixel.
struct ObjectTextureCorner {
  uint8_t XCoordinate = 0;
  uint8_t XPixel = 0;
  uint8_t YCoordinate = 0;
  uint8_t YPixel = 0;
};

struct ObjectTexture {
  uint16_t Attribute = 0;
  uint16_t Tile = 0;
  uint16_t NewFlags = 0;
  std::array<ObjectTextureCorner, 4> Corners{};
  std::array<uint8_t, 8> UVOrigin{};
  int32_t Width = 0;
  int32_t Height = 0;
  uint16_t Tr5Padding = 0;  // the two bytes that close a fifth-game entry
};

struct Animation {
  int32_t FrameOffset = 0;
  uint8_t FrameRate = 0;
  uint8_t FrameSize = 0;
  int16_t StateID = 0;
  std::array<int32_t, 2> Speed{};         // speed, acceleration
  std::array<int32_t, 2> LateralSpeed{};  // fourth game only
  int16_t FrameStart = 0;
  int16_t FrameEnd = 0;
  int16_t NextAnimation = 0;
  int16_t NextFrame = 0;
  int16_t NumStateChanges = 0;
  int16_t StateChangeOffset = 0;
  int16_t NumAnimCommands = 0;
  int16_t AnimCommand = 0;
};

struct StateChange {
  int16_t StateID = 0;
  int16_t NumAnimDispatches = 0;
  int16_t AnimDispatch = 0;
};

struct AnimDispatch {
  int16_t Low = 0;
  int16_t High = 0;
  int16_t NextAnimation = 0;
  int16_t NextFrame = 0;
};

struct Moveable {
  int32_t ObjectID = 0;
  int16_t NumMeshes = 0;
  int16_t StartingMesh = 0;
  int32_t MeshTree = 0;
  int32_t FrameOffset = 0;
  int16_t Animation = 0;
  uint16_t Spare = 0;  // the fifth game's two extra bytes
};

struct StaticMeshDef {
  int32_t ID = 0;
  int16_t Mesh = 0;
  std::array<int16_t, 6> VisibilityBox{};  // MinX, MaxX, MinY, MaxY, MinZ, MaxZ
  std::array<int16_t, 6> CollisionBox{};
  uint16_t Flags = 0;
};

struct SpriteTexture {
  uint16_t Tile = 0;
  uint8_t X = 0;
  uint8_t Y = 0;
  uint16_t Width = 0;
  uint16_t Height = 0;
  int16_t LeftSide = 0;
  int16_t TopSide = 0;
  int16_t RightSide = 0;
  int16_t BottomSide = 0;
};

struct SpriteSequence {
  int32_t SpriteID = 0;
  int16_t NegativeLength = 0;
  int16_t Offset = 0;
};

struct Camera {
  int32_t X = 0, Y = 0, Z = 0;
  int16_t Room = 0;
  uint16_t Flag = 0;
};

struct FlybyCamera {
  std::array<uint8_t, 40> Bytes{};
};

struct SoundSource {
  int32_t X = 0, Y = 0, Z = 0;
  uint16_t SoundID = 0;
  uint16_t Flags = 0;
};

// Coordinates in whole sectors; first-game boxes are converted to this form on reading.
struct Box {
  uint8_t Zmin = 0, Zmax = 0, Xmin = 0, Xmax = 0;
  int16_t TrueFloor = 0;
  int16_t OverlapIndex = 0;
};

struct CinematicFrame {
  int16_t TargetX = 0, TargetY = 0, TargetZ = 0;
  int16_t PosZ = 0, PosY = 0, PosX = 0;
  int16_t FOV = 0;
  int16_t Roll = 0;
};

struct SoundDetail {
  std::array<uint8_t, 8> Bytes{};
};

struct SampleChunk {
  int32_t UncompressedSize = 0;
  int32_t CompressedSize = 0;
  std::vector<uint8_t> Data;
};

// Where a first-game file keeps its 768-byte palette.
enum class Tr1PaletteLayout : uint8_t {
  AfterLightMap,        // the retail games
  AfterSpriteSequences  // the PC demo and the "Unfinished Business" levels
};

inline constexpr int kSoundMapEntries = 370;
inline constexpr int kTr1SoundMapEntries = 256;
inline constexpr size_t kPagePixels = 256 * 256;
// Game units along one side of a sector square.
inline constexpr int kSectorUnits = 1024;

struct Level {
  int32_t Version = 0;
  // Fourth and fifth game: how the stored pages split into room, object and bump pages.
  int16_t NumRoomTextiles = 0, NumObjTextiles = 0, NumBumpTextiles = 0;
  std::array<uint8_t, 768> Palette{};
  std::array<uint8_t, 1024> Palette16{};
  // Whole pages, decided once on reading: a fourth- or fifth-game chunk is rounded to the
  // nearest page, so a damaged one leaves part of a page more in the list, which the
  // writer, the converter and the 3D view leave out.
  int32_t NumTextiles = 0;
  int32_t NumMiscTextiles = 0;
  PixelList<uint8_t> Textile8;
  PixelList<uint16_t> Textile16;
  std::vector<uint32_t> Textile32;
  std::vector<uint32_t> MiscTextile32;
  int32_t Reserved32 = 0;
  int16_t Tr5HeaderA = 0, Tr5HeaderB = 0;
  int32_t Tr5HeaderWord = 0;
  std::vector<Room> Rooms;
  std::vector<uint8_t> FloorData;  // little-endian words, two bytes each
  std::vector<uint8_t> MeshData;
  std::vector<int32_t> MeshPointers;
  std::vector<Animation> Animations;
  std::vector<StateChange> StateChanges;
  std::vector<AnimDispatch> AnimDispatches;
  std::vector<int16_t> AnimCommands;
  std::vector<int32_t> MeshTrees;
  std::vector<int16_t> Frames;
  std::vector<Moveable> Moveables;
  std::vector<StaticMeshDef> StaticMeshDefs;
  std::vector<SpriteTexture> SpriteTextures;
  std::vector<SpriteSequence> SpriteSequences;
  std::vector<Camera> Cameras;
  std::vector<FlybyCamera> FlybyCameras;
  std::vector<SoundSource> SoundSources;
  std::vector<Box> Boxes;
  std::vector<int16_t> Overlaps;
  std::vector<int16_t> Zones;
  std::vector<int16_t> AnimatedTextures;
  // Fourth game: the byte before "TEX" (the animated textures' UV-range count).
  uint8_t AnimatedTexturesUVCount = 0;
  std::vector<ObjectTexture> ObjectTextures;
  std::vector<Item> Items;
  std::array<uint8_t, 32 * 256> LightMap{};
  std::vector<AIObject> AIObjects;
  std::vector<CinematicFrame> CinematicFrames;
  int16_t NumDemoData = 0;  // in bytes, which need not fill DemoData's last word
  std::vector<int32_t> DemoData;
  // 370 entries (a first-game file fills 0-255). A fourth-game file made with the
  // level-editor add-on has as many entries as its demo-length slot says.
  std::vector<int16_t> SoundMap = std::vector<int16_t>(kSoundMapEntries);
  std::vector<SoundDetail> SoundDetails;
  std::vector<int32_t> SampleIndices;
  std::vector<SampleChunk> Samples;

  // First game: the WAV data between the sound details and the sample indices.
  std::vector<uint8_t> Tr1SampleData;
  Tr1PaletteLayout Tr1Palette = Tr1PaletteLayout::AfterLightMap;
  // First game: each box's Zmin, Zmax, Xmin, Xmax in world units as stored. Boxes holds
  // them in whole sectors, which loses the units a writer needs to put back.
  std::vector<std::array<int32_t, 4>> Tr1BoxBounds;
  // Fourth game: the level-editor add-on block after the samples ("NG" ... "NGLE" size).
  // When it is there, the demo-length slot holds SoundMap.size() and no demo data follows:
  // NumDemoData stays 0, and a writer puts SoundMap.size() back in the slot.
  std::vector<uint8_t> TrailingBlock;
  // First to third game: where the first object texture's record lies in the file, for
  // messages about it (0 when the level was not read from a file).
  size_t ObjectTexturesAt = 0;
  // Read from a file its author encrypted ("TR4c"): it opens for viewing only, and nothing
  // writes it (kEncryptedRefusal).
  bool Encrypted = false;
};

inline constexpr const char* kEncryptedRefusal =
    "This level is encrypted by its author; it opens for viewing only.";

// One per object texture: where its picture lies.
struct TextureTile {
  uint8_t X = 0;
  uint8_t Y = 0;
  int16_t Page = 0;
};

// The first word of a file (Level::Version), which stands for a game but is not its number.
inline constexpr uint32_t kTR1VersionWord = 0x00000020;
inline constexpr uint32_t kTR2VersionWord = 0x0000002D;
inline constexpr uint32_t kTR3VersionWord = 0xFF080038;   // what a save writes
inline constexpr uint32_t kTR3VersionWordB = 0xFF180038;  // also read
inline constexpr uint32_t kTR4VersionWord =
    0x00345254;  // "TR4" and a zero byte; also the fifth game's
inline constexpr uint32_t kTR4VersionWordB = 0x03452548;
inline constexpr uint32_t kTR4VersionWordC = 0xFFFFFFF0;
inline constexpr uint32_t kTexturesOnlyVersionWord = 0xFF180034;
// "TR4c": no level of ours, but what an encrypted one starts with.
inline constexpr uint32_t kEncryptedVersionWord = 0x63345254;

template <typename T, size_t N>
constexpr bool kFileRecord = sizeof(T) == N&& std::is_trivially_copyable_v<T>;

static_assert(kFileRecord<RoomVertex, 12>);
static_assert(kFileRecord<RoomSprite, 4>);
static_assert(kFileRecord<Portal, 32>);
static_assert(kFileRecord<Sector, 8>);
static_assert(kFileRecord<RoomStatic, 20>);
static_assert(kFileRecord<RoomLayer, 56>);
static_assert(kFileRecord<Item, 24>);
static_assert(kFileRecord<AIObject, 24>);
static_assert(kFileRecord<Animation, 40>);
static_assert(kFileRecord<StateChange, 6>);
static_assert(kFileRecord<AnimDispatch, 8>);
static_assert(kFileRecord<StaticMeshDef, 32>);
static_assert(kFileRecord<SpriteTexture, 16>);
static_assert(kFileRecord<SpriteSequence, 8>);
static_assert(kFileRecord<Camera, 16>);
static_assert(kFileRecord<FlybyCamera, 40>);
static_assert(kFileRecord<SoundSource, 16>);
static_assert(kFileRecord<Box, 8>);
static_assert(kFileRecord<CinematicFrame, 16>);
static_assert(kFileRecord<SoundDetail, 8>);

}  // namespace slab
