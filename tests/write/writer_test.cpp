// The writer against the reader and against files nobody here wrote.
#include <gtest/gtest.h>

#include <cstring>

#include "level/load_level.h"
#include "level/mesh.h"
#include "tools/compose_tr45.h"
#include "support/real_levels.h"
#include "tools/compose_classic.h"
#include "write/convert_tr4.h"
#include "write/finish_tr4.h"
#include "write/write_level.h"

namespace slab {
namespace {

using test::ReadFile;

// A level that must load; its game is in GameVersion.
std::unique_ptr<test::Loaded> Load(std::span<const uint8_t> bytes, const std::string& name) {
  auto loaded = test::LoadBytes(bytes, name);
  EXPECT_TRUE(loaded->Result.Loaded) << name << ": " << loaded->FirstMessage();
  return loaded;
}

// Composed files of every classic version come back byte for byte, in both first-game
// palette layouts.
TEST(ClassicWriter, ComposedLevelsOfEveryVersionWriteBackUnchanged) {
  std::vector<test::DraftLevel> drafts;
  for (Game version : {Game::TR1, Game::TR2, Game::TR3})
    drafts.push_back(test::SampleDraft(version));
  drafts.push_back(test::SampleDraft(Game::TR1));
  drafts.back().Tr1Palette = Tr1PaletteLayout::AfterSpriteSequences;
  for (const auto& draft : drafts) {
    auto file = test::ComposeClassic(draft);
    auto loaded = Load(file.Bytes, "sample.tr2");
    EXPECT_EQ(EncodeClassicLevel(loaded->Result.Lvl, loaded->GameVersion), file.Bytes)
        << "version " << draft.GameVersion;
  }
}

TEST(ClassicWriter, NoBoxesWritesNoZoneWords) {
  Level level;
  level.Version = 0x2D;
  level.Overlaps = {7};
  level.Zones = {1, 2, 3};  // stale words without boxes must not reach the file
  auto bytes = EncodeClassicLevel(level, Game::TR2);
  auto loaded = Load(bytes, "nobox.tr2");
  EXPECT_TRUE(loaded->Result.Lvl.Boxes.empty());
  EXPECT_EQ(loaded->Result.Lvl.Overlaps, std::vector<int16_t>{7});
  EXPECT_TRUE(loaded->Result.Lvl.Zones.empty());
}

// The level-data chunk as the composer lays it out, in both layouts: an add-on level's demo
// slot holds its sound map's length, so writing the other layout moves every byte after it.
TEST(TR4Intermediate, ChunksHaveOneSizeWordAndTheMarkersStand) {
  for (bool addOn : {false, true}) {
    test::Tr4Draft draft = test::SampleTr4Draft();
    draft.Data.AnimatedTexturesUVCount = 5;
    if (addOn) {
      draft.Data.SoundMap.assign(500, 3);
      draft.AddOn = test::AddOnBlock(64);
    }
    auto inter = EncodeTR4Intermediate(Load(test::ComposeTR4(draft).Bytes, "x.tr4")->Result.Lvl);
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
    // The inflated chunk of the composed file, byte for byte: markers, count byte, closing
    // zeros. Everything but the six closing bytes, which the reader skips and the writer zeroes.
    auto expected = test::Tr4LevelData(draft.Data, addOn).Bytes;
    std::fill(expected.end() - 6, expected.end(), 0);
    EXPECT_EQ(levelData, expected) << (addOn ? "add-on layout" : "usual layout");
  }
}

class ClassicRealLevel : public ::testing::TestWithParam<std::filesystem::path> {};
class FourthGameRealLevel : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(ClassicRealLevel, WritesBackByteForByte) {
  SLAB_REQUIRE_REAL_LEVELS();
  const std::filesystem::path& path = GetParam();
  {
    auto bytes = ReadFile(path);
    auto loaded = Load(bytes, path.string());
    auto written = EncodeClassicLevel(loaded->Result.Lvl, loaded->GameVersion);
    EXPECT_TRUE(written == bytes) << path << ": " << written.size() << " of " << bytes.size();
  }
}

// Every mesh of every classic level, read and written again through the one mesh form,
// is the bytes it was read from.
TEST_P(ClassicRealLevel, EveryMeshWritesBackAsItWasRead) {
  SLAB_REQUIRE_REAL_LEVELS();
  const std::filesystem::path& path = GetParam();
  {
    auto loaded = Load(ReadFile(path), path.string());
    const Level& level = loaded->Result.Lvl;
    for (int32_t pointer : level.MeshPointers) {
      size_t end = static_cast<size_t>(pointer);
      ByteWriter written;
      ASSERT_NO_THROW(
          AppendClassicMesh(ParseMesh(level.MeshData, end, loaded->GameVersion), written))
          << path << " mesh at " << pointer;
      ASSERT_TRUE(std::equal(written.Bytes().begin(), written.Bytes().end(),
                             level.MeshData.begin() + pointer, level.MeshData.begin() + end))
          << path << " mesh at " << pointer;
    }
  }
}

// Saved, finished and read again, a fourth-game level is the same level: its intermediate
// file (every field the writer knows) comes out the same, and so do its texture pages and
// what follows the samples (the add-on level's long sound map and trailing block too).
TEST_P(FourthGameRealLevel, SurvivesSaveAndFinish) {
  SLAB_REQUIRE_REAL_LEVELS();
  const std::filesystem::path& path = GetParam();
  {
    auto bytes = ReadFile(path);
    auto inter = EncodeTR4Intermediate(Load(bytes, path.string())->Result.Lvl);
    std::vector<uint8_t> finished;
    ASSERT_TRUE(FinishTR4(inter, finished).Ok()) << path;
    EXPECT_TRUE(EncodeTR4Intermediate(Load(finished, path.string())->Result.Lvl) == inter) << path;

    TR4FileParts original, mine;
    ASSERT_TRUE(SplitTR4File(bytes, original).Ok());
    ASSERT_TRUE(SplitTR4File(finished, mine).Ok());
    EXPECT_TRUE(original.Chunks == mine.Chunks) << path;
    EXPECT_TRUE(original.Rest == mine.Rest) << path;
  }
}

INSTANTIATE_TEST_SUITE_P(RealLevels, ClassicRealLevel,
                         test::RealLevelParams({"tr1/", "tr2/", "tr3/"}), test::RealLevelName);
INSTANTIATE_TEST_SUITE_P(RealLevels, FourthGameRealLevel, test::RealLevelParams({"tr4/"}),
                         test::RealLevelName);

}  // namespace
}  // namespace slab
