// The fourth-game reader against files composed field by field.
#include <gtest/gtest.h>

#include <cstring>

#include "tools/compose_tr45.h"
#include "support/real_levels.h"

namespace slab {
namespace {

using test::ComposeTR4;
using test::SampleTr4Draft;
using test::Tr4Draft;

template <typename T>
std::vector<uint8_t> AsBytes(const T& list, size_t n) {
  auto* p = reinterpret_cast<const uint8_t*>(list.data());
  return std::vector<uint8_t>(p, p + n);
}

TEST(Tr4Reader, ReadsEverySectionOfAComposedFile) {
  Tr4Draft draft = SampleTr4Draft();
  draft.Data.NumDemoData = 6;  // not a whole number of words
  draft.Data.DemoData = {0x04030201, 0x0605};
  draft.Data.SoundDetails.clear();
  // Sizes that are not whole pages: the counts round, the lists hold all that inflated.
  draft.Pages32 = test::PageBytes(1.25, 4);
  draft.MiscPages = test::PageBytes(1.6, 4);
  auto loaded = test::LoadBytes(ComposeTR4(draft).Bytes, "a.tr4");
  const Level& want = draft.Data;
  const Level& got = loaded->Result.Lvl;
  // Bytes left over would be reported; a refused load has nothing to compare.
  ASSERT_TRUE(loaded->Messages.Shown.empty()) << loaded->FirstMessage();
  EXPECT_EQ(AsBytes(got.Textile32, draft.Pages32.size()), draft.Pages32);
  EXPECT_EQ(AsBytes(got.Textile16, draft.Pages16.size()), draft.Pages16);
  EXPECT_EQ(AsBytes(got.MiscTextile32, draft.MiscPages.size()), draft.MiscPages);
  EXPECT_EQ(std::tie(got.NumTextiles, got.NumMiscTextiles), std::make_tuple(1, 2));
  EXPECT_EQ(got.Reserved32, want.Reserved32);

  // Every level-data field: what was read, composed again, is the composed chunk.
  EXPECT_EQ(test::Tr4LevelData(got, false).Bytes, test::Tr4LevelData(want, false).Bytes);
  EXPECT_EQ(got.DemoData, want.DemoData);
  ASSERT_EQ(got.Samples.size(), 2u);
  EXPECT_EQ(got.Samples[1].UncompressedSize, 20);
  EXPECT_EQ(got.Samples[1].Data, want.Samples[1].Data);

  // Tile 0x8003 is page 3; 192 + 63 still lies within the page, 193 + 63 does not.
  const auto& tiles = loaded->Result.TextureTiles;
  ASSERT_EQ(tiles.size(), 1u);
  EXPECT_EQ(std::tie(tiles[0].Page, tiles[0].X), std::make_tuple(3, 192));
  for (auto& corner : draft.Data.ObjectTextures[0].Corners) corner.XPixel = 193;
  loaded = test::LoadBytes(ComposeTR4(draft).Bytes, "a.tr4");
  EXPECT_FALSE(loaded->Result.Loaded);
  EXPECT_EQ(loaded->Messages.Shown,
            std::vector<std::string>{"ConvertTR5TextInfo -> ObjectTexture 0 invalid"});
}

TEST(Tr4Reader, AddOnFileHoldsItsSoundMapLengthInTheDemoSlot) {
  Tr4Draft draft = SampleTr4Draft();
  draft.Data.SoundMap.assign(2048, 0);
  draft.Data.SoundMap[2047] = 99;
  draft.AddOn = test::AddOnBlock(64);
  auto loaded = test::LoadBytes(ComposeTR4(draft).Bytes, "a.tr4");
  EXPECT_TRUE(loaded->Messages.Shown.empty());
  const Level& got = loaded->Result.Lvl;
  EXPECT_TRUE(got.DemoData.empty());
  ASSERT_EQ(got.SoundMap.size(), 2048u);
  EXPECT_EQ(got.SoundMap[2047], 99);
  EXPECT_EQ(got.TrailingBlock, draft.AddOn);
}

// Bytes after the samples that are no add-on block leave the ordinary layout in force: they are
// reported once, with how many, and the level opens. Bytes after the level data's closing bytes
// inside its chunk, whose size zlib knows exactly, mean the chunk is not the level data: the
// file is refused.
TEST(Tr4Reader, BytesLeftOverAfterTheSamplesOpenButInsideTheLevelDataRefuse) {
  const Tr4Draft draft = SampleTr4Draft();
  const auto composed = ComposeTR4(draft);
  auto afterSamples = composed.Bytes;
  afterSamples.insert(afterSamples.end(), {'N', 'G', 1, 2, 3, 4, 5, 6, 7, 8, 9});
  auto loaded = test::LoadBytes(afterSamples, "dir/LONG.TR4");
  EXPECT_TRUE(loaded->Result.Loaded);
  EXPECT_EQ(loaded->Result.Lvl.SoundMap, draft.Data.SoundMap);
  EXPECT_TRUE(loaded->Result.Lvl.TrailingBlock.empty());
  EXPECT_EQ(loaded->Messages.Shown,
            std::vector<std::string>{"LONG.TR4 has 11 bytes after its samples; they are not "
                                     "part of the level and are left out"});

  auto longer = composed.LevelData.Bytes;
  longer.insert(longer.end(), 10, 0);
  loaded = test::LoadBytes(composed.WithLevelData(longer), "dir/LONG.TR4");
  EXPECT_FALSE(loaded->Result.Loaded);
  EXPECT_EQ(loaded->Messages.Shown,
            std::vector<std::string>{"LONG.TR4 is damaged: its level data chunk holds 10 bytes "
                                     "after its last section, so it is not the level's data"});
  // A chunk that stops short of its six closing bytes still holds every list.
  auto shorter = composed.LevelData.Bytes;
  shorter.resize(shorter.size() - 6);
  loaded = test::LoadBytes(composed.WithLevelData(shorter), "dir/SHORT.TR4");
  EXPECT_TRUE(loaded->Result.Loaded && loaded->Messages.Shown.empty()) << loaded->FirstMessage();
}

// A texture chunk in the level data's place reads as a level of almost nothing with bytes left
// over: refused, the level-data chunk named. Page chunks in each other's places hold other
// pages than the header states: the level opens, the chunk named under the message.
// A room's counts are held to the data size the room states, in the fourth game as in the
// others: a forged sprite count (no sprite entries follow it) cannot pass.
TEST(Tr4Reader, ARoomCountPastTheRoomsStatedSizeIsRefused) {
  const auto composed = ComposeTR4(SampleTr4Draft());
  auto data = composed.LevelData.Bytes;
  const size_t at = composed.LevelData.Section("room 0 sprite count as stored").Offset;
  const int16_t forged = 0x7FFF;
  std::memcpy(data.data() + at, &forged, 2);
  auto loaded = test::LoadBytes(composed.WithLevelData(data), "ROOM.TR4");
  EXPECT_FALSE(loaded->Result.Loaded);
  const size_t statedAt = composed.LevelData.Section("room 0 NumDataWords").Offset;
  EXPECT_EQ(loaded->FirstMessage().rfind("ROOM.TR4 is damaged: room 0 states ", 0), 0u)
      << loaded->FirstMessage();
  EXPECT_NE(loaded->FirstMessage().find(" data words at byte " + std::to_string(statedAt) +
                                        " of the inflated level data; its geometry takes "),
            std::string::npos)
      << loaded->FirstMessage();
}

// A chunk size forged short or to nothing names the chunk that does not inflate to its stated
// size, not the part after it that its size then puts in the wrong place; texture pages in the
// level data's place are said not to be level data.
TEST(Tr4Reader, AForgedChunkSizeNamesTheChunk) {
  const auto composed = ComposeTR4(SampleTr4Draft());
  auto sizeAt = [&](int chunk) { return composed.ChunkAt[size_t(chunk)] + 4; };
  auto forged = [&](int chunk, uint32_t compressed) {
    auto bytes = composed.Bytes;
    std::memcpy(bytes.data() + sizeAt(chunk), &compressed, 4);
    return test::LoadBytes(bytes, "SIZE.TR4");
  };
  uint32_t levelCompressed, levelStated;
  std::memcpy(&levelCompressed, composed.Bytes.data() + sizeAt(3), 4);
  std::memcpy(&levelStated, composed.Bytes.data() + sizeAt(3) - 4, 4);
  auto loaded = forged(3, levelCompressed - 1);
  EXPECT_FALSE(loaded->Result.Loaded);
  EXPECT_EQ(loaded->Messages.Shown,
            std::vector<std::string>{
                "SIZE.TR4 is damaged: its level data chunk does not inflate to its stated " +
                std::to_string(levelStated) + " bytes: its " +
                std::to_string(levelCompressed - 1) + " compressed bytes give " +
                std::to_string(levelStated) + " and no end of the stream"});

  uint32_t stated16;
  std::memcpy(&stated16, composed.Bytes.data() + sizeAt(1) - 4, 4);
  loaded = forged(1, 0);
  EXPECT_FALSE(loaded->Result.Loaded);
  EXPECT_EQ(loaded->FirstMessage().rfind(
                "SIZE.TR4 is damaged: the 16-bit texture chunk does not inflate to its stated " +
                    std::to_string(stated16) +
                    " bytes: its 0 compressed bytes give 0 before the stream breaks off, so ",
                0),
            0u)
      << loaded->FirstMessage();

  // The 32-bit pages in the level data's place.
  loaded = test::LoadBytes(composed.WithLevelData(test::PageBytes(1, 4)), "SWAP.TR4");
  EXPECT_FALSE(loaded->Result.Loaded);
  EXPECT_EQ(loaded->FirstMessage().rfind(
                "SWAP.TR4 is damaged: its level data chunk is not level data: its 262144 bytes "
                "are a whole number of texture pages and do not read as a level (",
                0),
            0u)
      << loaded->FirstMessage();
}

TEST(Tr4Reader, ChunksInEachOthersPlacesAreTold) {
  // Dark pages as level data: every count in them is 0.
  const auto composed = ComposeTR4(SampleTr4Draft());
  auto loaded =
      test::LoadBytes(composed.WithLevelData(std::vector<uint8_t>(4 * kPagePixels)), "SWAP.TR4");
  EXPECT_FALSE(loaded->Result.Loaded);
  ASSERT_EQ(loaded->Messages.Shown.size(), 1u);
  EXPECT_EQ(loaded->FirstMessage().rfind("SWAP.TR4 is damaged: its level data chunk holds ", 0), 0u)
      << loaded->FirstMessage();

  // Two 16-bit pages read as one 32-bit page, where the header states two.
  Tr4Draft draft = SampleTr4Draft();
  draft.NumRoomTextiles = 2;
  draft.Pages32 = test::PageBytes(2, 4);
  draft.Pages16 = test::PageBytes(2, 2);
  std::swap(draft.Pages32, draft.Pages16);
  loaded = test::LoadBytes(ComposeTR4(draft).Bytes, "SWAP.TR4");
  EXPECT_TRUE(loaded->Result.Loaded);
  EXPECT_EQ(loaded->Messages.Shown,
            std::vector<std::string>{
                "SWAP.TR4's texture pages are damaged; they show as far as they could be read"});
  EXPECT_EQ(loaded->Messages.Details,
            std::vector<std::string>{
                "The 32-bit texture chunk holds 1 page where the header states 2 + 0 + 0 = 2."});
  // The header's bump pages are among the 32-bit ones.
  draft = SampleTr4Draft();
  draft.NumRoomTextiles = 0;
  draft.NumBumpTextiles = 1;
  loaded = test::LoadBytes(ComposeTR4(draft).Bytes, "BUMP.TR4");
  EXPECT_TRUE(loaded->Messages.Shown.empty()) << loaded->FirstMessage();
}

}  // namespace
}  // namespace slab
