#include "support/real_levels.h"

#include <gtest/gtest.h>

#include "level/load_level.h"
#include "preview3d/face_batches.h"
#include "preview3d/mesh_faces.h"
#include "preview3d/room_faces.h"
#include "preview3d/texels.h"

namespace slab {
namespace {

TEST(RealLevels, WholeFaceListsAndMeshesBuild) {
  SLAB_REQUIRE_REAL_LEVELS();
  int levels = 0;
  for (const auto& path : test::RealLevels({"tr1/", "tr2/", "tr3/", "tr4/", "tr5/"})) {
    RecordingSink sink;
    int version = 0;
    LoadResult result = LoadLevel(path, version, sink);
    if (!result.Loaded) continue;
    ++levels;
    const Level& level = result.Lvl;
    RoomFaceList list;
    size_t faces = 0, doubleSided = 0;
    for (size_t r = 0; r < level.Rooms.size(); ++r) {
      BuildRoomFaces(level, result.TextureTiles, static_cast<int>(r), {}, list);
      for (const RoomQuad& q : level.Rooms[r].Rectangles)
        doubleSided += QuadTextureWord(q.Texture).DoubleSided ? 1 : 0;
      faces += level.Rooms[r].Rectangles.size() + level.Rooms[r].Triangles.size();
    }
    // Real levels name only textures and vertices they have: nothing is skipped.
    EXPECT_EQ(list.Faces.size(), faces + doubleSided) << path;
    EXPECT_EQ(list.FaceAttributes.size(), list.Faces.size()) << path;
    const FaceBatches batches = BatchRoomFaces(level, list);
    size_t vertices = 0;
    for (const Batch& b : batches.Batches) {
      vertices += b.Count;
      EXPECT_LT(b.Surface, ConvertiblePageCount(level, version)) << path;
    }
    EXPECT_EQ(vertices, batches.Vertices.size()) << path;

    RecordingSink meshMessages;
    const auto statics = BuildStaticMeshes(level, result.TextureTiles, version, meshMessages);
    const auto moveables = BuildMoveableMeshes(level, result.TextureTiles, version, meshMessages);
    EXPECT_EQ(statics.size(), level.StaticMeshDefs.size()) << path;
    EXPECT_EQ(moveables.size(), level.Moveables.size()) << path;
    EXPECT_TRUE(meshMessages.Shown.empty()) << path << ": " << meshMessages.Shown[0];
  }
  EXPECT_GT(levels, 15);
}

}  // namespace
}  // namespace slab
