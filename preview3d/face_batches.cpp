#include "preview3d/face_batches.h"

#include <algorithm>
#include <map>
#include <utility>

namespace slab {

void AppendFan(std::span<const LitVertex> fan, int count, float dx, float dz,
               std::vector<LitVertex>& out) {
  if (count == 5) count = 4;  // the fifth vertex closes the fan on the first
  for (int k = 1; k + 1 < count; ++k) {
    for (int i : {0, k, k + 1}) {
      LitVertex v = fan[static_cast<size_t>(i)];
      v.X += dx;
      v.Z += dz;
      out.push_back(v);
    }
  }
}

namespace {

template <typename Face, typename Key, typename Offset>
FaceBatches Group(std::span<const Face> faces, Key keyOf, Offset offsetOf) {
  // Key (pass, surface) -> face indices in list order.
  std::map<std::pair<Pass, int32_t>, std::vector<size_t>> groups;
  for (size_t n = 0; n < faces.size(); ++n) groups[keyOf(n)].push_back(n);
  FaceBatches out;
  size_t triangles = 0;
  for (const Face& face : faces) triangles += face.VertexCount == 3 ? 1 : 2;
  out.Vertices.reserve(triangles * 3);
  for (const auto& [key, indices] : groups) {
    Batch batch;
    batch.DrawPass = key.first;
    batch.Surface = key.second;
    batch.First = static_cast<uint32_t>(out.Vertices.size());
    for (size_t n : indices) {
      const auto [dx, dz] = offsetOf(n);
      AppendFan(faces[n].Vertices, faces[n].VertexCount, dx, dz, out.Vertices);
    }
    batch.Count = static_cast<uint32_t>(out.Vertices.size()) - batch.First;
    if (batch.Count > 0) out.Batches.push_back(batch);
  }
  return out;
}

}  // namespace

FaceBatches BatchRoomFaces(const Level& level, const RoomFaceList& list) {
  std::vector<RoomOffset> rooms(level.Rooms.size());
  for (size_t r = 0; r < rooms.size(); ++r) rooms[r] = RoomTranslation(level, static_cast<int>(r));
  const std::span<const PreparedFace> faces(list.Faces);
  return Group(
      faces,
      [&](size_t n) {
        const bool additive =
            n < list.FaceAttributes.size() && list.FaceAttributes[n] == kAdditiveAttribute;
        return std::pair{additive ? Pass::Additive : Pass::Opaque, faces[n].Surface};
      },
      [&](size_t n) {
        const int room = faces[n].Room;
        if (room < 0 || static_cast<size_t>(room) >= rooms.size()) return std::pair{0.0f, 0.0f};
        return std::pair{rooms[static_cast<size_t>(room)].X, rooms[static_cast<size_t>(room)].Z};
      });
}

FaceBatches OneBatchPerFace(const Level& level, const RoomFaceList& list) {
  FaceBatches out;
  for (Pass pass : {Pass::Opaque, Pass::Additive}) {
    for (size_t n = 0; n < list.Faces.size(); ++n) {
      const bool additive =
          n < list.FaceAttributes.size() && list.FaceAttributes[n] == kAdditiveAttribute;
      if (additive != (pass == Pass::Additive)) continue;
      const PreparedFace& face = list.Faces[n];
      const RoomOffset t = RoomTranslation(level, face.Room);
      Batch batch{pass, face.Surface, static_cast<uint32_t>(out.Vertices.size()), 0};
      AppendFan(face.Vertices, face.VertexCount, t.X, t.Z, out.Vertices);
      batch.Count = static_cast<uint32_t>(out.Vertices.size()) - batch.First;
      out.Batches.push_back(batch);
    }
  }
  return out;
}

FaceBatches BatchMeshFaces(std::span<const MeshFace> faces) {
  return Group(
      faces,
      [&](size_t n) {
        return std::pair{Pass::Opaque, faces[n].Surface};
      },
      [](size_t) {
        return std::pair{0.0f, 0.0f};
      });
}

}  // namespace slab
