// One definition of each record's file form, run in both directions: RecordReader fills a
// record from a ByteCursor, RecordWriter (write/record_writers.h) puts a record back. Each
// Transfer lists its fields once, in file order, so the reader and the writer cannot drift.
//
// An IO offers:
//   io(fields...)                        each field as its bytes
//   io.Count(field, n)                   a count stored as it is (never negative when read)
//   io.Block16(field, list)              a 16-bit count, then the records as they lie in memory
//   io.Each16(field, list, size, fn)     a 16-bit count, then fn per record of size bytes
//   io.Block(list, n)                    n records as they lie in memory, with no count
// Fields passed to io(...) are scalars or arrays of scalars, whose size is their file size.
#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "level/byte_cursor.h"
#include "level/level.h"

namespace slab {

// R is the model record M, or M read-only (the writer's side).
template <class R, class M>
concept RecordOf = std::same_as<std::remove_const_t<R>, M>;

class RecordReader {
 public:
  explicit RecordReader(ByteCursor& cursor) : c_(cursor) {}

  // One bounds check for all the fields, then each copied in turn.
  template <class... T>
  void operator()(T&... fields) {
    const uint8_t* at = c_.Advance((sizeof(T) + ...));
    ((std::memcpy(&fields, at, sizeof(T)), at += sizeof(T)), ...);
  }
  void Count(std::string_view field, int16_t& n) { n = c_.ReadCount16(field); }
  void Count(std::string_view field, int32_t& n) { n = c_.ReadCount32(field); }
  template <class T>
  void Block16(std::string_view field, std::vector<T>& list) {
    c_.ReadList(list, c_.ReadCount16(field));
  }
  template <class T, class Each>
  void Each16(std::string_view field, std::vector<T>& list, size_t entrySize, Each each) {
    c_.ReadEach(list, c_.ReadCount16(field), entrySize, each);
  }
  template <class T>
  void Block(std::vector<T>& list, int64_t n) {
    c_.ReadList(list, n);
  }
  ByteCursor& Cursor() { return c_; }

