#include "support/real_levels.h"

#include <gtest/gtest.h>

#include "preview3d/camera_markers.h"
#include "preview3d/face_batches.h"
#include "preview3d/item_faces.h"
#include "preview3d/mesh_faces.h"
#include "preview3d/room_faces.h"
#include "preview3d/texels.h"
#include "preview3d/viewer_camera.h"

namespace slab {
namespace {

// Every face list, mesh and item of every real level builds; moveables fit their frame box.
TEST(RealLevels, FacesMeshesAndItemsBuild) {
  SLAB_REQUIRE_REAL_LEVELS();
  int levels = 0, sprites = 0, fixedCameras = 0;
  int64_t checked = 0, outside = 0;
  for (const auto& path : test::RealLevels({""})) {
    const auto loaded = test::LoadFile(path);
    if (!loaded->Result.Loaded) continue;  // the refused file is the reader's business
    ++levels;
    const LoadResult& result = loaded->Result;
    const Level& level = result.Lvl;
    const Game version = loaded->GameVersion;
    SCOPED_TRACE(path.string());
    RoomFaceList list;
    size_t faces = 0, doubleSided = 0;
    for (size_t r = 0; r < level.Rooms.size(); ++r) {
      BuildRoomFaces(level, result.TextureTiles, static_cast<int>(r), {}, list);
      for (const RoomQuad& q : level.Rooms[r].Rectangles)
        doubleSided += QuadTextureWord(q.Texture).DoubleSided ? 1 : 0;
      faces += level.Rooms[r].Rectangles.size() + level.Rooms[r].Triangles.size();
    }
    // Real levels name only textures and vertices they have: nothing is skipped.
    EXPECT_EQ(list.Faces.size(), faces + doubleSided);
    const int pages = ConvertiblePageCount(level, version);
    for (const Batch& b : BatchRoomFaces(level, list).Batches) EXPECT_LT(b.Surface, pages);

    RecordingSink meshMessages;
    const auto statics = BuildStaticMeshes(level, result.TextureTiles, version, meshMessages);
    const auto moveables = BuildMoveableMeshes(level, result.TextureTiles, version, meshMessages);
    EXPECT_TRUE(meshMessages.Shown.empty()) << meshMessages.Shown[0];
    // Every mesh face the views draw names a page the strip has and texels inside it (the
    // inset may step one texel past a page's edge).
    auto checkFaces = [&](const MeshFaceList& faces) {
      for (const MeshFace& f : faces) {
        ASSERT_TRUE(f.Surface == kNoSurface || (f.Surface >= 0 && f.Surface < pages));
        for (int k = 0; k < f.VertexCount; ++k) {
          const LitVertex& v = f.Vertices[static_cast<size_t>(k)];
          const float edge = 1.5f / 255;
          ASSERT_TRUE(v.U >= -edge && v.U <= 1 + edge && v.V >= -edge && v.V <= 1 + edge);
        }
      }
    };
    for (const MeshFaceList& faces : statics) checkFaces(faces);
    for (const MoveableMeshFaces& m : moveables)
      for (const MeshFaceList& faces : m.Meshes) checkFaces(faces);
    // The frame's bounding box was made by the game's tools from the posed meshes, so
    // a misread rotation or tree puts vertices outside it.
    for (size_t i = 0; i < level.Moveables.size(); ++i) {
      const Moveable& m = level.Moveables[i];
      if (m.NumMeshes <= 0 || m.FrameOffset < 0 ||
          static_cast<size_t>(m.FrameOffset) / 2 + 6 > level.Frames.size())
        continue;
      const int16_t* box = &level.Frames[static_cast<size_t>(m.FrameOffset) / 2];
      const MoveablePose pose = PoseMoveable(level, m, version);
      bool inside = true;
      for (size_t j = 0; j < moveables[i].Meshes.size(); ++j)
        for (const MeshFace& f : moveables[i].Meshes[j])
          for (int k = 0; k < f.VertexCount; ++k) {
            const LitVertex& v = f.Vertices[static_cast<size_t>(k)];  // sector units, Y up
            const auto p = Apply(pose.Meshes[j], {v.X * 1024, -v.Y * 1024, v.Z * 1024});
            for (size_t axis = 0; axis < 3; ++axis)
              inside = inside && p[axis] >= box[2 * axis] - 64 && p[axis] <= box[2 * axis + 1] + 64;
          }
      ++checked;
      outside += inside ? 0 : 1;
    }
    std::vector<int> all(level.Rooms.size());
    for (size_t r = 0; r < all.size(); ++r) all[r] = static_cast<int>(r);
    const ItemFaces built = BuildItemFaces(level, moveables, all, version, pages);
    EXPECT_EQ(built.Unplaced, 0);
    EXPECT_EQ(built.Unknown, 0);
    sprites += static_cast<int>(built.Sprites.size());
    // The viewer never starts in a wall.
    if (!level.Rooms.empty()) {
      EXPECT_NE(CameraRoom(level, StartCamera(level)), -1);
    }
    const std::vector<Marker> markers = CameraMarkers(level);
    EXPECT_EQ(markers.size(), level.Cameras.size());
    for (Marker m : markers) fixedCameras += m == Marker::FixedCamera ? 1 : 0;
  }
  EXPECT_GT(levels, 15);
  EXPECT_GT(sprites, 10);
  EXPECT_GT(fixedCameras, 5);
  // A few objects keep a box that is not their picture's (hair, effects); a misread frame
  // layout throws out several times as many.
  EXPECT_LT(outside * 10, checked) << outside << " of " << checked;
}

}  // namespace
}  // namespace slab
