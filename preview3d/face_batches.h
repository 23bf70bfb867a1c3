// Face lists regrouped for drawing: triangles in world positions, one run per texture page
// and pass, so a frame costs one draw call per run instead of one per face.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "level/level.h"
#include "preview3d/lit_vertex.h"
#include "preview3d/room_faces.h"

namespace slab {

enum class Pass : uint8_t { Opaque, Additive };

struct Batch {
  Pass DrawPass = Pass::Opaque;
  int32_t Surface = 0;
  uint32_t First = 0;  // first vertex
  uint32_t Count = 0;  // vertices, three per triangle
};

struct FaceBatches {
  std::vector<LitVertex> Vertices;  // triangles
  std::vector<Batch> Batches;       // opaque runs first, then additive ones, each by page
};

// Room faces: moved by their room's translation. Faces with attribute 2 go to the additive
// pass; the rest keep their list order within a page.
FaceBatches BatchRoomFaces(const Level& level, const RoomFaceList& list);

// The same triangles with one batch per face, in list order within each pass.
FaceBatches OneBatchPerFace(const Level& level, const RoomFaceList& list);

// Mesh faces, left at the mesh origin (one pass).
FaceBatches BatchMeshFaces(std::span<const MeshFace> faces);

// The triangles of a fan of count vertices (a four-cornered face's repeated first corner
// adds nothing).
void AppendFan(std::span<const LitVertex> fan, int count, float dx, float dz,
               std::vector<LitVertex>& out);

}  // namespace slab
