// Static and moveable meshes as ready-to-draw faces, built once per level.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "level/level.h"
#include "level/mesh.h"
#include "platform/messages.h"
#include "preview3d/lit_vertex.h"

namespace slab {

using MeshFaceList = std::vector<MeshFace>;

struct MoveableMeshFaces {
  int32_t MeshCount = 0;
  std::vector<MeshFaceList> Meshes;  // one per mesh of the moveable, in mesh order
};

// The faces of one parsed mesh. A textured face's word names its object texture by its low
// 12 bits, as on room faces; with the top bit set (fourth-game objects) the face is seen from
// both sides and is followed by its back (corners 1, 0, 3, 2, 1, or 1, 0, 2 for a triangle).
// A face whose texture has no object texture or tile is skipped, as is a face naming a vertex
// the mesh does not have. Coloured faces are made only when
// withColoured is set (moveables): first game from Palette times 4, later games from the
// Palette16 entry in the colour word's high byte.
MeshFaceList BuildMeshFaces(const Mesh& mesh, const Level& level,
                            std::span<const TextureTile> tiles, Game gameVersion,
                            bool withColoured);

// One face list per static mesh definition. A definition whose mesh pointer or data is
// damaged gets an empty list; one message names the first such mesh and counts the rest.
std::vector<MeshFaceList> BuildStaticMeshes(const Level& level, std::span<const TextureTile> tiles,
                                            Game gameVersion, MessageSink& messages);

std::vector<MoveableMeshFaces> BuildMoveableMeshes(const Level& level,
                                                   std::span<const TextureTile> tiles,
                                                   Game gameVersion, MessageSink& messages);

// The first definition whose ID is id; 0 when none has it.
int16_t StaticMeshIndex(const Level& level, int32_t id);

// A placed static mesh's heading in radians from its Rotation word, in 0 to 6.28. The quarter
// turn is taken as 1.57, which gives 0, 4.71, 3.14 and 1.57 for the four right angles.
float StaticMeshAngle(uint16_t rotation);

}  // namespace slab
