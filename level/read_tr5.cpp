// The fifth-game body. Only the texture pages are compressed; the rest is read from the file,
// moving over what is not kept. Room geometry comes in layers of float vertices and is
// turned into the one vertex list and face lists the other versions fill.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "level/level_reader.h"
#include "level/load_level.h"
#include "level/read_tr45.h"
#include "level/rounding.h"
#include "level/text.h"
#include "level/zlib_chunk.h"

namespace slab {

namespace {

constexpr const char* kBadRoom = "BAD Room!";
constexpr size_t kTr5SoundMapEntries = 450;

// Room offsets count from the first light, 208 bytes after DataStart.
constexpr int64_t kRoomHeaderRest = 208;
constexpr size_t kRoomHeaderSize = 216;
constexpr size_t kTr5VertexSize = 28;

// A room reads only inside its own block, [blockStart, blockEnd): rooms then never read the
// same bytes again, which keeps what a load holds in step with the file's size.
void SeekInBlock(ByteCursor& file, int64_t pos, int64_t blockStart, int64_t blockEnd) {
  if (pos < blockStart || pos > blockEnd)
    throw LevelRefused(file.Context() + " points outside its own block");
  file.Seek(static_cast<size_t>(pos));
}

// Skips count entries (never negative) of entrySize bytes.
void SkipEntries(ByteCursor& file, int32_t count, size_t entrySize) {
  file.NeedEntries(static_cast<uint64_t>(count), entrySize);
  file.Skip(static_cast<size_t>(count) * entrySize);
}

void SkipCountedList(ByteCursor& file, const char* what, const char* field, size_t entrySize) {
  file.SetContext(std::string("the ") + what);
  SkipEntries(file, file.ReadCount32(field), entrySize);
}

void ReadTR5Light(ByteCursor& file, RoomLight& light) {
  light.FX = file.ReadF32();
  light.FY = file.ReadF32();
  light.FZ = file.ReadF32();
  light.Red = file.ReadF32();
  light.Green = file.ReadF32();
  light.Blue = file.ReadF32();
  file.Skip(4);
  light.In = file.ReadF32();
  light.Out = file.ReadF32();
  light.Length = file.ReadF32();  // inner radius
  light.CutOff = file.ReadF32();  // outer radius
  light.Range = file.ReadF32();
  light.DirX = file.ReadF32();
  light.DirY = file.ReadF32();
  light.DirZ = file.ReadF32();
  light.X = file.ReadI32();
  light.Y = file.ReadI32();
  light.Z = file.ReadI32();
  light.DX = file.ReadI32();
  light.DY = file.ReadI32();
  light.DZ = file.ReadI32();
  light.LightType = file.ReadI16();
  file.Skip(2);
}

// A layer's vertex count (32 bits at byte 0) and face counts (16 bits at bytes 6 and 8).
uint32_t LayerVertices(const RoomLayer& layer) {
  uint32_t n;
  std::memcpy(&n, layer.Bytes.data(), 4);
  return n;
}
uint16_t LayerWord(const RoomLayer& layer, size_t at) {
  uint16_t n;
  std::memcpy(&n, layer.Bytes.data() + at, 2);
  return n;
}

// Face indices count within their layer; the room's list follows all earlier layers.
int16_t Shifted(int16_t index, int64_t vertexBase) {
  return static_cast<int16_t>(static_cast<uint16_t>(index) + vertexBase);
}

void ReadRoomFaces(ByteCursor& file, Room& room) {
  // The layers' own counts decide how many faces are there; the header's totals agree in
  // every sound file and are replaced by what was read.
  room.Rectangles.clear();
  room.Triangles.clear();
  int64_t vertexBase = 0;
  for (const RoomLayer& layer : room.Layers) {
    uint16_t numRectangles = LayerWord(layer, 6);
    uint16_t numTriangles = LayerWord(layer, 8);
    file.NeedEntries(numRectangles, 12);
    for (uint16_t i = 0; i < numRectangles; ++i) {
      RoomQuad& quad = room.Rectangles.emplace_back();
      for (auto& v : quad.Vertices) v = Shifted(file.ReadI16(), vertexBase);
      quad.Texture = file.ReadI16();
      quad.Extra = file.ReadI16();
    }
    file.NeedEntries(numTriangles, 10);
    for (uint16_t i = 0; i < numTriangles; ++i) {
      RoomTriangle& triangle = room.Triangles.emplace_back();
      for (auto& v : triangle.Vertices) v = Shifted(file.ReadI16(), vertexBase);
      triangle.Texture = file.ReadI16();
      triangle.Extra = file.ReadI16();
    }
    vertexBase += LayerVertices(layer);
  }
  // The face part is padded to four bytes; a room without layers has two bytes before its
  // (empty) vertex part.
  if (room.Triangles.size() % 2 == 1) file.Skip(2);
  if (room.Layers.empty()) file.Skip(2);
}

void ReadRoomVertices(ByteCursor& file, Room& room) {
  room.Vertices.clear();
  for (const RoomLayer& layer : room.Layers) {
    uint32_t count = LayerVertices(layer);
    file.NeedEntries(count, kTr5VertexSize);
    if (room.Vertices.size() + count > static_cast<size_t>(std::numeric_limits<int16_t>::max()))
      throw LevelRefused(file.Context() + " has more vertices than a room can hold");
    for (uint32_t i = 0; i < count; ++i) {
      RoomVertex& vertex = room.Vertices.emplace_back();
      vertex.X = RoundEven<int16_t>(file.ReadF32());
      vertex.Y = RoundEven<int16_t>(file.ReadF32());
      vertex.Z = RoundEven<int16_t>(file.ReadF32());
      file.Skip(16);  // normal and colour, not used here
    }
  }
}

}  // namespace

void ReadTR5Room(ByteCursor& file, Room& room) {
  file.Need(kRoomHeaderSize);
  const size_t markerAt = file.Pos();
  file.ReadBytes(room.Marker.data(), 4);
  if (std::memcmp(room.Marker.data(), "XELA", 4) != 0)
    throw LevelRefused(kBadRoom,
                       Sentence(file.Context() + ", " + file.At(markerAt) + ", starts with " +
                                BytesText(file.Bytes().data() + markerAt, 4) +
                                " where a room starts with \"XELA\""));
  room.BlockSize = file.ReadCount32("BlockSize");
  const int64_t dataStart = static_cast<int64_t>(file.Pos());
  const int64_t blockEnd = dataStart + int64_t{room.BlockSize};
  if (blockEnd > static_cast<int64_t>(file.Size())) throw file.EndsEarly();
  room.DataStart = static_cast<int32_t>(dataStart + 1);  // the model counts from 1
  file.Skip(8);
  int32_t sectorOffset = file.ReadI32();
  file.Skip(8);
  room.Info.X = file.ReadI32();
  file.Skip(4);  // Y
  room.Info.Z = file.ReadI32();
  room.Info.YBottom = file.ReadI32();
  room.Info.YTop = file.ReadI32();
  room.NumZSectors = file.ReadCount16("NumZSectors");
  room.NumXSectors = file.ReadCount16("NumXSectors");
  room.Tr5RoomByte = file.ReadU8();
  room.WaterScheme = file.ReadU8();
  room.ReverbInfo = file.ReadU8();
  room.AlternateGroup = file.ReadU8();
  (void)file.ReadCount16("NumLights");  // repeated below, where it is taken
  const size_t staticsAt = file.Pos();
  const int16_t statics = file.ReadCount16("NumStaticMeshes");
  file.Skip(24);
  room.AlternateRoom = file.ReadI16();
  room.Flags = file.ReadI16();
  // The vertex count (real files hold -1), then the face counts at bytes 56 and 60 from it:
  // the layers' own counts are the ones taken.
  file.Skip(2 + 54 + 2 + 2 + 2 + 6);
  file.Skip(4);  // light data size, not used
  const int16_t lights = file.ReadCount16("NumLights");
  file.Skip(2);
  int32_t fogCount = file.ReadCount32("the fog bulb count");
  file.Skip(8);
  const int32_t layers = file.ReadCount32("NumLayers");
  int32_t layerOffset = file.ReadI32();
  file.Skip(8);  // vertex and polygon offsets, not used
  file.Skip(24);

  file.ReadEach(room.Lights, lights, 88, [&](RoomLight& light) { ReadTR5Light(file, light); });
  SkipEntries(file, fogCount, 36);

  SeekInBlock(file, dataStart + sectorOffset + kRoomHeaderRest, dataStart, blockEnd);
  file.ReadList(room.Sectors, int64_t{room.NumXSectors} * room.NumZSectors);
  // The portals and static meshes lie between the sectors and the layers (or the block's end,
  // where the layers come first): a count that reaches past that is damage, whatever the rest
  // of the file holds.
  const int64_t layersAt = dataStart + layerOffset + kRoomHeaderRest;
  const int64_t partEnd = layersAt > static_cast<int64_t>(file.Pos()) ? layersAt : blockEnd;
  auto fitsBeforeLayers = [&](const char* what, int64_t count, size_t entrySize, size_t countAt) {
    const int64_t room = partEnd - static_cast<int64_t>(file.Pos());
    if (count * static_cast<int64_t>(entrySize) <= room) return;
    throw LevelRefused(file.Context() + " states " + std::to_string(count) + " " + what + " " +
                       file.At(countAt) + ", but only " + std::to_string(std::max<int64_t>(room, 0)) +
                       " bytes lie before its " + (partEnd == layersAt ? "layers" : "end") +
                       ", room for " + std::to_string(std::max<int64_t>(room, 0) / entrySize));
  };
  const size_t portalsAt = file.Pos();
  const int16_t portals = file.ReadCount16("NumPortals");
  fitsBeforeLayers("portals", portals, sizeof(Portal), portalsAt);
  file.ReadList(room.Portals, portals);
  file.Skip(2);
  fitsBeforeLayers("static meshes", statics, sizeof(RoomStatic), staticsAt);
  file.ReadList(room.StaticMeshes, statics);

  SeekInBlock(file, layersAt, dataStart, blockEnd);
  file.ReadList(room.Layers, layers);
  ReadRoomFaces(file, room);
  ReadRoomVertices(file, room);

  // Whatever the block holds beyond the vertices is passed over.
  if (static_cast<int64_t>(file.Pos()) > blockEnd)
    throw LevelRefused(file.Context() + " reaches past the end of its block");
  file.Seek(static_cast<size_t>(blockEnd));
}

void ReadTR5LevelData(ByteCursor& file, Level& level) {
  LevelReader io(file);
  io.WordBytes("the floor data", "NumFloorData", level.FloorData);
  io.WordBytes("the mesh data", "NumMeshData", level.MeshData);
  io.Counted("the mesh pointers", "NumMeshPointers", level.MeshPointers);
  SkipCountedList(file, "animations", "NumAnimations", 40);
  SkipCountedList(file, "state changes", "NumStateChanges", 6);
  SkipCountedList(file, "animation dispatches", "NumAnimDispatches", 8);
  SkipCountedList(file, "animation commands", "NumAnimCommands", 2);
  io.Counted("the mesh trees", "NumMeshTrees", level.MeshTrees);
  io.Counted("the frames", "NumFrames", level.Frames);

  io.CountedRecords("the moveables", "NumMoveables", level.Moveables, Game::TR5);
  io.Counted("the static meshes", "NumStaticMeshes", level.StaticMeshDefs);

  // The marker is "SPR" and a zero byte here, where the fourth game has only "SPR". The
  // cameras, fly-by cameras and sound sources after the sprites are the fourth game's records.
  file.SetContext("the sprite marker");
  file.Skip(4);
  SkipCountedList(file, "sprite textures", "NumSpriteTextures", 16);
  SkipCountedList(file, "sprite sequences", "NumSpriteSequences", 8);
  io.Counted("the cameras", "NumCameras", level.Cameras);
  io.Counted("the fly-by cameras", "NumFlybyCameras", level.FlybyCameras);
  io.Counted("the sound sources", "NumSoundSources", level.SoundSources);
  file.SetContext("the boxes");
  int32_t numBoxes = file.ReadCount32("NumBoxes");
  SkipEntries(file, numBoxes, 8);
  SkipCountedList(file, "overlaps", "NumOverlaps", 2);
  file.SetContext("the zones");
  SkipEntries(file, numBoxes, 20);
  SkipCountedList(file, "animated textures", "NumAnimatedTextures", 2);
  file.SetContext("the texture marker");
  file.Skip(5);  // the UV-range byte, "TEX" and one byte

  io.CountedRecords("the object textures", "NumObjectTextures", level.ObjectTextures, Game::TR5);
  io.Counted("the items", "NumItems", level.Items);
  io.Counted("the AI objects", "NumAIObjects", level.AIObjects);
}

namespace {

std::string Named(std::string_view fileTitle) {
  return fileTitle.empty() ? std::string("The level") : std::string(fileTitle);
}

// The rooms, one block each. A room count the rest of the file cannot hold (216 bytes a room
// at least) is read room by room all the same, so a cut file says which room it ends in; a
// block that is no room then says the count is what is wrong.
void ReadTR5Rooms(ByteCursor& file, Level& level, std::string_view fileTitle) {
  const size_t countAt = file.Pos();
  const int16_t rooms = file.ReadCount16("NumRooms");
  file.Skip(2);  // high half of the room count
  const uint64_t most = file.Remaining() / kRoomHeaderSize;
  const bool fits = static_cast<uint64_t>(rooms) <= most;
  level.Rooms.clear();
  if (fits) level.Rooms.reserve(static_cast<size_t>(rooms));
  const std::string countNote = " NumRooms is " + std::to_string(rooms) + " " + file.At(countAt) +
                                ", more rooms than the rest of the file holds (at most " +
                                std::to_string(most) + ").";
  for (int16_t i = 0; i < rooms; ++i) {
    file.SetContext("room " + std::to_string(i));
    try {
      ReadTR5Room(file, level.Rooms.emplace_back());
    } catch (const FormatError& e) {
      if (fits || e.RanOut()) throw;
      throw file.CountTooLarge("NumRooms", rooms, countAt, most);
    } catch (const LevelRefused& e) {
      if (std::string_view(e.what()) == kBadRoom)
        throw LevelRefused(kBadRoom, e.Detail() + (fits ? "" : countNote));
      if (!fits) throw file.CountTooLarge("NumRooms", rooms, countAt, most);
      throw LevelRefused(Named(fileTitle) + " is damaged: " + e.what());
    }
  }
}

// What follows the kept lists is not kept but walked over, so a file cut there or with sizes
// that disagree is reported: the rest of the level data (demo data, sound map, sound details,
// sample indices, six closing bytes), which must end where the two size words before it say,
// then the samples. Returns what is wrong, or empty; leftOver gets the bytes after the samples.
std::string WalkTR5SoundData(ByteCursor& file, size_t sizesAt, size_t dataStart, size_t& leftOver) {
  try {
    file.SetContext("the demo data");
    file.Take(static_cast<size_t>(file.ReadCount16("NumDemoData")));
    file.SetContext("the sound map");
    file.Skip(kTr5SoundMapEntries * 2);
    SkipCountedList(file, "sound details", "NumSoundDetails", 8);
    SkipCountedList(file, "sample indices", "NumSampleIndices", 4);
    file.SetContext("the closing bytes of the level data");
    file.Skip(6);
    const size_t length = file.Pos() - dataStart;
    for (size_t word = 0; word < 2; ++word) {
      uint32_t stated;
      std::memcpy(&stated, file.Bytes().data() + sizesAt + 4 * word, 4);
      if (stated != length)
        return "its level data size is " + std::to_string(stated) + " " +
               file.At(sizesAt + 4 * word) + ", but the level data ends after " +
               std::to_string(length) + " bytes";
    }
    ReadSamples(file, nullptr);
  } catch (const FormatError& e) {
    return e.what();
  }
  leftOver = file.Remaining();
  return {};
}

}  // namespace

void ReadTR5Level(ByteCursor& file, Level& level, MessageSink& messages,
                  std::string_view fileTitle) {
  const TextureDamage pageDamage = ReadTR45Pages(file, level);

  file.SetContext("the level header");
  level.Tr5HeaderA = file.ReadI16();
  level.Tr5HeaderB = file.ReadI16();
  file.Skip(28);
  const size_t sizesAt = file.Pos();
  const uint32_t firstSize = file.ReadU32();
  level.Tr5HeaderWord = file.ReadI32();  // the second size word is the one kept
  const size_t dataStart = file.Pos();
  // Where the file holds all the level data its sizes state, a list running past the file's
  // end is its count's fault.
  const uint64_t stated = std::min<uint64_t>(firstSize, static_cast<uint32_t>(level.Tr5HeaderWord));
  if (stated <= file.Size() - dataStart) file.SetWholeUntil(dataStart + stated);
  file.Skip(4);
  ReadTR5Rooms(file, level, fileTitle);
  ReadTR5LevelData(file, level);

  // The level opens with what was read; each kind of damage is told once.
  if (!pageDamage.What.empty()) ShowDamagedPages(messages, fileTitle, pageDamage.What);
  size_t leftOver = 0;
  const std::string soundDamage = WalkTR5SoundData(file, sizesAt, dataStart, leftOver);
  if (!soundDamage.empty())
    messages.ShowDetailed(Named(fileTitle) + "'s sound data is damaged; the level opens without it",
                          Sentence(soundDamage));
  ShowLeftOver(messages, fileTitle, leftOver);
}

}  // namespace slab
