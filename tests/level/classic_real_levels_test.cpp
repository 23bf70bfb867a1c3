// Every real first- to third-game level reads to its last byte without a message and agrees
// with what an independent reader found in it; cut short anywhere, it is refused.
#include <gtest/gtest.h>

#include <fstream>

#include "level/load_level.h"
#include "support/expected.h"
#include "support/real_levels.h"

namespace slab {
namespace {

const std::vector<std::string> kClassic = {"tr1/", "tr2/", "tr3/"};

std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool IsTextureReport(const std::string& message) {
  return message.rfind("ConvertTextInfo -> Error reading texture", 0) == 0;
}

TEST(ClassicRealLevels, LoadWithoutMessageAndMatchExpected) {
  SLAB_REQUIRE_REAL_LEVELS();
  auto files = test::RealLevels(kClassic);
  ASSERT_FALSE(files.empty());
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    RecordingSink sink;
    int gameVersion = 0;
    LoadResult result = LoadLevel(path, gameVersion, sink);
    ASSERT_TRUE(result.Loaded) << (sink.Shown.empty() ? "" : sink.Shown[0]);
    // Tool-made levels trip the texture check for many textures: one box, no more.
    EXPECT_LE(sink.Shown.size(), 1u);
    for (const auto& m : sink.Shown) EXPECT_TRUE(IsTextureReport(m)) << m;
    EXPECT_EQ(result.TextureTiles.size(), result.Lvl.ObjectTextures.size());

    auto bytes = FileBytes(path);
    ByteCursor cursor(bytes);
    Level level;
    level.Version = cursor.ReadI32();
    ReadClassicLevel(cursor, level, gameVersion);
    EXPECT_TRUE(cursor.AtEnd()) << "stopped at " << cursor.Pos() << " of " << bytes.size();

    const nlohmann::json* entry = test::ExpectedEntry(path);
    ASSERT_NE(entry, nullptr) << "no entry in expected.json";
    for (const auto& difference : test::CompareWithExpected(result.Lvl, gameVersion, *entry))
      ADD_FAILURE() << difference;
  }
}

// The comparison itself must notice a difference, or the test above proves nothing.
TEST(ClassicRealLevels, ComparisonNoticesDifferences) {
  SLAB_REQUIRE_REAL_LEVELS();
  EXPECT_EQ(test::Sha1Hex(std::vector<uint8_t>{'a', 'b', 'c'}),
            "a9993e364706816aba3e25717850c26c9cd0d89d");
  auto path = test::RealLevels({"tr3/"}).at(0);
  RecordingSink sink;
  int gameVersion = 0;
  LoadResult result = LoadLevel(path, gameVersion, sink);
  ASSERT_TRUE(result.Loaded);
  const nlohmann::json* entry = test::ExpectedEntry(path);
  ASSERT_NE(entry, nullptr);
  result.Lvl.Items.at(0).X += 1;
  result.Lvl.NumBoxes += 1;
  result.Lvl.Rooms.at(0).NumXSectors += 1;
  result.Lvl.FloorData.at(0) ^= 1;
  // The item, the box count, the room's grid width and its sector list size, the floor data.
  EXPECT_EQ(test::CompareWithExpected(result.Lvl, gameVersion, *entry).size(), 5u);
}

TEST(ClassicRealLevels, CutShortAnywhereIsRefused) {
  SLAB_REQUIRE_REAL_LEVELS();
  for (const auto& path : test::RealLevels(kClassic)) {
    const std::string name = path.filename().string();
    SCOPED_TRACE(name);
    auto bytes = FileBytes(path);
    std::vector<size_t> cuts = {0, 3, 4, bytes.size() - 1, bytes.size() - 2};
    constexpr size_t kPoints = 64;
    for (size_t k = 1; k < kPoints; ++k) cuts.push_back(bytes.size() * k / kPoints);
    for (size_t cut : cuts) {
      RecordingSink sink;
      int gameVersion = 0;
      auto result =
          LoadLevelFromBytes(std::span(bytes).first(cut), path.string(), gameVersion, sink);
      EXPECT_FALSE(result.Loaded) << "cut at " << cut;
      ASSERT_EQ(sink.Shown.size(), 1u) << "cut at " << cut;
      EXPECT_EQ(sink.Shown[0].rfind(name + " is damaged: ", 0), 0u) << sink.Shown[0];
      EXPECT_TRUE(result.Lvl.Rooms.empty());
    }
  }
}

}  // namespace
}  // namespace slab
