#include "level/mesh.h"

#include <gtest/gtest.h>

#include "level/byte_cursor.h"
#include "mesh_bytes.h"

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
  Mesh mesh = ParseMesh(m.Bytes, offset, Game::TR2);
  EXPECT_EQ(mesh.Centre.Z, 3);
  EXPECT_EQ(mesh.Radius, 1024);
  ASSERT_EQ(mesh.Vertices.size(), 4u);
  EXPECT_EQ(mesh.Vertices[3].Z, 1024);
  EXPECT_EQ(mesh.NumNormals, -5);
  EXPECT_TRUE(mesh.Normals.empty());
  EXPECT_EQ(mesh.Lights, (std::vector<int16_t>{10, 20, 30, 40, 50}));
  ASSERT_EQ(mesh.TexturedQuads.size(), 1u);
  EXPECT_EQ(mesh.TexturedQuads[0].Texture, -32761);
  ASSERT_EQ(mesh.TexturedTriangles.size(), 1u);
  EXPECT_EQ(mesh.TexturedTriangles[0].Texture, 9);
  ASSERT_EQ(mesh.ColouredQuads.size(), 1u);
  EXPECT_EQ(mesh.ColouredQuads[0].Colour, 0x1F00);
  EXPECT_TRUE(mesh.ColouredTriangles.empty());
  EXPECT_EQ(offset, m.Bytes.size());
}

TEST(ParseMesh, QuadTakesTwelveBytesFromTheFourthGameAndTenBefore) {
  MeshBytes tail;
  tail.Words({1, 0, 1, 2, 3, 5});
  MeshBytes tr2 = Head();
  tr2.Words({0, 1, 0, 1, 2, 3, 5, 0, 0, 0});  // no normals, quad, no triangles, coloured 0, 0
  MeshBytes tr4 = Head();
  tr4.Words({0, 1, 0, 1, 2, 3, 5, 0x40, 0});  // quad with effects, no triangles, no coloured
  size_t offset2 = 0, offset4 = 0;
  Mesh m2 = ParseMesh(tr2.Bytes, offset2, Game::TR2);
  Mesh m4 = ParseMesh(tr4.Bytes, offset4, Game::TR4);
  const size_t head = Head().Bytes.size() + 2 + 2;  // normals count, quad count
  EXPECT_EQ(offset2, head + 10 + 2 + 4);
  EXPECT_EQ(offset4, head + 12 + 2);
  EXPECT_EQ(m4.TexturedQuads[0].Effects, 0x40);
  EXPECT_EQ(m2.TexturedQuads[0].Texture, m4.TexturedQuads[0].Texture);

  // Two meshes one after the other: the offset walks to the second.
  MeshBytes both = tr4;
  both.Bytes.insert(both.Bytes.end(), tr4.Bytes.begin(), tr4.Bytes.end());
  size_t offset = 0;
  ParseMesh(both.Bytes, offset, Game::TR5);
  Mesh second = ParseMesh(both.Bytes, offset, Game::TR5);
  EXPECT_EQ(second.Radius, 1024);
  EXPECT_EQ(offset, both.Bytes.size());
}

TEST(ParseMesh, StartOrCountsPastTheEndFailWithTheMeshNamed) {
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

  size_t past = m.Bytes.size() + 2;
  EXPECT_THROW(ParseMesh(m.Bytes, past, Game::TR4), FormatError);
  size_t atEnd = m.Bytes.size();
  EXPECT_THROW(ParseMesh(m.Bytes, atEnd, Game::TR4), FormatError);
}

TEST(ParseMesh, NegativeCountsReadAsEmptyLists) {
  MeshBytes m;
  m.Words({0, 0, 0, 0, 0, -3, 0, -1, -1});
  size_t offset = 0;
  Mesh mesh = ParseMesh(m.Bytes, offset, Game::TR4);
  EXPECT_TRUE(mesh.Vertices.empty());
  EXPECT_TRUE(mesh.TexturedQuads.empty());
  EXPECT_TRUE(mesh.TexturedTriangles.empty());
  EXPECT_EQ(offset, m.Bytes.size());
}

}  // namespace
}  // namespace slab
