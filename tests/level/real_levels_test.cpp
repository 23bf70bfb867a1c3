// Every real level reads without a message, to its last byte, and agrees with what an
// independent reader found in it.
#include "support/real_levels.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/expected.h"

namespace slab {
namespace {

// Counts the fifth-game reader passes over without keeping; the model holds 0 for them.
bool KeptByTr5(const std::string& difference) {
  for (const char* skipped :
       {"NumAnimations", "NumStateChanges", "NumAnimDispatches", "NumAnimCommands",
        "NumSpriteTextures", "NumSpriteSequences", "NumCameras", "NumFlybyCameras",
        "NumSoundSources", "NumBoxes", "NumOverlaps", "NumAnimatedTextures", "NumSoundDetails",
        "NumSampleIndices", "NumSamples", "SoundMap size"})
    if (difference.rfind(std::string(skipped) + ":", 0) == 0) return false;
  return true;
}

TEST(RealLevels, LoadWithoutMessageToTheirEndAndMatchExpected) {
  SLAB_REQUIRE_REAL_LEVELS();
  auto files = test::RealLevels({"tr1/", "tr2/", "tr3/", "tr4/", "tr5/"});
  ASSERT_FALSE(files.empty());
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    const nlohmann::json* entry = test::ExpectedEntry(path);
    ASSERT_NE(entry, nullptr) << "no entry in expected.json";
    auto got = test::LoadFile(path);
    if ((*entry)["game"] == "error") {  // the encrypted file: refused by its first word
      EXPECT_EQ(got->Messages.Shown, std::vector<std::string>{"Unknown TR version!"});
      EXPECT_EQ(got->Messages.Details,
                std::vector<std::string>{
                    "The file starts with 54 52 34 63 (\"TR4c\"), as an encrypted level does."});
      continue;
    }
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

uint32_t Word(const std::vector<uint8_t>& bytes, size_t at) {
  uint32_t v;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

// Where each compressed chunk of a fourth- or fifth-game file starts (its two size words).
std::vector<size_t> ChunkStarts(const std::vector<uint8_t>& bytes, int chunks) {
  std::vector<size_t> at{4 + 6};
  for (int i = 1; i < chunks; ++i) at.push_back(at.back() + 8 + Word(bytes, at.back() + 4));
  return at;
}

// The same damage the composed files are checked against, in real levels: a room's size
// forged, chunks in each other's places, a fifth-game file cut inside its samples or with its
// level-data size forged.
TEST(RealLevels, DamageIsToldAsInComposedFiles) {
  SLAB_REQUIRE_REAL_LEVELS();
  const auto classic = test::RealLevels({"tr2/Popov72__TRN__assault", "tr3/"});
  EXPECT_EQ(classic.size(), 5u);
  for (const auto& path : classic) {
    SCOPED_TRACE(path.filename().string());
    auto bytes = test::ReadFile(path);
    const size_t stated = 1796 + 4 + Word(bytes, 1796) * size_t{3 * kPagePixels} + 4 + 2 + 16;
    const uint32_t words = Word(bytes, stated);
    std::memcpy(bytes.data() + stated, "\xFF\xFF\xFF\x7F", 4);
    auto got = test::LoadBytes(bytes, "ROOM.TR2");
    EXPECT_EQ(got->Messages.Shown,
              std::vector<std::string>{"ROOM.TR2 is damaged: room 0 states 2147483647 data "
                                       "words at byte " +
                                       std::to_string(stated) + "; its geometry takes " +
                                       std::to_string(words)});
  }

  // Castigavi's title, for one, reads "holds 18 pages where the header states 1 + 34 + 0 = 35".
  const auto fourth = test::RealLevels({"tr4/"});
  EXPECT_EQ(fourth.size(), 4u);
  for (const auto& path : fourth) {
    SCOPED_TRACE(path.filename().string());
    const auto bytes = test::ReadFile(path);
    const auto at = ChunkStarts(bytes, 5);
    auto chunk = [&](int i) {
      return std::vector<uint8_t>(bytes.begin() + static_cast<ptrdiff_t>(at[i]),
                                  bytes.begin() + static_cast<ptrdiff_t>(at[i + 1]));
    };
    auto inOrder = [&](std::initializer_list<int> order) {
      std::vector<uint8_t> out(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(at[0]));
      for (int i : order) {
        const auto c = chunk(i);
        out.insert(out.end(), c.begin(), c.end());
      }
      out.insert(out.end(), bytes.begin() + static_cast<ptrdiff_t>(at[4]), bytes.end());
      return out;
    };
    auto got = test::LoadBytes(inOrder({1, 0, 2, 3}), "PAGES.TR4");
    EXPECT_TRUE(got->Result.Loaded);
    ASSERT_EQ(got->Messages.Details.size(), 1u);
    EXPECT_EQ(got->Messages.Details[0].rfind("The 32-bit texture chunk holds ", 0), 0u)
        << got->Messages.Details[0];
    got = test::LoadBytes(inOrder({3, 1, 2, 0}), "DATA.TR4");
    EXPECT_FALSE(got->Result.Loaded);
    EXPECT_EQ(got->FirstMessage().rfind("DATA.TR4 is damaged: ", 0), 0u) << got->FirstMessage();
  }

  for (const auto& path : test::RealLevels({"tr5/LostArtefacts"})) {
    auto bytes = test::ReadFile(path);
    const size_t sizesAt = ChunkStarts(bytes, 4)[3] + 4 + 28;
    const size_t samplesAt = sizesAt + 8 + Word(bytes, sizesAt);
    ASSERT_GT(Word(bytes, samplesAt), 10u);  // the sample count
    // The file cut inside its tenth sample.
    size_t sample = samplesAt + 4;
    for (int i = 0; i < 9; ++i) sample += 8 + Word(bytes, sample + 4);
    const size_t cut = sample + 8 + Word(bytes, sample + 4) / 2;
    auto got = test::LoadBytes(std::span(bytes).first(cut), "CUT.TRC");
    EXPECT_TRUE(got->Result.Loaded);
    EXPECT_EQ(got->Messages.Details,
              std::vector<std::string>{"The file ends inside sample 9, at byte " +
                                       std::to_string(cut) + "."});
    const uint32_t length = Word(bytes, sizesAt);
    std::memcpy(bytes.data() + sizesAt, "\x00\x00\x00\x01", 4);
    got = test::LoadBytes(bytes, "SIZE.TRC");
    EXPECT_TRUE(got->Result.Loaded);
    EXPECT_EQ(got->Messages.Details,
              std::vector<std::string>{
                  "Its level data size is 16777216 at byte " + std::to_string(sizesAt) +
                  ", but the level data ends after " + std::to_string(length) + " bytes."});
  }
}

}  // namespace
}  // namespace slab
