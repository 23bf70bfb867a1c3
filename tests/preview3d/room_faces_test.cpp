#include "preview3d/room_faces.h"

#include <gtest/gtest.h>

namespace slab {
namespace {

// A room at sector (4, 8) with vertices on the corners of sector (2, 3) and one at X 4; six
// object textures (texture 5 additive) on tiles of page 3 whose edges are texels 192 and 64.
Level OneRoomLevel(std::vector<RoomQuad> quads, std::vector<RoomTriangle> triangles) {
  Level level;
  Room& room = level.Rooms.emplace_back();
  room.Info.X = 4096;
  room.Info.Z = 8192;
  room.Vertices = {
      {2048, 0, 3072}, {3072, 0, 3072}, {3072, 0, 4096}, {2048, 0, 4096}, {4096, -512, 4096}};
  room.NumXSectors = room.NumZSectors = 6;
  room.Sectors.resize(36);
  room.Rectangles = std::move(quads);
  room.Triangles = std::move(triangles);
  for (int i = 0; i < 6; ++i) {
    ObjectTexture& t = level.ObjectTextures.emplace_back();
    t.Attribute = i == 5 ? 2 : 0;
    t.Corners = {{{0, 192, 0, 64}, {0, 200, 0, 64}, {0, 200, 0, 80}, {0, 192, 0, 80}}};
  }
  return level;
}

const std::vector<TextureTile> kTiles(6, TextureTile{192, 64, 3});

TEST(BuildRoomFaces, QuadsWithBackFacesThenTrianglesAndSkippedFaces) {
  const Level level =
      OneRoomLevel({{{0, 1, 2, 3}, -1, 0},                            // red, two sides
                    {{0, 1, 2, 3}, static_cast<int16_t>(0x9005), 0},  // 5, two sides
                    {{0, 1, 2, 3}, 8192, 0},                          // a flag bit over texture 0
                    {{0, 1, 2, 3}, 6, 0},                             // no such texture: skipped
                    {{0, 1, 2, 9}, 1, 0}},                            // no such vertex: skipped
                   {{{0, 1, 2}, static_cast<int16_t>(0x8001), 0}});
  RoomFaceList list;
  BuildRoomFaces(level, kTiles, 0, {0, 0}, list);
  ASSERT_EQ(list.Faces.size(), 6u);
  EXPECT_EQ(list.FaceAttributes, (std::vector<int32_t>{0, 0, 2, 2, 0, 0}));
  const PreparedFace& red = list.Faces[0];
  EXPECT_EQ(std::tuple(red.VertexCount, red.Surface, red.Room), std::tuple(5, 3, 0));
  for (const LitVertex& v : red.Vertices)
    EXPECT_EQ(std::tuple(v.Colour, v.Specular), std::tuple(kRed, kRed));
  EXPECT_FLOAT_EQ(red.Vertices[4].X, red.Vertices[0].X);
  EXPECT_FLOAT_EQ(red.Vertices[1].U, 199.0f / 255);  // half a texel inside the tile
  for (auto [k, from] : {std::pair{0, 1}, {1, 0}, {2, 3}, {3, 2}, {4, 1}})
    EXPECT_EQ(list.Faces[1].Vertices[k].Z, red.Vertices[from].Z) << k;
  EXPECT_EQ(list.Faces[4].Vertices[0].Colour, kWhite);
  EXPECT_EQ(list.Faces[5].VertexCount, 3);  // the triangle, no back face

  // A room of -1 or past the end adds nothing.
  BuildRoomFaces(level, kTiles, -1, {}, list);
  BuildRoomFaces(level, kTiles, 1, {}, list);
  EXPECT_EQ(list.Faces.size(), 6u);
}

}  // namespace
}  // namespace slab
