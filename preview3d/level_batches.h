// The whole level's rooms, each with its static meshes placed where they stand, in one vertex
// list grouped by pass and page and, within each, by room: a view draws any set of rooms with
// one call per page instead of a call per page, room and static mesh.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "level/level.h"
#include "preview3d/face_batches.h"
#include "preview3d/mesh_faces.h"
#include "preview3d/room_faces.h"

namespace slab {

struct RoomRun {
  int32_t Room = 0;
  uint32_t First = 0;  // first vertex
  uint32_t Count = 0;
};
struct LevelBatch {
  Pass DrawPass = Pass::Opaque;
  int32_t Surface = 0;
  std::vector<RoomRun> Runs;  // by room number
};
struct LevelBatches {
  std::vector<LitVertex> Vertices;
  std::vector<LevelBatch> Batches;  // opaque first, then additive, each by page
};

// `from` appended to `to`, its batches after to's (both stay sorted only within each).
void AppendBatches(FaceBatches& to, const FaceBatches& from);

// Room r's batches are rooms[r]; a room without faces may be empty.
LevelBatches MergeRoomBatches(std::span<const FaceBatches> rooms);

// One room as the 3D view draws it: its faces (the selected sector highlighted, the floors
// of trigger sectors in triggerColour, 0xRRGGBB, unless it is 0) and its static meshes
// placed, in batches by pass and page, so a room costs a draw call per page.
FaceBatches RoomBatches(const Level& level, std::span<const TextureTile> tiles, int room,
                        SelectedSector selected, uint32_t triggerColour,
                        std::span<const MeshFaceList> statics);

// The faces of every static mesh of the room, turned and moved to where it stands, as drawing
// places them one by one.
std::vector<MeshFace> PlacedStatics(const Level& level, int room,
                                    std::span<const MeshFaceList> meshes);

}  // namespace slab
