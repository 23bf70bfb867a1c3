#include "preview3d/level_batches.h"

#include <map>
#include <utility>

#include "preview3d/scene_units.h"
#include "preview3d/trigger_links.h"

namespace slab {

void AppendBatches(FaceBatches& to, const FaceBatches& from) {
  const auto offset = static_cast<uint32_t>(to.Vertices.size());
  to.Vertices.insert(to.Vertices.end(), from.Vertices.begin(), from.Vertices.end());
  for (Batch batch : from.Batches) {
    batch.First += offset;
    to.Batches.push_back(batch);
  }
}

LevelBatches MergeRoomBatches(std::span<const FaceBatches> rooms) {
  // Opaque before additive, then by page: the order the device's passes need.
  std::map<std::pair<int, int32_t>, LevelBatch> byKey;
  for (size_t r = 0; r < rooms.size(); ++r)
    for (const Batch& batch : rooms[r].Batches) {
      LevelBatch& merged = byKey[{batch.DrawPass == Pass::Additive ? 1 : 0, batch.Surface}];
      merged.DrawPass = batch.DrawPass;
      merged.Surface = batch.Surface;
    }
  LevelBatches level;
  for (auto& [key, merged] : byKey) {
    for (size_t r = 0; r < rooms.size(); ++r) {
      RoomRun run{static_cast<int32_t>(r), static_cast<uint32_t>(level.Vertices.size()), 0};
      for (const Batch& batch : rooms[r].Batches) {
        if (batch.DrawPass != merged.DrawPass || batch.Surface != merged.Surface) continue;
        const auto first = rooms[r].Vertices.begin() + batch.First;
        level.Vertices.insert(level.Vertices.end(), first, first + batch.Count);
        run.Count += batch.Count;
      }
      if (run.Count > 0) merged.Runs.push_back(run);
    }
    level.Batches.push_back(std::move(merged));
  }
  return level;
}

FaceBatches RoomBatches(const Level& level, std::span<const TextureTile> tiles, int room,
                        SelectedSector selected, uint32_t triggerColour,
                        std::span<const MeshFaceList> statics) {
  RoomFaceList list;
  BuildRoomFaces(level, tiles, room, selected, list);
  if (triggerColour != 0) TintTriggerFloors(level, room, triggerColour, list);
  FaceBatches both = BatchRoomFaces(level, list);
  AppendBatches(both, BatchMeshFaces(PlacedStatics(level, room, statics)));
  // The room's and the statics' runs of one page become one.
  LevelBatches merged = MergeRoomBatches(std::span<const FaceBatches>(&both, 1));
  FaceBatches sorted;
  sorted.Vertices = std::move(merged.Vertices);
  for (const LevelBatch& batch : merged.Batches)
    for (const RoomRun& run : batch.Runs)
      sorted.Batches.push_back({batch.DrawPass, batch.Surface, run.First, run.Count});
  return sorted;
}

std::vector<MeshFace> PlacedStatics(const Level& level, int room,
                                    std::span<const MeshFaceList> meshes) {
  std::vector<MeshFace> faces;
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return faces;
  for (const RoomStatic& s : level.Rooms[static_cast<size_t>(room)].StaticMeshes) {
    const auto k = static_cast<size_t>(StaticMeshIndex(level, s.ObjectID));
    if (k >= meshes.size()) continue;
    Mat4 world = RotateY(StaticMeshAngle(s.Rotation));
    const Vec3 at = ScenePosition(s.X, s.Y, s.Z);
    world.M[3] = {at.X, at.Y, at.Z, 1};
    for (MeshFace face : meshes[k]) {
      for (LitVertex& v : face.Vertices) {
        const auto p = TransformPoint({v.X, v.Y, v.Z}, world);
        v.X = p[0], v.Y = p[1], v.Z = p[2];
      }
      faces.push_back(face);
    }
  }
  return faces;
}

}  // namespace slab
