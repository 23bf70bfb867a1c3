// Every real level reads without a message, to its last byte, and agrees with what an
// independent reader found in it.
#include "support/real_levels.h"

#include <gtest/gtest.h>

#include "support/expected.h"

namespace slab {
namespace {

// Counts the fifth-game reader passes over without keeping; the model holds 0 for them.
bool KeptByTr5(const std::string& difference) {
  for (const char* skipped :
       {"NumAnimations", "NumStateChanges", "NumAnimDispatches", "NumAnimCommands",
        "NumSpriteTextures", "NumSpriteSequences", "NumBoxes", "NumOverlaps", "NumAnimatedTextures", "NumSoundDetails",
        "NumSampleIndices", "NumSamples", "SoundMap size"})
    if (difference.rfind(std::string(skipped) + ":", 0) == 0) return false;
  return true;
}

class EveryRealLevel : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(EveryRealLevel, LoadsWithoutMessageToItsEndAndMatchesExpected) {
  SLAB_REQUIRE_REAL_LEVELS();
  const std::filesystem::path& path = GetParam();
  {
    const nlohmann::json* entry = test::ExpectedEntry(path);
    ASSERT_NE(entry, nullptr) << "no entry in expected.json";
    auto got = test::LoadFile(path);
    // The encrypted file is held to the entry of the level it decrypts into.
    EXPECT_EQ(got->Result.Lvl.Encrypted, path.filename().string().find("-enc.") != std::string::npos);
    ASSERT_TRUE(got->Result.Loaded) << got->FirstMessage();
    const Game game = got->GameVersion;
    const Level& level = got->Result.Lvl;
    // Tool-made classic levels trip the texture check for many textures: one box, no more
    // (bytes a reader left over would be reported too).
    EXPECT_LE(got->Messages.Shown.size(), game <= Game::TR3 ? 1u : 0u);
    for (const auto& m : got->Messages.Shown)
      EXPECT_EQ(m.rfind("ConvertTextInfo -> Error reading texture", 0), 0u) << m;
    EXPECT_EQ(got->Result.TextureTiles.size(), level.ObjectTextures.size());
    for (auto& d : test::CompareWithExpected(level, game, *entry))
      if (game != Game::TR5 || KeptByTr5(d)) ADD_FAILURE() << d;

    if (game == Game::TR4) {
      auto marker = (*entry)["tex_marker_bytes"].get<std::string>();
      EXPECT_EQ(level.AnimatedTexturesUVCount, std::stoi(marker.substr(0, 2), nullptr, 16));
      EXPECT_EQ(level.TrailingBlock.size(), (*entry)["trailing_bytes"].get<size_t>());
    } else if (game == Game::TR5) {
      // Every face index names a vertex of the room's joined layers.
      for (const Room& room : level.Rooms) {
        EXPECT_EQ(std::string(room.Marker.data(), 4), "XELA");
        for (const auto& quad : room.Rectangles)
          for (auto v : quad.Vertices) EXPECT_LT(uint16_t(v), room.Vertices.size());
        for (const auto& triangle : room.Triangles)
          for (auto v : triangle.Vertices) EXPECT_LT(uint16_t(v), room.Vertices.size());
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(RealLevels, EveryRealLevel,
                         test::RealLevelParams({"tr1/", "tr2/", "tr3/", "tr4/", "tr5/"}),
                         test::RealLevelName);

// "Unfinished Business" levels come as ".tub" files in the first game's PC-demo layout (the
// palette after the sprite sequences): such a file reads as the first-game level it is.
TEST(RealLevels, AnUnfinishedBusinessFileReadsAsAFirstGameLevel) {
  SLAB_REQUIRE_REAL_LEVELS();
  bool tried = false;
  for (const auto& path : test::RealLevels({"tr1/"})) {
    const std::vector<uint8_t> bytes = test::ReadFile(path);
    auto asPhd = test::LoadBytes(bytes, path.filename().string());
    if (!asPhd->Result.Loaded ||
        asPhd->Result.Lvl.Tr1Palette != Tr1PaletteLayout::AfterSpriteSequences)
      continue;
    tried = true;
    SCOPED_TRACE(path.filename().string());
    auto asTub = test::LoadBytes(bytes, "UB1.TUB");
    ASSERT_TRUE(asTub->Result.Loaded) << asTub->FirstMessage();
    EXPECT_EQ(asTub->GameVersion, Game::TR1);
    EXPECT_EQ(asTub->Result.Lvl.Tr1Palette, Tr1PaletteLayout::AfterSpriteSequences);
    EXPECT_EQ(asTub->Result.Lvl.Rooms.size(), asPhd->Result.Lvl.Rooms.size());
    EXPECT_EQ(asTub->Result.Lvl.Items.size(), asPhd->Result.Lvl.Items.size());
    EXPECT_EQ(asTub->Messages.Shown, asPhd->Messages.Shown);
  }
  EXPECT_TRUE(tried) << "no first-game level in the PC-demo layout among the real levels";
}

// The comparison itself must notice a difference, or the test above proves nothing.
TEST(RealLevels, ComparisonNoticesDifferences) {
  SLAB_REQUIRE_REAL_LEVELS();
  const auto path = test::RealLevels({"tr3/"}).at(0);
  auto got = test::LoadFile(path);
  ASSERT_TRUE(got->Result.Loaded);
  Level& level = got->Result.Lvl;
  level.Items.at(0).X += 1;
  level.Boxes.pop_back();
  level.Rooms.at(0).NumXSectors += 1;
  level.FloorData.at(0) ^= 1;
  // The item, the box count, the room's grid width and its sector list size, the floor data.
  EXPECT_EQ(test::CompareWithExpected(level, got->GameVersion, *test::ExpectedEntry(path)).size(),
            5u);
}

}  // namespace
}  // namespace slab
