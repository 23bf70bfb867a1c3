#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "preview3d/camera_markers.h"
#include "preview3d/item_faces.h"

namespace slab {
namespace {

constexpr float kQuarter = 6.283185307f / 4;

void ExpectNear(std::array<float, 3> got, std::array<float, 3> want, const char* what) {
  for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], 0.01f) << what << " axis " << i;
}

std::vector<int16_t> Words(std::initializer_list<int> words) {
  std::vector<int16_t> out;
  for (int w : words) out.push_back(static_cast<int16_t>(w));
  return out;
}

// Bounding box, offset (10, -20, 30).
const std::initializer_list<int> kHeader = {0, 0, 0, 0, 0, 0, 10, -20, 30};

std::vector<int16_t> Frame(std::initializer_list<int> rotations) {
  std::vector<int16_t> out = Words(kHeader);
  for (int w : rotations) out.push_back(static_cast<int16_t>(w));
  return out;
}

TEST(AnimationFrames, RotationWordsOfEachLayout) {
  // Second game: Y alone (256 of 1024), then X 256, Y 0, Z 512 packed into two words, then Z
  // alone (128).
  const uint32_t packed = 256u << 20 | 512u;
  AnimationFrame f = ReadAnimationFrame(Frame({0x8000 | 256, static_cast<int>(packed >> 16),
                                               static_cast<int>(packed & 0xFFFF), 0xC000 | 128}),
                                        0, 3, Game::TR2);
  ASSERT_TRUE(f.Complete);
  EXPECT_EQ(f.Offset, (std::array<int16_t, 3>{10, -20, 30}));
  EXPECT_NEAR(f.Rotations[0].Y, kQuarter, 1e-5);
  EXPECT_EQ(f.Rotations[0].X, 0);
  EXPECT_NEAR(f.Rotations[1].X, kQuarter, 1e-5);
  EXPECT_EQ(f.Rotations[1].Y, 0);
  EXPECT_NEAR(f.Rotations[1].Z, 2 * kQuarter, 1e-5);
  EXPECT_NEAR(f.Rotations[2].Z, kQuarter / 2, 1e-5);

  // Fourth game: single-axis angles have 12 bits, so 1024 is the quarter turn; three axes
  // stay 10 bits.
  f = ReadAnimationFrame(
      Frame({0x4000 | 1024, static_cast<int>(packed >> 16), static_cast<int>(packed & 0xFFFF)}), 0,
      2, Game::TR4);
  EXPECT_NEAR(f.Rotations[0].X, kQuarter, 1e-5);
  EXPECT_NEAR(f.Rotations[1].Z, 2 * kQuarter, 1e-5);

  // First game: a mesh-count word, then always two words, the low half first; a top bit
  // that would mean "one axis" later is just part of the X angle here.
  const uint32_t y90 = 256u << 10;
  f = ReadAnimationFrame(
      Frame({2, static_cast<int>(y90 & 0xFFFF), static_cast<int>(y90 >> 16), 0x0200, 0x1000}), 0, 2,
      Game::TR1);
  ASSERT_TRUE(f.Complete);
  EXPECT_NEAR(f.Rotations[0].Y, kQuarter, 1e-5);
  EXPECT_NEAR(f.Rotations[1].X, kQuarter, 1e-5);
  EXPECT_NEAR(f.Rotations[1].Z, 2 * kQuarter, 1e-5);

  // A frame cut short: what is there is read, the rest stays unturned; nothing past the list.
  f = ReadAnimationFrame(Frame({0x8000 | 256, 0x1000}), 0, 3, Game::TR2);
  EXPECT_FALSE(f.Complete);
  EXPECT_NEAR(f.Rotations[0].Y, kQuarter, 1e-5);
  EXPECT_EQ(f.Rotations[1].X, 0);
  EXPECT_EQ(f.Rotations[2].Z, 0);
  f = ReadAnimationFrame(Words({1, 2, 3}), 40000, 1, Game::TR2);
  EXPECT_FALSE(f.Complete);
}

