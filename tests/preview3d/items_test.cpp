// Items in the 3D view: animation frames, mesh trees, item and sprite faces, camera markers.
// Every real level's moveables are checked against their frame boxes in real_levels_test.
#include <gtest/gtest.h>

#include "floordata/floor_data_builder.h"
#include "preview3d/camera_markers.h"
#include "preview3d/item_faces.h"

namespace slab {
namespace {

constexpr float kQuarter = 6.283185307f / 4;

void ExpectNear(std::array<float, 3> got, std::array<float, 3> want, const char* what) {
  for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], 0.01f) << what << " axis " << i;
}

// Bounding box, offset (10, -20, 30), then the rotation words.
std::vector<int16_t> Frame(std::initializer_list<int> rotations) {
  std::vector<int16_t> out{0, 0, 0, 0, 0, 0, 10, -20, 30};
  for (int w : rotations) out.push_back(static_cast<int16_t>(w));
  return out;
}

TEST(AnimationFrames, RotationWordsOfEachLayout) {
  const uint32_t packed = 256u << 20 | 512u;  // X 256, Y 0, Z 512 in two words
  const int high = static_cast<int>(packed >> 16), low = static_cast<int>(packed & 0xFFFF);
  // Second game: Y alone (256 of 1024), three axes, Z alone (128).
  AnimationFrame f = ReadAnimationFrame(Frame({0x8000 | 256, high, low, 0xC000 | 128}), 0, 3, kTR2);
  ASSERT_TRUE(f.Complete);
  EXPECT_EQ(f.Offset, (std::array<int16_t, 3>{10, -20, 30}));
  ExpectNear({f.Rotations[0].X, f.Rotations[0].Y, f.Rotations[2].Z}, {0, kQuarter, kQuarter / 2},
             "single axes");
  ExpectNear({f.Rotations[1].X, f.Rotations[1].Y, f.Rotations[1].Z}, {kQuarter, 0, 2 * kQuarter},
             "three axes");
  // Fourth game: single-axis angles have 12 bits, three axes stay 10 bits.
  f = ReadAnimationFrame(Frame({0x4000 | 1024, high, low}), 0, 2, kTR4);
  ExpectNear({f.Rotations[0].X, f.Rotations[1].X, f.Rotations[1].Z},
             {kQuarter, kQuarter, 2 * kQuarter}, "fourth game");
  // First game: a mesh-count word, then always two words, the low half first.
  f = ReadAnimationFrame(Frame({2, 0, 1 << 2, low, high}), 0, 2, kTR1);
  ASSERT_TRUE(f.Complete);
  ExpectNear({f.Rotations[0].Y, f.Rotations[1].X, f.Rotations[1].Z},
             {kQuarter, kQuarter, 2 * kQuarter}, "first game");
  // A frame cut short: what is there is read, the rest stays unturned; nothing past the list.
  f = ReadAnimationFrame(Frame({0x8000 | 256, 0x1000}), 0, 3, kTR2);
  EXPECT_FALSE(f.Complete);
  ExpectNear({f.Rotations[0].Y, f.Rotations[1].X, f.Rotations[2].Z}, {kQuarter, 0, 0}, "cut");
  EXPECT_FALSE(ReadAnimationFrame(std::vector<int16_t>{1, 2, 3}, 40000, 1, kTR2).Complete);
}

// Three meshes: mesh 0 turned a quarter about Y at the frame offset; mesh 1 pushes mesh 0 and
// hangs 100 below it, turned a quarter about Z; mesh 2 pops back to mesh 0 and sits 200 along
// its X.
Level TreeLevel() {
  Level level;
  level.Frames = Frame({0x8000 | 256, 0xC000 | 256, 0, 0});
  level.MeshTrees = {0, 0, 0, 0, 2, 0, 100, 0, 1, 200, 0, 0};  // the tree starts at word 4
  level.Moveables = {Moveable{7, 3, 0, 4, 0}};
  return level;
}

TEST(MoveablePoses, TreeStackAndFrameRotations) {
  Level level = TreeLevel();
  const MoveablePose pose = PoseMoveable(level, level.Moveables[0], kTR2);
  ASSERT_TRUE(pose.Complete);
  ASSERT_EQ(pose.Meshes.size(), 3u);
  ExpectNear(Apply(pose.Meshes[0], {0, 0, 50}), {60, -20, 30}, "mesh 0: +Z turned to +X");
  ExpectNear(Apply(pose.Meshes[1], {50, 0, 0}), {10, 130, 30}, "mesh 1: both turns, +X to +Y");
  ExpectNear(Apply(pose.Meshes[2], {0, 0, 0}), {10, -20, -170}, "mesh 2: popped to mesh 0");
  level.MeshTrees[4] = level.MeshTrees[8] = 0;  // without the flags mesh 2 hangs off mesh 1
  ExpectNear(Apply(PoseMoveable(level, level.Moveables[0], kTR2).Meshes[2], {0, 0, 0}),
             {10, 280, 30}, "chained");

  // A tree or frame past its list still places every mesh, and says it was cut short.
  for (auto [tree, frame] : {std::pair{10, 1000}, {-1000, -2}}) {
    level.Moveables[0].MeshTree = tree;
    level.Moveables[0].FrameOffset = frame;
    const MoveablePose cut = PoseMoveable(level, level.Moveables[0], kTR2);
    EXPECT_FALSE(cut.Complete);
    EXPECT_EQ(cut.Meshes.size(), 3u);
  }
}

