// Room geometry as ready-to-draw faces: every four- and three-cornered face of a room turned
// into a fan of lit vertices, built once per level and drawn unchanged afterwards.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "level/level.h"
#include "preview3d/lit_vertex.h"
#include "preview3d/scene_units.h"

namespace slab {

// The face list: one attribute per face (2 = additive blending).
struct RoomFaceList {
  std::vector<PreparedFace> Faces;
  std::vector<int32_t> FaceAttributes;
  void Clear() {
    Faces.clear();
    FaceAttributes.clear();
  }
};

inline constexpr int32_t kAdditiveAttribute = 2;

// What a face's texture word stands for.
struct TextureWord {
  uint32_t Colour = kWhite;
  int32_t Full = 0;   // 0 to 65535
  int32_t Index = 0;  // the object texture, the low 12 bits
  bool DoubleSided = false;
};
// Four-cornered faces: -1 means untextured, red, drawn with object texture 0 from both sides.
TextureWord QuadTextureWord(int16_t texture);
TextureWord TriangleTextureWord(int16_t texture);

// Texture coordinate of a corner pixel: pixel / 255, not / 256.
inline float CornerCoordinate(uint8_t pixel) { return static_cast<float>(pixel) / 255.0f; }

// Pulls a coordinate one texel inward: on the tile's left or top edge it moves right or down,
// anywhere else left or up, so linear filtering never samples the neighbouring texture.
inline float InsetCoordinate(float coordinate, uint8_t tileEdge) {
  const float edge = static_cast<float>(tileEdge) / 255.0f;
  const float texel = 1.0f / 255.0f;
  return coordinate == edge ? coordinate + texel : coordinate - texel;
}

// The sector selected on the map, in whole sectors from the room's corner.
struct SelectedSector {
  int X = 0;
  int Z = 0;
};

// No sector of any room.
inline constexpr SelectedSector kNoSectorSelected{-1000000, -1000000};

// Turns the first count vertices red (Colour only) when all lie on the corners of the
// selected sector: its floor, its ceiling and the walls on its four edges.
void HighlightSelectedSector(std::span<LitVertex> scratch, int count, SelectedSector selected);

// Appends the faces of one room: its four-cornered faces (each double-sided one also seen
// from the back, corners 1, 0, 3, 2, 1), then its three-cornered faces. A room of -1 or out of
// range adds nothing. A face whose texture index has no object texture or tile, or whose
// corner names a vertex the room does not have, is skipped.
void BuildRoomFaces(const Level& level, std::span<const TextureTile> tiles, int room,
                    SelectedSector selected, RoomFaceList& list);

// The translation a face of this room is drawn with (sector units; Y is always 0).
struct RoomOffset {
  float X = 0, Y = 0, Z = 0;
};
RoomOffset RoomTranslation(const Level& level, int room);

// A point in game units as the 3D scene holds it: in sectors, the game's downward Y negated,
// lit with one colour. Any vertex record with X, Y and Z serves (room or mesh).
template <typename Vertex>
LitVertex ScenePoint(const Vertex& v, uint32_t colour) {
  LitVertex out;
  const Vec3 p = ScenePosition(v.X, v.Y, v.Z);
  out.X = p.X;
  out.Y = p.Y;
  out.Z = p.Z;
  out.Colour = colour;
  out.Specular = colour;
  return out;
}

}  // namespace slab
