// A mesh's bytes read bounds-checked, and the faces the 3D views draw from it.
#include <gtest/gtest.h>

#include "level/byte_cursor.h"
#include "level/mesh.h"
#include "mesh_bytes.h"
#include "platform/messages.h"
#include "preview3d/mesh_faces.h"

namespace slab {
namespace {

using test::MeshBytes;

// Centre, radius 1024 (bytes 00 04 00 00), four vertices.
MeshBytes Head() {
  MeshBytes m;
  m.Words({1, 2, 3}).Raw({0x00, 0x04, 0x00, 0x00});
  m.Words({4, 0, 0, 0, 1024, 0, 0, 1024, 0, 1024, 1024, 0, 1024});
  return m;
}

TEST(ParseMesh, LightValuesInsteadOfNormalsAndFaceListsAfterThem) {
  MeshBytes m = Head();
  m.Words({-5, 10, 20, 30, 40, 50});
  m.Words({1, 0, 1, 2, 3, 0x8007});  // one quad, texture word read as signed
  m.Words({1, 0, 1, 2, 9});          // one triangle
  m.Words({1, 3, 2, 1, 0, 0x1F00});  // one coloured quad
  m.Words({0});
  size_t offset = 0;
  const Mesh mesh = ParseMesh(m.Bytes, offset, Game::TR2);
  EXPECT_EQ(std::tuple(mesh.Centre.Z, mesh.Radius, mesh.Vertices.size(), mesh.Vertices[3].Z),
            std::tuple(3, 1024, 4u, 1024));
  EXPECT_TRUE(mesh.Normals.empty());
  EXPECT_EQ(mesh.Lights, (std::vector<int16_t>{10, 20, 30, 40, 50}));
  ASSERT_EQ(std::tuple(mesh.TexturedQuads.size(), mesh.TexturedTriangles.size(),
                       mesh.ColouredQuads.size(), mesh.ColouredTriangles.size()),
            std::tuple(1u, 1u, 1u, 0u));
  EXPECT_EQ(std::tuple(mesh.TexturedQuads[0].Texture, mesh.TexturedTriangles[0].Texture,
                       mesh.ColouredQuads[0].Colour),
            std::tuple(-32761, 9, 0x1F00));
  EXPECT_EQ(offset, m.Bytes.size());
}

TEST(ParseMesh, CountsPastTheEndFailWithTheListNamedAndNegativeOnesReadEmpty) {
  MeshBytes m = Head();
  m.Words({0, 3000, 0, 1, 2, 3, 5});  // 3000 quads announced, one there
  size_t offset = 0;
  try {
    ParseMesh(m.Bytes, offset, Game::TR4);
    FAIL() << "no error";
  } catch (const FormatError& e) {
    EXPECT_NE(std::string(e.what()).find("textured quads"), std::string::npos) << e.what();
  }
  EXPECT_EQ(offset, 0u);
  for (size_t start : {m.Bytes.size(), m.Bytes.size() + 2}) {
    EXPECT_THROW(ParseMesh(m.Bytes, start, Game::TR4), FormatError) << start;
  }

  MeshBytes negative;
  negative.Words({0, 0, 0, 0, 0, -3, 0, -1, -1});
  offset = 0;
  const Mesh mesh = ParseMesh(negative.Bytes, offset, Game::TR4);
  EXPECT_TRUE(mesh.Vertices.empty() && mesh.TexturedQuads.empty() &&
              mesh.TexturedTriangles.empty());
  EXPECT_EQ(offset, negative.Bytes.size());
}

// Four vertices, then a textured quad and a textured triangle with the given texture words,
// and for the second game a coloured triangle.
Level MeshLevel(int quadTexture, int triangleTexture, Game version = Game::TR2) {
  MeshBytes m;
  m.Words({0, 0, 0, 0, 0, 4, 0, 0, 0, 1024, 0, 0, 1024, -1024, 0, 0, -1024, 0, 0});
  if (version < Game::TR4) {
    m.Words({1, 0, 1, 2, 3, quadTexture, 1, 0, 1, 2, triangleTexture, 0, 1, 0, 1, 2, 0x0300});
  } else {
    m.Words({1, 0, 1, 2, 3, quadTexture, 0, 1, 0, 1, 2, triangleTexture, 0});
  }
  Level level;
  level.MeshData = m.Bytes;
  level.MeshPointers = {0, 0};
  level.ObjectTextures.resize(2);
  level.StaticMeshDefs.resize(1);
  return level;
}

const std::vector<TextureTile> kTiles(2, TextureTile{0, 0, 4});

// Fourth-game objects carry flags above the texture index: the face is drawn with the index
// alone, and the top bit adds the face seen from behind, its corners in reverse order.
TEST(MeshFaces, FlagBitsAreMaskedAndTheTopBitAddsTheBackFace) {
  for (auto [word, faces] : {std::pair{0x0001, 1u},
                             {0x1001, 1u},
                             {0x8001, 2u},
                             {0x9001, 2u},
                             {0x8005, 0u},
                             {0xFFFF, 0u}}) {
    const Level level = MeshLevel(word, word, Game::TR4);
    size_t offset = 0;
    const MeshFaceList list = BuildMeshFaces(ParseMesh(level.MeshData, offset, Game::TR4), level,
                                             kTiles, Game::TR4, false);
    ASSERT_EQ(list.size(), 2 * faces) << std::hex << word;
    if (faces != 2) continue;
    for (auto [k, from] : {std::pair{0, 1}, {1, 0}, {2, 3}, {3, 2}, {4, 1}})
      EXPECT_EQ(std::tuple(list[1].Vertices[k].X, list[1].Vertices[k].U),
                std::tuple(list[0].Vertices[from].X, list[0].Vertices[from].U));
    for (auto [k, from] : {std::pair{0, 1}, {1, 0}, {2, 2}})
      EXPECT_EQ(list[3].Vertices[k].Y, list[2].Vertices[from].Y) << k;
  }
}

TEST(MeshFaces, DamagedMeshPointersGiveEmptyListsAndOneMessage) {
  Level level = MeshLevel(0, 1);
  level.MeshPointers = {0, 1 << 20, -2};
  level.StaticMeshDefs.resize(4);
  level.StaticMeshDefs[1].Mesh = 1;
  level.StaticMeshDefs[2].Mesh = 2;
  level.StaticMeshDefs[3].Mesh = 7;
  RecordingSink sink;
  const auto statics = BuildStaticMeshes(level, kTiles, Game::TR2, sink);
  ASSERT_EQ(statics.size(), 4u);
  EXPECT_EQ(statics[0].size(), 2u);
  EXPECT_TRUE(statics[1].empty() && statics[2].empty() && statics[3].empty());
  ASSERT_EQ(sink.Shown.size(), 1u);
  EXPECT_EQ(sink.Shown[0].rfind("Mesh 1 can't be read", 0), 0u) << sink.Shown[0];
  EXPECT_NE(sink.Shown[0].find("and 2 more"), std::string::npos);
}

}  // namespace
}  // namespace slab
