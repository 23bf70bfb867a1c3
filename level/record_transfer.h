// One definition of each record's file form, run in both directions: RecordReader fills a
// record from a ByteCursor, RecordWriter (write/record_writers.h) puts a record back. Each
// Transfer lists its fields once, in file order, so the reader and the writer cannot drift.
// A level's sections are listed the same way, in level/level_transfer.h.
//
// An IO offers:
//   io(fields...)                        each field as its bytes
//   io.Count(field, n)                   a count stored as it is (never negative when read)
//   io.Block16(field, list)              a 16-bit count, then the records as they lie in memory
//   io.Each16(field, list, size, fn)     a 16-bit count, then fn per record of size bytes
//   io.Block(list, n)                    n records as they lie in memory, with no count
//   io.Part(name)                        names the part that follows, for messages
//   io.Each16OrNone(list, size, fn)      as Each16, but a negative count reads as no records
//   io.Either16(a, sizeA, fnA, b, sizeB, fnB)
//                                        a 16-bit count: that many of a when positive, else
//                                        minus that many of b; written from the list that has
//                                        records
// Fields passed to io(...) are scalars or arrays of scalars, whose size is their file size.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "level/byte_cursor.h"
#include "level/level.h"
#include "level/mesh.h"

namespace slab {

// R is the model record M, or M read-only (the writer's side).
template <class R, class M>
concept RecordOf = std::same_as<std::remove_const_t<R>, M>;

class RecordReader {
 public:
  // partOf follows each part's name in messages (" of the mesh at byte 120").
  explicit RecordReader(ByteCursor& cursor, std::string partOf = {})
      : c_(cursor), partOf_(std::move(partOf)) {}

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
  void Part(std::string_view name) { c_.SetContext(std::string(name) + partOf_); }
  template <class T, class Each>
  void Each16OrNone(std::vector<T>& list, size_t entrySize, Each each) {
    c_.ReadEach(list, std::max<int16_t>(c_.ReadI16(), 0), entrySize, each);
  }
  template <class A, class EachA, class B, class EachB>
  void Either16(std::vector<A>& a, size_t sizeA, EachA eachA, std::vector<B>& b, size_t sizeB,
                EachB eachB) {
    const int16_t n = c_.ReadI16();
    a.clear();
    b.clear();
    if (n > 0)
      c_.ReadEach(a, n, sizeA, eachA);
    else
      c_.ReadEach(b, -int64_t{n}, sizeB, eachB);
  }

 protected:
  ByteCursor& c_;

 private:
  std::string partOf_;
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

// A first-game box bound as the whole sector a later game's Box stores. Coordinates outside
// 0-262143 keep the low byte of their sector number.
inline uint8_t Tr1BoxSector(int32_t units) {
  return static_cast<uint8_t>(static_cast<int64_t>(std::floor(units / double{kSectorUnits})) &
                              0xFF);
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

template <class IO, RecordOf<MeshVertex> V>
void Transfer(IO& io, V& v, Game /*version*/) {
  io(v.X, v.Y, v.Z);
}

// Corner indices, then the texture word and, from the fourth game on, the effects word.
template <class IO, class F>
requires RecordOf<F, MeshTexturedQuad> || RecordOf<F, MeshTexturedTriangle>
void Transfer(IO& io, F& face, Game version) {
  io(face.Vertices, face.Texture);
  if (version >= Game::TR4) io(face.Effects);
}
template <class IO, class F>
requires RecordOf<F, MeshColouredQuad> || RecordOf<F, MeshColouredTriangle>
void Transfer(IO& io, F& face, Game /*version*/) { io(face.Vertices, face.Colour); }

// A mesh of the mesh-data block. Meshes are read when drawn, not when the level opens: a
// negative list count reads as an empty list, so one damaged mesh leaves the rest usable.
template <class IO, RecordOf<Mesh> M>
void Transfer(IO& io, M& mesh, Game version) {
  auto each = [&](auto& record) { Transfer(io, record, version); };
  const size_t vertexBytes = FileSize<MeshVertex>(version);
  io.Part("the centre and radius");
  io(mesh.Centre.X, mesh.Centre.Y, mesh.Centre.Z, mesh.Radius);
  io.Part("the vertices");
  io.Each16OrNone(mesh.Vertices, vertexBytes, each);
  io.Part("the normals");
  io.Either16(mesh.Normals, vertexBytes, each, mesh.Lights, sizeof(int16_t),
              [&](auto& light) { io(light); });
  io.Part("the textured quads");
  io.Each16OrNone(mesh.TexturedQuads, FileSize<MeshTexturedQuad>(version), each);
  io.Part("the textured triangles");
  io.Each16OrNone(mesh.TexturedTriangles, FileSize<MeshTexturedTriangle>(version), each);
  if (version >= Game::TR4) return;  // no coloured faces from the fourth game on
  io.Part("the coloured quads");
  io.Each16OrNone(mesh.ColouredQuads, FileSize<MeshColouredQuad>(version), each);
  io.Part("the coloured triangles");
  io.Each16OrNone(mesh.ColouredTriangles, FileSize<MeshColouredTriangle>(version), each);
}

}  // namespace slab
