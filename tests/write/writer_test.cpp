// The writer against the reader and against files nobody here wrote.
#include <gtest/gtest.h>

#include <cstring>

#include "level/load_level.h"
#include "support/compose_classic.h"
#include "support/compose_tr45.h"
#include "support/real_levels.h"
#include "write/finish_tr4.h"
#include "write/write_level.h"

namespace slab {
namespace {

using test::ReadFile;

LoadResult Load(std::span<const uint8_t> bytes, const std::string& name, Game& version) {
  RecordingSink sink;
  LoadResult result = LoadLevelFromBytes(bytes, name, sink);
  version = result.DetectedGame.value_or(version);
  EXPECT_TRUE(result.Loaded) << name << ": " << (sink.Shown.empty() ? "" : sink.Shown[0]);
  return result;
}

// Composed files of every classic version come back byte for byte, in both first-game
// palette layouts and with an odd demo length (every byte kept).
TEST(ClassicWriter, ComposedLevelsOfEveryVersionWriteBackUnchanged) {
  std::vector<test::DraftLevel> drafts;
  for (Game version : {Game::TR1, Game::TR2, Game::TR3})
    drafts.push_back(test::SampleDraft(version));
  drafts.push_back(test::SampleDraft(Game::TR1));
  drafts.back().Tr1Palette = Tr1PaletteLayout::AfterSpriteSequences;
  drafts.push_back(test::SampleDraft(Game::TR2));
  drafts.back().DemoBytes = {1, 2, 3, 4, 5, 6, 7};
  for (const auto& draft : drafts) {
    auto file = test::ComposeClassic(draft);
    Game gameVersion = Game::None;
    LoadResult loaded = Load(file.Bytes, "sample.tr2", gameVersion);
    EXPECT_EQ(EncodeClassicLevel(loaded.Lvl, gameVersion), file.Bytes)
        << "version " << GameNumber(draft.GameVersion);
  }
}

TEST(ClassicWriter, NoBoxesWritesNoZoneWords) {
  Level level;
  level.Version = 0x2D;
  level.Overlaps = {7};
  level.Zones = {1, 2, 3};  // stale words without boxes must not reach the file
  auto bytes = EncodeClassicLevel(level, Game::TR2);
  Game gameVersion = Game::None;
  LoadResult loaded = Load(bytes, "nobox.tr2", gameVersion);
  EXPECT_TRUE(loaded.Lvl.Boxes.empty());
  EXPECT_EQ(loaded.Lvl.Overlaps, std::vector<int16_t>{7});
  EXPECT_TRUE(loaded.Lvl.Zones.empty());
}

TEST(TR4Intermediate, ChunksHaveOneSizeWordAndTheMarkersStand) {
  test::Tr4Draft draft = test::SampleTr4Draft();
  draft.Data.AnimatedTexturesUVCount = 5;
  Game gameVersion = Game::None;
  auto inter = EncodeTR4Intermediate(Load(test::ComposeTR4(draft).Bytes, "x.tr4", gameVersion).Lvl);
  size_t at = 10;
  auto word = [&](size_t pos) {
    uint32_t v;
    std::memcpy(&v, inter.data() + pos, 4);
    return v;
  };
  for (size_t size : {draft.Pages32.size(), draft.Pages16.size(), draft.MiscPages.size()}) {
    EXPECT_EQ(word(at), size);
    at += 4 + word(at);
  }
  uint32_t levelSize = word(at);
  std::vector<uint8_t> levelData(inter.begin() + at + 4, inter.begin() + at + 4 + levelSize);
  // The inflated chunk of the composed file, byte for byte: markers, count byte, closing zeros.
  // Everything but the six closing bytes, which the reader skips and the writer zeroes.
  auto expected = test::Tr4LevelData(draft.Data, false).Bytes;
  std::fill(expected.end() - 6, expected.end(), 0);
  EXPECT_EQ(levelData, expected);
}

TEST(TR4Intermediate, AddOnFilesKeepTheirSoundMapAndBlock) {
  test::Tr4Draft draft = test::SampleTr4Draft();
  draft.Data.SoundMap.assign(2048, 3);
  draft.AddOn = test::AddOnBlock(64);
  Game gameVersion = Game::None;
  LoadResult loaded = Load(test::ComposeTR4(draft).Bytes, "ng.tr4", gameVersion);
  std::vector<uint8_t> finished;
  ASSERT_TRUE(FinishTR4(EncodeTR4Intermediate(loaded.Lvl), finished).Ok());
  LoadResult again = Load(finished, "ng.tr4", gameVersion);
  EXPECT_EQ(again.Lvl.SoundMap.size(), 2048u);
  EXPECT_EQ(again.Lvl.TrailingBlock, draft.AddOn);
}

TEST(RealLevels, EveryClassicFileWritesBackByteForByte) {
  SLAB_REQUIRE_REAL_LEVELS();
  auto files = test::RealLevels({"tr1/", "tr2/", "tr3/"});
  ASSERT_FALSE(files.empty());
  for (const auto& path : files) {
    auto bytes = ReadFile(path);
    Game gameVersion = Game::None;
    LoadResult loaded = Load(bytes, path.string(), gameVersion);
    auto written = EncodeClassicLevel(loaded.Lvl, gameVersion);
    EXPECT_TRUE(written == bytes) << path << ": " << written.size() << " of " << bytes.size();
  }
}

// Saved, finished and read again, a fourth-game level is the same level: its intermediate
// file (every field the writer knows) comes out the same, and so do its texture pages.
TEST(RealLevels, EveryFourthGameFileSurvivesSaveAndFinish) {
  SLAB_REQUIRE_REAL_LEVELS();
  auto files = test::RealLevels({"tr4/"});
  ASSERT_FALSE(files.empty());
  for (const auto& path : files) {
    auto bytes = ReadFile(path);
    Game gameVersion = Game::None;
    LoadResult first = Load(bytes, path.string(), gameVersion);
    auto inter = EncodeTR4Intermediate(first.Lvl);
    std::vector<uint8_t> finished;
    ASSERT_TRUE(FinishTR4(inter, finished).Ok()) << path;
    LoadResult second = Load(finished, path.string(), gameVersion);
    EXPECT_TRUE(EncodeTR4Intermediate(second.Lvl) == inter) << path;

    TR4FileParts original, mine;
    ASSERT_TRUE(SplitTR4File(bytes, original).Ok());
    ASSERT_TRUE(SplitTR4File(finished, mine).Ok());
    EXPECT_TRUE(original.Chunks == mine.Chunks) << path;
    EXPECT_TRUE(original.Rest == mine.Rest) << path;
  }
}

}  // namespace
}  // namespace slab