TEST(AnimationFrames, GameTurnsFollowTheGame) {
  // Angle 16384 turns the object's front (+Z) to +X (east); X turns +Y (down) to +Z.
  ExpectNear(Apply(GameRotation({0, kQuarter, 0}), {0, 0, 100}), {100, 0, 0}, "Y");
  ExpectNear(Apply(GameRotation({kQuarter, 0, 0}), {0, 100, 0}), {0, 0, 100}, "X");
  ExpectNear(Apply(GameRotation({0, 0, kQuarter}), {100, 0, 0}), {0, 100, 0}, "Z");
  // Y, X, Z order: the vertex meets Z first. (100, 0, 0) -Z-> (0, 100, 0) -X-> (0, 0, 100)
  // -Y-> (100, 0, 0). Any other order ends elsewhere.
  ExpectNear(Apply(GameRotation({kQuarter, kQuarter, kQuarter}), {100, 0, 0}), {100, 0, 0},
             "order");
}

// Three meshes: mesh 0 turned a quarter about Y at the frame offset; mesh 1 pushes mesh 0 and
// hangs 100 below it, turned a quarter about Z; mesh 2 pops back to mesh 0 and sits 200 along
// its X.
Level TreeLevel() {
  Level level;
  level.Frames = Frame({0x8000 | 256, 0xC000 | 256, 0, 0});
  level.MeshTrees = {0, 0, 0,   0,  // padding: the moveable's tree starts at word 4
                     2, 0, 100, 0, 1, 200, 0, 0};
  level.Moveables = {Moveable{7, 3, 0, 4, 0}};  // its tree at word 4, its frame at 0
  return level;
}

TEST(MoveablePoses, TreeStackAndFrameRotations) {
  const Level level = TreeLevel();
  const MoveablePose pose = PoseMoveable(level, level.Moveables[0], Game::TR2);
  ASSERT_TRUE(pose.Complete);
  ASSERT_EQ(pose.Meshes.size(), 3u);
  ExpectNear(Apply(pose.Meshes[0], {0, 0, 0}), {10, -20, 30}, "mesh 0 origin");
  ExpectNear(Apply(pose.Meshes[0], {0, 0, 50}), {60, -20, 30}, "mesh 0 turned");
  ExpectNear(Apply(pose.Meshes[1], {0, 0, 0}), {10, 80, 30}, "mesh 1 origin");
  // Mesh 1 carries mesh 0's turn and its own: +X -Z-> +Y.
  ExpectNear(Apply(pose.Meshes[1], {50, 0, 0}), {10, 130, 30}, "mesh 1 turned");
  // Popped: relative to mesh 0, whose turn takes +X to -Z. Chained to mesh 1 it would sit
  // at (10, 280, 30), mesh 1's turn taking its offset downwards.
  ExpectNear(Apply(pose.Meshes[2], {0, 0, 0}), {10, -20, -170}, "mesh 2 origin");

  // Without the flags mesh 2 hangs off mesh 1.
  Level chained = level;
  chained.MeshTrees[4] = 0;
  chained.MeshTrees[8] = 0;
  const MoveablePose straight = PoseMoveable(chained, chained.Moveables[0], Game::TR2);
  ExpectNear(Apply(straight.Meshes[2], {0, 0, 0}), {10, 280, 30}, "chained");
}

TEST(MoveablePoses, DamagedTreeOrFrameStillPlaces) {
  Level level = TreeLevel();
  level.Moveables[0].MeshTree = 10;  // runs past the tree list
  level.Moveables[0].FrameOffset = 1000;
  MoveablePose pose = PoseMoveable(level, level.Moveables[0], Game::TR2);
  EXPECT_FALSE(pose.Complete);
  ASSERT_EQ(pose.Meshes.size(), 3u);
  level.Moveables[0].MeshTree = -1000;
  level.Moveables[0].FrameOffset = -2;
  level.MeshTrees[8] = 1;  // a pop with nothing pushed keeps the parent
  pose = PoseMoveable(level, level.Moveables[0], Game::TR2);
  EXPECT_FALSE(pose.Complete);
  EXPECT_EQ(pose.Meshes.size(), 3u);
}

// One triangle per mesh, its first corner 512 in front of (+Z) the mesh origin.
std::vector<MoveableMeshFaces> TriangleMeshes(int count) {
  MoveableMeshFaces m;
  m.MeshCount = count;
  for (int j = 0; j < count; ++j) {
    MeshFace face;
    face.VertexCount = 3;
    face.Vertices[0].Z = 0.5f;
    face.Vertices[1].X = 0.25f;
    face.Vertices[2].Y = 0.25f;
    face.Surface = j;
    m.Meshes.push_back({face});
  }
  return {m};
}

