// Every real fourth- and fifth-game level loads without a message and agrees with what an
// independent reader found in it.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <fstream>

#include "level/load_level.h"
#include "level/read_tr45.h"
#include "support/expected.h"
#include "support/real_levels.h"

namespace slab {
namespace {

std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

// The fourth chunk of a fourth-game file, inflated here with zlib alone.
std::vector<uint8_t> InflatedLevelData(const std::vector<uint8_t>& file) {
  size_t pos = 10;  // version word, three page counts
  for (int chunk = 0; chunk < 3; ++chunk) pos += 8 + U32At(file, pos + 4);
  std::vector<uint8_t> out(U32At(file, pos));
  uLongf len = static_cast<uLongf>(out.size());
  EXPECT_EQ(uncompress(out.data(), &len, file.data() + pos + 8, U32At(file, pos + 4)), Z_OK);
  EXPECT_EQ(len, out.size());
  return out;
}

// Counts the fifth-game reader passes over without keeping; the model holds 0 for them.
bool KeptByTr5(const std::string& difference) {
  for (const char* skipped :
       {"NumAnimations", "NumStateChanges", "NumAnimDispatches", "NumAnimCommands",
        "NumSpriteTextures", "NumSpriteSequences", "NumCameras", "NumFlybyCameras",
        "NumSoundSources", "NumBoxes", "NumOverlaps", "NumAnimatedTextures", "NumSoundDetails",
        "NumSampleIndices", "NumSamples", "SoundMap size"})
    for (const char* tail : {":", " list size:", " size:"})
      if (difference.rfind(std::string(skipped) + tail, 0) == 0) return false;
  return true;
}

TEST(Tr45RealLevels, LoadWithoutMessageAndMatchExpected) {
  SLAB_REQUIRE_REAL_LEVELS();
  auto files = test::RealLevels({"tr4/", "tr5/"});
  ASSERT_FALSE(files.empty());
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    const nlohmann::json* entry = test::ExpectedEntry(path);
    ASSERT_NE(entry, nullptr);
    RecordingSink messages;
    int gameVersion = 0;
    LoadResult result = LoadLevel(path, gameVersion, messages);
    if ((*entry)["game"] == "error") {
      // The encrypted file: refused by its first word.
      EXPECT_FALSE(result.Loaded);
      EXPECT_EQ(messages.Shown, std::vector<std::string>{"Unknown TR version!"});
      continue;
    }
    ASSERT_TRUE(result.Loaded);
    EXPECT_TRUE(messages.Shown.empty()) << messages.Shown.front();
    std::vector<std::string> differences;
    for (auto& d : test::CompareWithExpected(result.Lvl, gameVersion, *entry))
      if (gameVersion != kTR5 || KeptByTr5(d)) differences.push_back(d);
    EXPECT_TRUE(differences.empty())
        << differences.size() << " differences, first: " << differences.front();
    EXPECT_EQ(result.TextureTiles.size(), result.Lvl.ObjectTextures.size());
    // Every page the counts name is there in full.
    EXPECT_GE(result.Lvl.Textile32.size(), size_t(result.Lvl.NumTextiles) * kPagePixels);
    EXPECT_GE(result.Lvl.Textile16.size(), size_t(result.Lvl.NumTextiles) * kPagePixels);
    EXPECT_GE(result.Lvl.MiscTextile32.size(), size_t(result.Lvl.NumMiscTextiles) * kPagePixels);
    if (gameVersion == kTR4) {
      auto marker = (*entry)["tex_marker_bytes"].get<std::string>();
      EXPECT_EQ(result.Lvl.AnimatedTexturesUVCount, std::stoi(marker.substr(0, 2), nullptr, 16));
      EXPECT_EQ(result.Lvl.TrailingBlock.size(), (*entry)["trailing_bytes"].get<size_t>());
      int64_t sampleBytes = 0;
      for (const auto& sample : result.Lvl.Samples) sampleBytes += sample.Data.size();
      EXPECT_GT(sampleBytes, 0);
    }
  }
}

TEST(Tr45RealLevels, Tr4LevelDataIsConsumedToItsEnd) {
  SLAB_REQUIRE_REAL_LEVELS();
  for (const auto& path : test::RealLevels({"tr4/"})) {
    SCOPED_TRACE(path.filename().string());
    auto file = FileBytes(path);
    auto data = InflatedLevelData(file);
    const nlohmann::json* entry = test::ExpectedEntry(path);
    ASSERT_NE(entry, nullptr);
    bool addOn = (*entry)["trailing_bytes"].get<int64_t>() > 0;
    Level level;
    ByteCursor cursor(data);
    ReadTR4LevelData(cursor, level, addOn);
    EXPECT_TRUE(cursor.AtEnd()) << cursor.Remaining() << " bytes left";
    EXPECT_EQ(level.SoundMap.size(), (*entry)["SoundMapEntries"].get<size_t>());
  }
}

TEST(Tr45RealLevels, Tr5RoomsJoinTheirLayers) {
  SLAB_REQUIRE_REAL_LEVELS();
  for (const auto& path : test::RealLevels({"tr5/"})) {
    if (path.extension() != ".trc" && path.extension() != ".TRC") continue;
    SCOPED_TRACE(path.filename().string());
    RecordingSink messages;
    int gameVersion = 0;
    LoadResult result = LoadLevel(path, gameVersion, messages);
    ASSERT_TRUE(result.Loaded);
    for (const Room& room : result.Lvl.Rooms) {
      EXPECT_EQ(std::string(room.Marker.data(), 4), "XELA");
      ASSERT_EQ(room.Layers.size(), size_t(room.NumLayers));
      // Every face index names a vertex of the joined list.
      for (const auto& quad : room.Rectangles)
        for (auto v : quad.Vertices) EXPECT_LT(uint16_t(v), room.Vertices.size());
      for (const auto& triangle : room.Triangles)
        for (auto v : triangle.Vertices) EXPECT_LT(uint16_t(v), room.Vertices.size());
    }
  }
}

}  // namespace
}  // namespace slab
