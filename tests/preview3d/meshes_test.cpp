#include <gtest/gtest.h>

#include <cmath>

#include "level/messages.h"
#include "mesh_bytes.h"
#include "preview3d/matrix.h"
#include "preview3d/mesh_faces.h"

namespace slab {
namespace {

using test::MeshBytes;

// A second-game mesh: four vertices, textured quad (texture word given), textured triangle
// with texture 1, a coloured triangle with colour word 0x0300.
MeshBytes TwoMesh(int quadTexture) {
  MeshBytes m;
  m.Words({0, 0, 0, 0, 0, 4, 0, 0, 0, 1024, 0, 0, 1024, -1024, 0, 0, -1024, 0, 0});
  m.Words({1, 0, 1, 2, 3, quadTexture});
  m.Words({1, 0, 1, 2, 1});
  m.Words({0, 1, 0, 1, 2, 0x0300});
  return m;
}

Level MeshLevel(int quadTexture) {
  Level level;
  level.MeshData = TwoMesh(quadTexture).Bytes;
  level.MeshPointers = {0, 0};
  level.ObjectTextures.resize(2);
  level.Palette16[3 * 4] = 10;
  level.Palette16[3 * 4 + 1] = 20;
  level.Palette16[3 * 4 + 2] = 30;
  return level;
}

const std::vector<TextureTile> kTiles(2, TextureTile{0, 0, 4});

TEST(MeshFaces, TexturedFacesWithYUpAndBadTextureWordsSkipped) {
  RecordingSink sink;
  for (int texture : {-5, 2}) {
    Level level = MeshLevel(texture);
    level.StaticMeshDefs.resize(1);
    auto statics = BuildStaticMeshes(level, kTiles, Game::TR2, sink);
    ASSERT_EQ(statics.size(), 1u);
    ASSERT_EQ(statics[0].size(), 1u) << "texture word " << texture;  // only the triangle
    EXPECT_EQ(statics[0][0].VertexCount, 3);
  }
  Level level = MeshLevel(0);
  level.StaticMeshDefs.resize(1);
  auto statics = BuildStaticMeshes(level, kTiles, Game::TR2, sink);
  ASSERT_EQ(statics[0].size(), 2u);
  const MeshFace& quad = statics[0][0];
  EXPECT_EQ(quad.VertexCount, 5);
  EXPECT_EQ(quad.Surface, 4);
  EXPECT_FLOAT_EQ(quad.Vertices[2].Y, 1.0f);  // game Y -1024 is one sector up
  EXPECT_FLOAT_EQ(quad.Vertices[4].X, quad.Vertices[0].X);
  EXPECT_FLOAT_EQ(quad.Vertices[0].U, 1.0f / 255);  // on the tile's edge: moved inward
  EXPECT_TRUE(sink.Shown.empty());
}

// Fourth-game objects carry flags above the texture index: the face is drawn with the index
// alone, and the top bit adds the face seen from behind.
TEST(MeshFaces, FlagBitsAreMaskedAndTheTopBitAddsTheBackFace) {
  struct Case {
    int Word;
    size_t Faces;  // for the quad, and for the triangle with the same word
  };
  for (const Case c : {Case{0x0001, 1}, Case{0x1001, 1}, Case{0x8001, 2}, Case{0x9001, 2},
                       Case{0x8005, 0}, Case{0xFFFF, 0}}) {
    MeshBytes m;
    m.Words({0, 0, 0, 0, 0, 4, 0, 0, 0, 1024, 0, 0, 1024, -1024, 0, 0, -1024, 0, 0});
    m.Words({1, 0, 1, 2, 3, c.Word, 0});
    m.Words({1, 0, 1, 2, c.Word, 0});
    Level level = MeshLevel(0);
    level.MeshData = m.Bytes;
    size_t offset = 0;
    const Mesh mesh = ParseMesh(level.MeshData, offset, Game::TR4);
    const MeshFaceList faces = BuildMeshFaces(mesh, level, kTiles, Game::TR4, false);
    ASSERT_EQ(faces.size(), 2 * c.Faces) << std::hex << c.Word;
    if (c.Faces != 2) continue;
    const MeshFace &quad = faces[0], &quadBack = faces[1], &tri = faces[2], &triBack = faces[3];
    EXPECT_EQ(quadBack.VertexCount, 5);
    for (auto [k, from] : {std::pair{0, 1}, {1, 0}, {2, 3}, {3, 2}, {4, 1}}) {
      EXPECT_EQ(quadBack.Vertices[k].X, quad.Vertices[from].X) << k;
      EXPECT_EQ(quadBack.Vertices[k].U, quad.Vertices[from].U) << k;
    }
    EXPECT_EQ(triBack.VertexCount, 3);
    for (auto [k, from] : {std::pair{0, 1}, {1, 0}, {2, 2}})
      EXPECT_EQ(triBack.Vertices[k].Y, tri.Vertices[from].Y) << k;
  }
}

TEST(MeshFaces, MoveablesAddColouredFacesFromThePalette) {
  Level level = MeshLevel(0);
  level.Moveables.push_back({});
  level.Moveables[0].NumMeshes = 2;
  RecordingSink sink;
  auto moveables = BuildMoveableMeshes(level, kTiles, Game::TR2, sink);
  ASSERT_EQ(moveables.size(), 1u);
  EXPECT_EQ(moveables[0].MeshCount, 2);
  ASSERT_EQ(moveables[0].Meshes.size(), 2u);
  ASSERT_EQ(moveables[0].Meshes[1].size(), 3u);
  const MeshFace& coloured = moveables[0].Meshes[1][2];
  EXPECT_EQ(coloured.Surface, kNoSurface);
  EXPECT_EQ(coloured.Vertices[0].Colour, 0x000A141Eu);
}

TEST(MeshFaces, DamagedMeshPointersGiveEmptyListsAndOneMessage) {
  Level level = MeshLevel(0);
  level.MeshPointers = {0, 1 << 20, -2};
  level.StaticMeshDefs.resize(4);
  level.StaticMeshDefs[1].Mesh = 1;
  level.StaticMeshDefs[2].Mesh = 2;
  level.StaticMeshDefs[3].Mesh = 7;
  RecordingSink sink;
  auto statics = BuildStaticMeshes(level, kTiles, Game::TR2, sink);
  ASSERT_EQ(statics.size(), 4u);
  EXPECT_EQ(statics[0].size(), 2u);
  EXPECT_TRUE(statics[1].empty() && statics[2].empty() && statics[3].empty());
  ASSERT_EQ(sink.Shown.size(), 1u);
  EXPECT_EQ(sink.Shown[0].rfind("Mesh 1 can't be read", 0), 0u) << sink.Shown[0];
  EXPECT_NE(sink.Shown[0].find("and 2 more"), std::string::npos);
}

TEST(StaticMeshes, IndexFallsBackToDefinitionZero) {
  Level level;
  level.StaticMeshDefs.resize(3);
  level.StaticMeshDefs[1].ID = 40;
  level.StaticMeshDefs[2].ID = 40;
  EXPECT_EQ(StaticMeshIndex(level, 40), 1);
  EXPECT_EQ(StaticMeshIndex(level, 41), 0);
}

TEST(StaticMeshes, AnglesOfTheRightAnglesAndInBetween) {
  for (auto [angle, radians] :
       {std::pair<int, float>{0, 0}, {16384, 4.71f}, {0x8000, 3.14f}, {0xC000, 1.57f}})
    EXPECT_FLOAT_EQ(StaticMeshAngle(static_cast<uint16_t>(angle)), radians) << angle;
  // Half way to 16384 lies half way to 4.71 from the full turn, not mirrored past 3.14.
  EXPECT_NEAR(StaticMeshAngle(8192), 6.28f - 0.785f, 1e-5);

  // Drawn at (2, 0, 3) with 1.57: a point one sector along X ends up along -Z.
  Mat4 world = RotateY(1.57f);
  world.M[3] = {2, 0, 3, 1};
  const auto p = TransformPoint({1, 0, 0}, world);
  EXPECT_NEAR(p[0], 2.0f, 1e-3);
  EXPECT_NEAR(p[2], 2.0f, 1e-3);
}

}  // namespace
}  // namespace slab