 private:
  ByteCursor& c_;
};

// Counts the bytes a record takes in the file, so entry sizes come from the same Transfer.
struct RecordSize {
  size_t Bytes = 0;
  template <class... T>
  void operator()(const T&...) {
    Bytes += (size_t{0} + ... + sizeof(T));
  }
};
template <class T>
size_t FileSize(Game version) {
  RecordSize size;
  const T record{};
  Transfer(size, record, version);
  return size.Bytes;
}

// First game only: later games store vertices as they lie in memory.
template <class IO, RecordOf<RoomVertex> V>
void Transfer(IO& io, V& v, Game /*version*/) {
  io(v.X, v.Y, v.Z, v.Lighting1);
}

// Four vertex indices and the texture; the fifth game's Extra is its own.
template <class IO, RecordOf<RoomQuad> Q>
void Transfer(IO& io, Q& quad, Game /*version*/) {
  io(quad.Vertices, quad.Texture);
}
template <class IO, RecordOf<RoomTriangle> T>
void Transfer(IO& io, T& triangle, Game /*version*/) {
  io(triangle.Vertices, triangle.Texture);
}

// First- to fourth-game lights (the fifth game's are read in level/read_tr5.cpp).
template <class IO, RecordOf<RoomLight> L>
void Transfer(IO& io, L& l, Game version) {
  io(l.X, l.Y, l.Z);
  if (version >= Game::TR4) {
    // LightType holds the type byte and the byte after it; DX, DY, DZ the direction floats'
    // bits.
    io(l.Colour, l.LightType, l.Intensity, l.In, l.Out, l.Length, l.CutOff, l.DX, l.DY, l.DZ);
    return;
  }
  io(l.Intensity1);
  if (version >= Game::TR2) io(l.Intensity2);
  io(l.Fade1);
  if (version >= Game::TR2) io(l.Fade2);
}

// First game only: later games store statics as they lie in memory.
template <class IO, RecordOf<RoomStatic> S>
void Transfer(IO& io, S& s, Game /*version*/) {
  io(s.X, s.Y, s.Z, s.Rotation, s.Intensity1, s.ObjectID);
}

// First game only: later games store items as they lie in memory.
template <class IO, RecordOf<Item> I>
void Transfer(IO& io, I& item, Game /*version*/) {
  io(item.ObjectID, item.Room, item.X, item.Y, item.Z, item.Angle, item.Intensity1, item.Flags);
}

// First to third game: the fourth game stores its longer animations as they lie in memory.
template <class IO, RecordOf<Animation> A>
void Transfer(IO& io, A& a, Game /*version*/) {
  io(a.FrameOffset, a.FrameRate, a.FrameSize, a.StateID, a.Speed, a.FrameStart, a.FrameEnd,
     a.NextAnimation, a.NextFrame, a.NumStateChanges, a.StateChangeOffset, a.NumAnimCommands,
     a.AnimCommand);
}

// 18 bytes in every game; the fifth adds two.
template <class IO, RecordOf<Moveable> M>
void Transfer(IO& io, M& m, Game version) {
  io(m.ObjectID, m.NumMeshes, m.StartingMesh, m.MeshTree, m.FrameOffset, m.Animation);
  if (version == Game::TR5) io(m.Spare);
}

template <class IO, RecordOf<ObjectTexture> T>
void Transfer(IO& io, T& t, Game version) {
  static_assert(sizeof(ObjectTextureCorner) == 4);
  io(t.Attribute, t.Tile);
  if (version >= Game::TR4) io(t.NewFlags);
  io(t.Corners);
  if (version >= Game::TR4) io(t.UVOrigin, t.Width, t.Height);
  if (version == Game::TR5) io(t.Tr5Padding);
}

// A first-game box: its bounds in world units (Zmin, Zmax, Xmin, Xmax), where later games
// store whole sectors in a Box as it lies in memory.
template <class IO, RecordOf<Box> B, class Bounds>
void TransferTr1Box(IO& io, B& box, Bounds& bounds) {
  io(bounds, box.TrueFloor, box.OverlapIndex);
}

// A room of the first four games, in file order.
template <class IO, RecordOf<Room> R>
void Transfer(IO& io, R& room, Game version) {
  const bool tr1 = version == Game::TR1;
  io(room.Info);
  io.Count("NumDataWords", room.NumDataWords);
  auto each = [&](auto& record) { Transfer(io, record, version); };
  if (tr1)
    io.Each16("NumVertices", room.Vertices, FileSize<RoomVertex>(version), each);
  else
    io.Block16("NumVertices", room.Vertices);
  io.Each16("NumRectangles", room.Rectangles, FileSize<RoomQuad>(version), each);
  io.Each16("NumTriangles", room.Triangles, FileSize<RoomTriangle>(version), each);
  if (version == Game::TR4)
    io.Count("NumSprites", room.Tr4SpriteCount);  // the count as stored: no entries follow it
  else
    io.Block16("NumSprites", room.Sprites);
  io.Block16("NumPortals", room.Portals);
  io.Count("NumZSectors", room.NumZSectors);
  io.Count("NumXSectors", room.NumXSectors);
  io.Block(room.Sectors, int64_t{room.NumXSectors} * room.NumZSectors);
  io(room.AmbientIntensity1);  // in the fourth game, the low half of the room colour
  if (version >= Game::TR2) io(room.AmbientIntensity2);
  if (version == Game::TR2) io(room.LightMode);
  io.Each16("NumLights", room.Lights, FileSize<RoomLight>(version), each);
  if (tr1)
    io.Each16("NumStaticMeshes", room.StaticMeshes, FileSize<RoomStatic>(version), each);
  else
    io.Block16("NumStaticMeshes", room.StaticMeshes);
  io(room.AlternateRoom, room.Flags);
  if (version >= Game::TR3) io(room.WaterScheme, room.ReverbInfo, room.AlternateGroup);
}

// What a first- to fourth-game room's geometry takes by its own four counts (vertices,
// rectangles, triangles and, before the fourth game, sprites), the first of them at pos. The
// entries need not be there: in a file cut inside the geometry the counts read still agree
// with the stated size.
struct GeometryWalk {
  uint64_t Bytes = 0;     // up to the count that lies past the data, when one does
  bool Complete = false;  // all four counts read
  bool Negative = false;  // a count below zero: reported when the room is read
};
inline GeometryWalk WalkRoomGeometry(std::span<const uint8_t> bytes, size_t pos, Game version) {
  const size_t entrySizes[] = {
      version == Game::TR1 ? FileSize<RoomVertex>(version) : sizeof(RoomVertex),
      FileSize<RoomQuad>(version), FileSize<RoomTriangle>(version),
      version == Game::TR4 ? 0 : sizeof(RoomSprite)};
  GeometryWalk walk;
  for (size_t entrySize : entrySizes) {
    if (pos + walk.Bytes + 2 > bytes.size()) return walk;
    int16_t count;
    std::memcpy(&count, bytes.data() + pos + walk.Bytes, 2);
    walk.Negative = count < 0;
    if (walk.Negative) return walk;
    walk.Bytes += 2 + static_cast<uint64_t>(count) * entrySize;
  }
  walk.Complete = true;
  return walk;
}

// Throws when the room at start states (NumDataWords, 16 bytes in) another size than its
// geometry's counts take. Where neither the counts nor the stated size can be followed to their
// end (a file cut inside the geometry), the room is left to report where the data ends.
inline void CheckRoomSize(const ByteCursor& c, size_t start, const std::string& room,
                          Game version) {
  if (c.Size() - start < 20) return;
  int32_t stated;
  std::memcpy(&stated, c.Bytes().data() + start + 16, 4);
  const GeometryWalk walk = WalkRoomGeometry(c.Bytes(), start + 20, version);
  if (stated < 0 || walk.Negative) return;
  const bool statedFits = uint64_t{2} * static_cast<uint32_t>(stated) <= c.Size() - start - 20;
  std::string takes;
  if (walk.Complete && walk.Bytes != uint64_t{2} * static_cast<uint32_t>(stated))
    takes = std::to_string(walk.Bytes / 2);
  else if (!walk.Complete && statedFits)
    takes = "more than the rest of " + c.Container() + " holds";
  if (takes.empty()) return;
  throw c.Inconsistent(room + " states " + std::to_string(stated) + " data words " +
                           c.At(start + 16) + "; its geometry takes " + takes,
                       start + 16);
}

// The room count and the rooms of the first four games. A room whose stated data size
// (NumDataWords) is not what its geometry's counts take is damage in the first three games,
// where every real level agrees (and it is caught before a damaged count sizes anything); the
// fourth game's rooms are only held to it where the room count is in doubt. Every room takes
// at least 40 bytes (58 in the fourth game): a count the rest cannot hold is still read room
// by room, so a file cut inside the rooms says which room it ends in, while a room that is no
// room at all (its sizes disagree, a count is negative) says the count is what is wrong.
inline void ReadRoomList(ByteCursor& c, std::vector<Room>& rooms, Game version) {
  c.SetContext("the room count");
  const int16_t count = c.ReadCount16("NumRooms");
  const size_t countAt = c.Pos() - 2;
  const size_t leastBytes = version == Game::TR4 ? 58 : 40;
  const uint64_t most = c.Remaining() / leastBytes;
  const bool fits = static_cast<uint64_t>(count) <= most;
  rooms.clear();
  if (fits) rooms.reserve(static_cast<size_t>(count));
  RecordReader io(c);
  for (int16_t i = 0; i < count; ++i) {
    c.SetContext("room " + std::to_string(i));
    try {
      if (version != Game::TR4 || !fits) CheckRoomSize(c, c.Pos(), c.Context(), version);
      Transfer(io, rooms.emplace_back(), version);
    } catch (const FormatError& e) {
      if (fits || e.RanOut()) throw;
      throw c.CountTooLarge("NumRooms", count, countAt, most);
    }
  }
}

// A 32-bit count, then the records as they lie in memory; context names them in messages.
template <typename T>
void ReadCountedList(ByteCursor& c, std::string context, std::string_view field,
                     std::vector<T>& list) {
  c.SetContext(std::move(context));
  c.ReadList(list, c.ReadCount32(field));
}

// A 32-bit count, then each record through its Transfer.
template <typename T>
void ReadCountedRecords(ByteCursor& c, std::string context, std::string_view field,
                        std::vector<T>& list, Game version) {
  c.SetContext(std::move(context));
  const int32_t count = c.ReadCount32(field);
  RecordReader io(c);
  c.ReadEach(list, count, FileSize<T>(version), [&](T& record) { Transfer(io, record, version); });
}

// numBytes demo bytes, grouped in 32-bit words: a partial last word holds the remaining bytes
// in its low bytes (file order) with zeros above, so a writer puts back exactly that many.
inline void ReadDemoData(ByteCursor& c, int16_t numBytes, std::vector<int32_t>& demo) {
  demo.clear();
  if (numBytes <= 0) return;
  auto bytes = c.Take(static_cast<size_t>(numBytes));
  demo.assign((bytes.size() + 3) / 4, 0);
  std::memcpy(demo.data(), bytes.data(), bytes.size());
}

}  // namespace slab
