// Records that several layouts write alike, the mirror of level/record_readers.h.
#pragma once

#include <vector>

#include "level/level.h"
#include "write/byte_writer.h"

namespace slab {

// A 32-bit count, then the records as they are laid out in memory and in the file.
template <typename T>
void WriteCountedList(ByteWriter& w, const std::vector<T>& list) {
  w.WriteU32(static_cast<uint32_t>(list.size()));
  w.WriteList(list);
}

// A 32-bit count of 16-bit words, then the words held as their bytes (floor and mesh data).
inline void WriteWordBytes(ByteWriter& w, const std::vector<uint8_t>& bytes) {
  w.WriteU32(static_cast<uint32_t>(bytes.size() / 2));
  w.WriteBytes(bytes.data(), bytes.size() & ~size_t{1});
}

// A 16-bit count, then per quad four vertex indices and the texture (10 bytes each).
inline void WriteRoomQuads(ByteWriter& w, const std::vector<RoomQuad>& quads) {
  w.WriteU16(static_cast<uint16_t>(quads.size()));
  for (const RoomQuad& q : quads) {
    for (int16_t index : q.Vertices) w.WriteI16(index);
    w.WriteI16(q.Texture);
  }
}

// A 16-bit count, then per triangle three vertex indices and the texture (8 bytes each).
inline void WriteRoomTriangles(ByteWriter& w, const std::vector<RoomTriangle>& triangles) {
  w.WriteU16(static_cast<uint16_t>(triangles.size()));
  for (const RoomTriangle& t : triangles) {
    for (int16_t index : t.Vertices) w.WriteI16(index);
    w.WriteI16(t.Texture);
  }
}

// A 32-bit count, then the 18 bytes of each moveable.
inline void WriteMoveables(ByteWriter& w, const std::vector<Moveable>& moveables) {
  w.WriteU32(static_cast<uint32_t>(moveables.size()));
  for (const Moveable& m : moveables) {
    w.WriteI32(m.ObjectID);
    w.WriteI16(m.NumMeshes);
    w.WriteI16(m.StartingMesh);
    w.WriteI32(m.MeshTree);
    w.WriteI32(m.FrameOffset);
    w.WriteI16(m.Animation);
  }
}

}  // namespace slab
