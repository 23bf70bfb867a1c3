// One mesh out of a level's mesh-data block: the vertices, normals or light values and the
// face lists of a static object or of one part of a moveable.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "level/game.h"

namespace slab {

struct MeshVertex {
  int16_t X = 0, Y = 0, Z = 0;
};

struct MeshTexturedQuad {
  std::array<int16_t, 4> Vertices{};
  int16_t Texture = 0;
  int16_t Effects = 0;  // fourth game and later
};

struct MeshTexturedTriangle {
  std::array<int16_t, 3> Vertices{};
  int16_t Texture = 0;
  int16_t Effects = 0;  // fourth game and later
};

struct MeshColouredQuad {
  std::array<int16_t, 4> Vertices{};
  int16_t Colour = 0;
};

struct MeshColouredTriangle {
  std::array<int16_t, 3> Vertices{};
  int16_t Colour = 0;
};

// Its file form is the Transfer in level/record_transfer.h.
struct Mesh {
  MeshVertex Centre;
  int32_t Radius = 0;
  std::vector<MeshVertex> Vertices;
  // The file holds one of the two: normals, or light values instead.
  std::vector<MeshVertex> Normals;
  std::vector<int16_t> Lights;
  std::vector<MeshTexturedQuad> TexturedQuads;
  std::vector<MeshTexturedTriangle> TexturedTriangles;
  // First to third game only.
  std::vector<MeshColouredQuad> ColouredQuads;
  std::vector<MeshColouredTriangle> ColouredTriangles;
};

// Reads the mesh that starts at byte offset of meshData and advances offset past it.
// A mesh that starts or runs past the end of the block throws FormatError (level/byte_cursor.h)
// naming the part that did not fit; nothing is read out of range. Negative face or vertex
// counts read as empty lists.
Mesh ParseMesh(std::span<const uint8_t> meshData, size_t& offset, Game gameVersion);

}  // namespace slab
