#include "preview3d/room_faces.h"

#include <gtest/gtest.h>

#include "preview3d/face_batches.h"

namespace slab {
namespace {

// A room at sector (4, 8) with vertices on the corners of sector (2, 3) and one at X 4.
Level OneRoomLevel() {
  Level level;
  Room room;
  room.Info.X = 4096;
  room.Info.Z = 8192;
  room.Vertices = {
      {2048, 0, 3072}, {3072, 0, 3072}, {3072, 0, 4096}, {2048, 0, 4096}, {4096, -512, 4096}};
  room.NumXSectors = room.NumZSectors = 6;
  room.Sectors.resize(36);
  level.Rooms.push_back(room);
  for (int i = 0; i < 6; ++i) {
    ObjectTexture t;
    t.Attribute = i == 5 ? 2 : 0;
    t.Corners = {{{0, 192, 0, 64}, {0, 200, 0, 64}, {0, 200, 0, 80}, {0, 192, 0, 80}}};
    level.ObjectTextures.push_back(t);
  }
  return level;
}

std::vector<TextureTile> Tiles(size_t n) {
  return std::vector<TextureTile>(n, TextureTile{192, 64, 3});
}

// -1, 0x9005 and 4096 are drawn below; 8192 is another flag bit, not part of the index.
TEST(TextureWord, FlagBitsLeaveTheIndex) { EXPECT_EQ(QuadTextureWord(8192).Index, 0); }

TEST(BuildRoomFaces, QuadsWithBackFacesThenTrianglesAndSkippedFaces) {
  Level level = OneRoomLevel();
  Room& room = level.Rooms[0];
  room.Rectangles = {{{0, 1, 2, 3}, -1, 0},                            // red, double-sided
                     {{0, 1, 2, 3}, static_cast<int16_t>(0x9005), 0},  // texture 5, two sides
                     {{0, 1, 2, 3}, 4096, 0},
                     {{0, 1, 2, 3}, 6, 0},   // no such texture: skipped
                     {{0, 1, 2, 9}, 1, 0}};  // no such vertex: skipped
  room.Triangles = {{{0, 1, 2}, static_cast<int16_t>(0x8001), 0}, {{0, 1, 2}, -1, 0}};
  RoomFaceList list;
  BuildRoomFaces(level, Tiles(6), 0, {0, 0}, list);
  ASSERT_EQ(list.Faces.size(), 6u);
  ASSERT_EQ(list.FaceAttributes.size(), 6u);

  const PreparedFace& red = list.Faces[0];
  EXPECT_EQ(red.VertexCount, 5);
  EXPECT_EQ(red.Surface, 3);
  EXPECT_EQ(red.Room, 0);
  for (const LitVertex& v : red.Vertices) {
    EXPECT_EQ(v.Colour, kRed);
    EXPECT_EQ(v.Specular, kRed);
  }
  EXPECT_FLOAT_EQ(red.Vertices[0].X, 2.0f);
  EXPECT_FLOAT_EQ(red.Vertices[4].X, red.Vertices[0].X);
  EXPECT_FLOAT_EQ(red.Vertices[0].U, 193.0f / 255);
  EXPECT_FLOAT_EQ(red.Vertices[1].U, 199.0f / 255);
  EXPECT_FLOAT_EQ(red.Vertices[2].V, 79.0f / 255);

  const PreparedFace& back = list.Faces[1];
  const std::array order{1, 0, 3, 2, 1};
  for (size_t k = 0; k < 5; ++k) {
    EXPECT_EQ(back.Vertices[k].X, red.Vertices[static_cast<size_t>(order[k])].X);
    EXPECT_EQ(back.Vertices[k].Z, red.Vertices[static_cast<size_t>(order[k])].Z);
  }
  EXPECT_EQ(list.FaceAttributes[2], 2);  // 0x9005: texture 5, additive
  EXPECT_EQ(list.FaceAttributes[3], 2);
  EXPECT_EQ(list.Faces[4].Vertices[0].Colour, kWhite);  // 4096: texture 0, one side
  EXPECT_EQ(list.Faces[5].VertexCount, 3);              // the triangle, no back face
  EXPECT_EQ(list.Faces[5].Vertices[0].Colour, kWhite);

  // A room of -1 or past the end changes nothing.
  BuildRoomFaces(level, Tiles(6), -1, {}, list);
  BuildRoomFaces(level, Tiles(6), 1, {}, list);
  EXPECT_EQ(list.Faces.size(), 6u);
}

TEST(BuildRoomFaces, HighlightsTheSelectedSectorsFloorOnly) {
  Level level = OneRoomLevel();
  level.Rooms[0].Rectangles = {{{0, 1, 2, 3}, 1, 0}, {{0, 1, 4, 3}, 1, 0}};
  level.Rooms[0].Triangles = {{{0, 1, 2}, 1, 0}};
  RoomFaceList list;
  BuildRoomFaces(level, Tiles(6), 0, {2, 3}, list);
  ASSERT_EQ(list.Faces.size(), 3u);
  EXPECT_EQ(list.Faces[0].Vertices[2].Colour, kRed);
  EXPECT_EQ(list.Faces[0].Vertices[2].Specular, kWhite);
  EXPECT_EQ(list.Faces[1].Vertices[0].Colour, kWhite);  // a corner at X 4
  EXPECT_EQ(list.Faces[2].Vertices[0].Colour, kWhite);  // triangles are never highlighted

  RoomFaceList other;
  BuildRoomFaces(level, Tiles(6), 0, {1, 3}, other);
  EXPECT_EQ(other.Faces[0].Vertices[0].Colour, kWhite);
}

TEST(FaceBatches, OpaqueRunsBeforeAdditiveAndRoomsMoved) {
  Level level = OneRoomLevel();
  level.Rooms[0].Rectangles = {{{0, 1, 2, 3}, 5, 0}, {{0, 1, 2, 3}, 1, 0}, {{0, 1, 2, 3}, -1, 0}};
  level.Rooms[0].Triangles = {{{0, 1, 2}, 2, 0}};
  auto tiles = Tiles(6);
  tiles[1].Page = 1;
  RoomFaceList list;
  BuildRoomFaces(level, tiles, 0, {}, list);
  const FaceBatches batches = BatchRoomFaces(level, list);
  ASSERT_EQ(batches.Batches.size(), 3u);
  EXPECT_EQ(batches.Batches[0].DrawPass, Pass::Opaque);
  EXPECT_EQ(batches.Batches[0].Surface, 1);
  EXPECT_EQ(batches.Batches[0].Count, 6u);
  EXPECT_EQ(batches.Batches[1].Surface, 3);
  EXPECT_EQ(batches.Batches[1].Count, 6u + 6u + 3u);  // red face, its back, the triangle
  EXPECT_EQ(batches.Batches[2].DrawPass, Pass::Additive);
  EXPECT_EQ(batches.Vertices.size(), 27u);
  EXPECT_FLOAT_EQ(batches.Vertices[0].X, 4.0f + 2.0f);  // room corner + vertex
  EXPECT_FLOAT_EQ(batches.Vertices[0].Z, 8.0f + 3.0f);
}

}  // namespace
}  // namespace slab
