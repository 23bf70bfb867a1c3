// What a 3D view draws, on the GL device: the room face list, the static meshes and the
// markers. Shared by the main window's view, the viewer window, the rendering tests and the
// benchmark; needs a current OpenGL context like the device.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "level/level.h"
#include "platform/messages.h"
#include "preview3d/gl/gl_device.h"
#include "preview3d/gl/markers.h"
#include "preview3d/item_faces.h"
#include "preview3d/mesh_faces.h"
#include "preview3d/room_faces.h"

namespace slab {

class SceneRenderer {
 public:
  bool Initialise(std::string& error) { return device_.Initialise(error); }
  // The same, and without a device the user is told why.
  bool Initialise(MessageSink& messages);
  bool Ready() const { return device_.Ready(); }
  GlDevice& Device() { return device_; }

  void SetPages(const TextureStrip& strip) { device_.SetPages(strip); }
  void SetStaticMeshes(const std::vector<MeshFaceList>& meshes);
  void SetMarkers(const std::array<MarkerPicture, 4>& pictures);
  // Uploads the face list in batches by page and pass.
  void SetRoomFaces(const Level& level, const RoomFaceList& list);
  // Each room apart, so a view draws only the rooms it sees: room slots for a level of
  // `count` rooms (all empty), then one room's batches (RoomBatches: its faces and its
  // placed static meshes) into its slot.
  void SetRoomCount(size_t count);
  void SetRoomBatches(int room, const FaceBatches& batches);
  void DrawRoom(int room);
  // The items of the shown rooms: the moveables in one set of batches, each sprite its own.
  void SetItems(const ItemFaces& items);

  // Viewport, blue clear and the camera for this frame (90 degrees, 0.1 to 100 sectors).
  void BeginFrame(int width, int height, const Mat4& view);
  void DrawRooms();
  // Static mesh k with its origin at (x, y, z) in sector units, turned by angle.
  void DrawStaticMesh(int k, float x, float y, float z, float angle);
  // Every static mesh placed in the room.
  void DrawRoomStatics(const Level& level, int room);
  void DrawMarker(Marker marker, const Mat4& world);
  // facing turns a sprite's plane towards the camera; its translation is not used.
  void DrawItems(const Mat4& facing);

 private:
  GlDevice device_;
  GpuGeometry rooms_;
  std::vector<GpuGeometry> roomSlots_;
  std::vector<GpuGeometry> statics_;
  std::array<unsigned, 4> markers_{};
  GpuGeometry items_;
  struct PlacedSprite {
    float X = 0, Y = 0, Z = 0;
    GpuGeometry Quad;
  };
  std::vector<PlacedSprite> sprites_;
};

}  // namespace slab
