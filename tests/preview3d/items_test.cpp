// Reading animation frames and mesh trees. Whether they are read right is checked on every
// real level, whose moveables must fit their frame boxes (real_levels_test).
#include <gtest/gtest.h>

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
  AnimationFrame f =
      ReadAnimationFrame(Frame({0x8000 | 256, high, low, 0xC000 | 128}), 0, 3, Game::TR2);
  ASSERT_TRUE(f.Complete);
  EXPECT_EQ(f.Offset, (std::array<int16_t, 3>{10, -20, 30}));
  ExpectNear({f.Rotations[0].X, f.Rotations[0].Y, f.Rotations[2].Z}, {0, kQuarter, kQuarter / 2},
             "single axes");
  ExpectNear({f.Rotations[1].X, f.Rotations[1].Y, f.Rotations[1].Z}, {kQuarter, 0, 2 * kQuarter},
             "three axes");
  // First game: a mesh-count word, then always two words, the low half first.
  f = ReadAnimationFrame(Frame({2, 0, 1 << 2, low, high}), 0, 2, Game::TR1);
  ASSERT_TRUE(f.Complete);
  ExpectNear({f.Rotations[0].Y, f.Rotations[1].X, f.Rotations[1].Z},
             {kQuarter, kQuarter, 2 * kQuarter}, "first game");
  // A frame cut short: what is there is read, the rest stays unturned; nothing past the list.
  f = ReadAnimationFrame(Frame({0x8000 | 256, 0x1000}), 0, 3, Game::TR2);
  EXPECT_FALSE(f.Complete);
  ExpectNear({f.Rotations[0].Y, f.Rotations[1].X, f.Rotations[2].Z}, {kQuarter, 0, 0}, "cut");
  EXPECT_FALSE(ReadAnimationFrame(std::vector<int16_t>{1, 2, 3}, 40000, 1, Game::TR2).Complete);
}

// A tree or a frame past its list still places every mesh, and says it was cut short; a pop
// with nothing pushed keeps the parent.
TEST(MoveablePoses, DamagedTreeOrFrameStillPlaces) {
  Level level;
  level.Frames = Frame({0x8000 | 256, 0xC000 | 256, 0, 0});
  level.MeshTrees = {1, 0, 100, 0, 1, 200, 0, 0};
  level.Moveables = {Moveable{7, 3, 0, 0, 0}};
  EXPECT_TRUE(PoseMoveable(level, level.Moveables[0], Game::TR2).Complete);
  for (auto [tree, frame] : {std::pair{6, 1000}, {-1000, -2}}) {
    level.Moveables[0].MeshTree = tree;
    level.Moveables[0].FrameOffset = frame;
    const MoveablePose cut = PoseMoveable(level, level.Moveables[0], Game::TR2);
    EXPECT_FALSE(cut.Complete);
    EXPECT_EQ(cut.Meshes.size(), 3u);
  }
}

}  // namespace
}  // namespace slab
