#include "preview3d/gl/scene_renderer.h"

#include "preview3d/face_batches.h"
#include "preview3d/scene_units.h"

namespace slab {

bool SceneRenderer::Initialise(MessageSink& messages) {
  std::string error;
  if (Initialise(error)) return true;
  messages.Show(std::string(kNoDeviceMessage) + " - " + error, kNoDeviceTitle);
  return false;
}

void SceneRenderer::SetStaticMeshes(const std::vector<MeshFaceList>& meshes) {
  for (GpuGeometry& g : statics_) device_.Release(g);
  statics_.assign(meshes.size(), GpuGeometry{});
  for (size_t k = 0; k < meshes.size(); ++k) device_.Upload(BatchMeshFaces(meshes[k]), statics_[k]);
}

void SceneRenderer::SetMarkers(const std::array<MarkerPicture, 4>& pictures) {
  for (size_t i = 0; i < pictures.size(); ++i)
    markers_[i] = pictures[i].Loaded() ? device_.MakeTexture(pictures[i].Texels, pictures[i].Width,
                                                             pictures[i].Height)
                                       : 0;
}

void SceneRenderer::SetRoomFaces(const Level& level, const RoomFaceList& list) {
  device_.Upload(BatchRoomFaces(level, list), rooms_);
}

void SceneRenderer::SetRoomCount(size_t count) {
  for (GpuGeometry& g : roomSlots_) device_.Release(g);
  roomSlots_.assign(count, GpuGeometry{});
}

void SceneRenderer::SetRoomBatches(int room, const FaceBatches& batches) {
  if (room < 0 || static_cast<size_t>(room) >= roomSlots_.size()) return;
  device_.Upload(batches, roomSlots_[static_cast<size_t>(room)]);
}

void SceneRenderer::DrawRoom(int room) {
  if (room < 0 || static_cast<size_t>(room) >= roomSlots_.size()) return;
  device_.Draw(roomSlots_[static_cast<size_t>(room)], Identity());
}

void SceneRenderer::SetItems(const ItemFaces& items) {
  device_.Upload(BatchMeshFaces(items.Faces), items_);
  for (PlacedSprite& s : sprites_) device_.Release(s.Quad);
  sprites_.assign(items.Sprites.size(), PlacedSprite{});
  for (size_t i = 0; i < items.Sprites.size(); ++i) {
    const ItemSprite& sprite = items.Sprites[i];
    sprites_[i].X = sprite.X;
    sprites_[i].Y = sprite.Y;
    sprites_[i].Z = sprite.Z;
    device_.Upload(BatchMeshFaces(std::span<const MeshFace>(&sprite.Face, 1)), sprites_[i].Quad);
  }
}

void SceneRenderer::BeginFrame(int width, int height, const Mat4& view) {
  device_.SetViewport(width, height);
  device_.ClearFrame();
  const float aspect = height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1;
  device_.SetViewProjection(view, ProjectionMatrix(kNearPlane, kFarPlane, kFieldOfView, aspect));
}

void SceneRenderer::DrawRooms() { device_.Draw(rooms_, Identity()); }

void SceneRenderer::DrawStaticMesh(int k, float x, float y, float z, float angle) {
  if (k < 0 || static_cast<size_t>(k) >= statics_.size()) return;
  Mat4 world = RotateY(angle);
  world.M[3] = {x, y, z, 1};
  device_.Draw(statics_[static_cast<size_t>(k)], world);
}

void SceneRenderer::DrawRoomStatics(const Level& level, int room) {
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return;
  for (const RoomStatic& s : level.Rooms[static_cast<size_t>(room)].StaticMeshes) {
    const Vec3 at = ScenePosition(s.X, s.Y, s.Z);
    DrawStaticMesh(StaticMeshIndex(level, s.ObjectID), at.X, at.Y, at.Z,
                   StaticMeshAngle(s.Rotation));
  }
}

void SceneRenderer::DrawItems(const Mat4& facing) {
  device_.Draw(items_, Identity());
  for (const PlacedSprite& s : sprites_) {
    Mat4 world = facing;
    world.M[3] = {s.X, s.Y, s.Z, 1};
    device_.Draw(s.Quad, world);
  }
}

void SceneRenderer::DrawMarker(Marker marker, const Mat4& world) {
  device_.DrawMarker(world, markers_[static_cast<size_t>(marker)]);
}

}  // namespace slab