TEST(ItemFaces, MoveablesPlacedAndTurnedSpritesAndUnknownIds) {
  Level level = TreeLevel();
  level.Frames = Frame({0, 0, 0, 0, 0, 0});         // an unturned frame at (10, -20, 30)
  const Item item{7, 0, 2048, -1024, 3072, 16384};  // a quarter turn: front to east
  level.Items = {item, item, item, item};
  level.Items[1].Room = 1;       // elsewhere
  level.Items[2].ObjectID = 9;   // a sprite
  level.Items[3].ObjectID = 12;  // unknown
  level.AIObjects = {AIObject{7, 0, 1024}};
  level.SpriteSequences = {{9, -1, 1}};
  // Page 2, texels 16..23 by 32..47, a quarter sector wide, half high, standing on the item.
  level.SpriteTextures = {
      SpriteTexture{}, SpriteTexture{2, 16, 32, 7 * 256 + 255, 15 * 256 + 255, -128, -512, 128, 0}};
  // One triangle per mesh, its first corner 512 in front of (+Z) the mesh origin.
  MoveableMeshFaces meshes;
  meshes.MeshCount = 3;
  for (int j = 0; j < 3; ++j) {
    MeshFace face;
    face.VertexCount = 3;
    face.Vertices[0].Z = 0.5f;
    meshes.Meshes.push_back({face});
  }
  const std::vector<MoveableMeshFaces> moveables{meshes};
  ItemFaces out = BuildItemFaces(level, moveables, std::vector<int>{0}, kTR2, 3);
  EXPECT_EQ(std::tuple(out.Unknown, out.Unplaced), std::tuple(1, 0));
  ASSERT_EQ(out.Faces.size(), 6u);  // three meshes each for the item and the AI object
  // Mesh 0's corner: (10, -20, 30 + 512) turned to (542, -20, -10), moved to the item, Y up.
  const auto at = [&](int face) {
    const LitVertex& v = out.Faces[face].Vertices[0];
    return std::array{v.X, v.Y, v.Z};
  };
  ExpectNear(at(0), {(2048 + 542) / 1024.0f, (1024 + 20) / 1024.0f, (3072 - 10) / 1024.0f}, "item");
  ExpectNear(at(1), {at(0)[0], at(0)[1] - 100 / 1024.0f, at(0)[2]}, "mesh 1, 100 lower");
  ExpectNear(at(3), {(1024 + 10) / 1024.0f, 20 / 1024.0f, 542 / 1024.0f}, "AI object unturned");

  ASSERT_EQ(out.Sprites.size(), 1u);
  const ItemSprite& s = out.Sprites[0];
  ExpectNear({s.X, s.Y, s.Z}, {2, 1, 3}, "sprite position");
  ASSERT_EQ(std::tuple(s.Face.Surface, s.Face.VertexCount), std::tuple(2, 5));
  // Top left half a sector up and an eighth left; texels half a texel in.
  for (auto [k, want] : {std::pair{0, std::array{-0.125f, 0.5f, 16.5f, 32.5f}},
                         {2, std::array{0.125f, 0.0f, 23.5f, 47.5f}}}) {
    const LitVertex& v = s.Face.Vertices[k];
    const std::array got{v.X, v.Y, v.U * 256, v.V * 256};
    for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(got[i], want[i], 1e-4) << k << " " << i;
  }

  // A sprite on a page the strip lacks is left out; with doors the next room adds its item.
  out = BuildItemFaces(level, moveables, std::vector<int>{0, 1}, kTR2, 2);
  EXPECT_TRUE(out.Sprites.empty());
  EXPECT_EQ(out.Faces.size(), 9u);
}

TEST(CameraMarkers, SinksFixedCamerasAndPlainOnes) {
  using test::Act;
  using test::Fn;
  Level level;
  test::LevelBuilder build(level);
  build.AddRoom(1, 3);
  // A camera action on record 1 (its second word carries the end bit), a sink on record 2.
  build.ListAt(0, 0, 0, {Fn(4, 0, true), 0, Act(1, 1), 0, Act(2, 2, true)});
  // A camera action on record 2, which stays a sink; one on a record the level lacks.
  build.ListAt(0, 0, 2, {Fn(4, 0, true), 0, Act(1, 2), 0, Act(1, 9), 0x8000});
  level.Cameras.resize(4);
  EXPECT_EQ(CameraMarkers(level), (std::vector<Marker>{Marker::Camera, Marker::FixedCamera,
                                                       Marker::Sink, Marker::Camera}));
}

}  // namespace
}  // namespace slab
