// Records that several versions lay out alike, read field by field in file order. Each
// reader stays a column of these calls, so its layout reads at a glance.
#pragma once

#include <cstddef>

#include "level/byte_cursor.h"
#include "level/level.h"

namespace slab {

// Four vertex indices and the texture (10 bytes): the record up to Extra, which is the fifth
// game's own, so one copy fills it.
static_assert(offsetof(RoomQuad, Extra) == 10 && offsetof(RoomTriangle, Extra) == 8);
inline void ReadRoomQuad(ByteCursor& c, RoomQuad& quad) { c.ReadBytes(&quad, 10); }

// Three vertex indices and the texture (8 bytes).
inline void ReadRoomTriangle(ByteCursor& c, RoomTriangle& triangle) { c.ReadBytes(&triangle, 8); }

// The 18 bytes every version stores (the fifth game adds two).
inline void ReadMoveable(ByteCursor& c, Moveable& m) {
  m.ObjectID = c.ReadI32();
  m.NumMeshes = c.ReadI16();
  m.StartingMesh = c.ReadI16();
  m.MeshTree = c.ReadI32();
  m.FrameOffset = c.ReadI32();
  m.Animation = c.ReadI16();
}

inline void ReadTextureCorners(ByteCursor& c, ObjectTexture& t) {
  for (auto& corner : t.Corners) {
    corner.XCoordinate = c.ReadU8();
    corner.XPixel = c.ReadU8();
    corner.YCoordinate = c.ReadU8();
    corner.YPixel = c.ReadU8();
  }
}

// The fourth- and fifth-game object texture (38 bytes; the fifth game adds two).
inline void ReadTR4ObjectTexture(ByteCursor& c, ObjectTexture& t) {
  t.Attribute = c.ReadU16();
  t.Tile = c.ReadU16();
  t.NewFlags = c.ReadU16();
  ReadTextureCorners(c, t);
  c.ReadBytes(t.UVOrigin.data(), t.UVOrigin.size());
  t.Width = c.ReadI32();
  t.Height = c.ReadI32();
}

}  // namespace slab