std::array<float, 3> At(const LitVertex& v) { return {v.X, v.Y, v.Z}; }

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

  const auto meshes = TriangleMeshes(3);
  const std::vector<int> rooms{0};
  ItemFaces out = BuildItemFaces(level, meshes, rooms, Game::TR2, 3);
  EXPECT_EQ(out.Unknown, 1);
  EXPECT_EQ(out.Unplaced, 0);
  ASSERT_EQ(out.Faces.size(), 6u);  // three meshes each for the item and the AI object
  // Mesh 0's corner 512 ahead: frame offset (10, -20, 30) plus (0, 0, 512), turned to
  // (542, -20, -10), moved to the item, Y up and in sectors.
  ExpectNear(At(out.Faces[0].Vertices[0]),
             {(2048 + 542) / 1024.0f, (1024 + 20) / 1024.0f, (3072 - 10) / 1024.0f}, "item");
  EXPECT_EQ(out.Faces[1].Surface, 1);
  // Mesh 1 hangs 100 below mesh 0: in the preview's Y-up frame that is lower.
  EXPECT_NEAR(out.Faces[1].Vertices[0].Y, out.Faces[0].Vertices[0].Y - 100 / 1024.0f, 1e-4);
  // The AI object is unturned at (1024, 0, 0).
  ExpectNear(At(out.Faces[3].Vertices[0]), {(1024 + 10) / 1024.0f, 20 / 1024.0f, 542 / 1024.0f},
             "AI object");

  ASSERT_EQ(out.Sprites.size(), 1u);
  const ItemSprite& s = out.Sprites[0];
  ExpectNear({s.X, s.Y, s.Z}, {2, 1, 3}, "sprite position");
  EXPECT_EQ(s.Face.Surface, 2);
  ASSERT_EQ(s.Face.VertexCount, 5);
  // Top left half a sector up and an eighth left; texels 16..23 by 32..47, half a texel in.
  const auto xyuv = [](const LitVertex& v) { return std::array{v.X, v.Y, v.U, v.V}; };
  const auto expectNear = [](std::array<float, 4> got, std::array<float, 4> want) {
    for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(got[i], want[i], 1e-6) << i;
  };
  expectNear(xyuv(s.Face.Vertices[0]), {-0.125f, 0.5f, 16.5f / 256, 32.5f / 256});
  expectNear(xyuv(s.Face.Vertices[2]), {0.125f, 0.0f, 23.5f / 256, 47.5f / 256});

  // A sprite on a page the strip lacks is left out; with doors the next room adds its item.
  const std::vector<int> both{0, 1};
  out = BuildItemFaces(level, meshes, both, Game::TR2, 2);
  EXPECT_TRUE(out.Sprites.empty());
  EXPECT_EQ(out.Faces.size(), 9u);
}

// Floor data: the trigger lists that name camera records.
struct FloorWords {
  std::vector<int> Words{0};  // word 0 is never a list
  uint16_t Add(std::initializer_list<int> list) {
    const auto at = static_cast<uint16_t>(Words.size());
    Words.insert(Words.end(), list);
    return at;
  }
};

TEST(CameraMarkers, SinksFixedCamerasAndPlainOnes) {
  constexpr int kTrigger = 4, kEnd = 0x8000;
  FloorWords fd;
  // A camera action on record 1 (its second word carries the end bit), a sink on record 2.
  const uint16_t first = fd.Add({kTrigger | kEnd, 0, 1 << 10 | 1, 0, 2 << 10 | 2 | kEnd});
  // A camera action on record 2, which stays a sink; one on a record the level lacks.
  const uint16_t second = fd.Add({kTrigger | kEnd, 0, 1 << 10 | 2, 0, 1 << 10 | 9, kEnd});
  Level level;
  for (int w : fd.Words) {
    level.FloorData.push_back(static_cast<uint8_t>(w & 0xFF));
    level.FloorData.push_back(static_cast<uint8_t>((w >> 8) & 0xFF));
  }
  level.Rooms.resize(1);
  level.Rooms[0].NumXSectors = 1;
  level.Rooms[0].NumZSectors = 3;
  level.Rooms[0].Sectors.resize(3);
  level.Rooms[0].Sectors[0].FDIndex = first;
  level.Rooms[0].Sectors[2].FDIndex = second;
  level.Cameras.resize(4);
  EXPECT_EQ(CameraMarkers(level), (std::vector<Marker>{Marker::Camera, Marker::FixedCamera,
                                                       Marker::Sink, Marker::Camera}));
}

}  // namespace
}  // namespace slab
