// The fourth-game reader against files composed field by field.
#include <gtest/gtest.h>

#include <cstring>

#include "level/load_level.h"
#include "level/read_tr45.h"
#include "support/compose_tr45.h"

namespace slab {
namespace {

using test::ComposeTR4;
using test::SampleTr4Draft;
using test::Tr4Draft;

struct Read {
  Level Lvl;
  RecordingSink Messages;
  size_t Left = 0;  // bytes the reader did not consume
};

Read ReadTr4(const std::vector<uint8_t>& bytes, std::string_view title = "T.TR4") {
  Read r;
  ByteCursor file(bytes);
  file.Skip(4);
  ReadTR4Level(file, r.Lvl, r.Messages, title);
  r.Left = file.Remaining();
  return r;
}

template <typename T>
std::vector<uint8_t> AsBytes(const T& list, size_t n) {
  auto* p = reinterpret_cast<const uint8_t*>(list.data());
  return std::vector<uint8_t>(p, p + n);
}

TEST(Tr4Reader, ReadsEverySectionOfAComposedFile) {
  Tr4Draft draft = SampleTr4Draft();
  Read r = ReadTr4(ComposeTR4(draft).Bytes);
  const Level& want = draft.Data;
  const Level& got = r.Lvl;
  EXPECT_TRUE(r.Messages.Shown.empty());
  EXPECT_EQ(r.Left, 0u);
  EXPECT_EQ(got.NumMiscTextiles, 2);
  EXPECT_EQ(AsBytes(got.Textile32, draft.Pages32.size()), draft.Pages32);
  EXPECT_EQ(AsBytes(got.Textile16, draft.Pages16.size()), draft.Pages16);
  EXPECT_EQ(AsBytes(got.MiscTextile32, draft.MiscPages.size()), draft.MiscPages);
  EXPECT_EQ(got.Reserved32, want.Reserved32);

  ASSERT_EQ(got.NumRooms, 2);
  for (size_t n = 0; n < 2; ++n) {
    const Room& a = got.Rooms[n];
    const Room& b = want.Rooms[n];
    EXPECT_EQ(a.NumDataWords, b.NumDataWords);
    ASSERT_EQ(a.NumVertices, 4);
    EXPECT_EQ(a.Vertices[3].Attributes, 0x8000);
    EXPECT_EQ(a.Vertices[3].Lighting2, -3);
    EXPECT_EQ(a.Rectangles.at(0).Vertices, b.Rectangles[0].Vertices);
    ASSERT_EQ(a.NumTriangles, 2);
    EXPECT_EQ(a.Triangles[1].Texture, int16_t(0x8007));
    ASSERT_EQ(a.Portals.size(), 1u);
    EXPECT_EQ(a.Portals[0].AdjoiningRoom, 1 - n);
    ASSERT_EQ(a.Sectors.size(), 6u);
    EXPECT_EQ(a.SectorAt(1, 2).Ceiling, 0x81);
    EXPECT_EQ(a.AmbientIntensity1, 0x4040);
    ASSERT_EQ(a.NumLights, 1);
    const RoomLight& light = a.Lights[0];
    EXPECT_EQ(light.Colour, (std::array<uint8_t, 3>{10, 20, 30}));
    EXPECT_EQ(light.LightType, 0x0101);
    EXPECT_EQ(light.CutOff, 4.5f);
    EXPECT_EQ(light.DX, 0x3F800000);
    EXPECT_EQ(a.StaticMeshes.at(0).ObjectID, 3);
    EXPECT_EQ(a.Flags, 0x40 + int(n));
    EXPECT_EQ(a.AlternateGroup, 3);
  }
  EXPECT_EQ(got.FloorData, want.FloorData);
  EXPECT_EQ(got.NumMeshData, 3);
  EXPECT_EQ(got.Animations[1].LateralSpeed[1], 8);
  EXPECT_EQ(got.AnimCommands, want.AnimCommands);
  EXPECT_EQ(got.Frames, want.Frames);
  ASSERT_EQ(got.NumMoveables, 2);
  EXPECT_EQ(got.Moveables[1].FrameOffset, 10);
  EXPECT_EQ(got.Moveables[1].Animation, 1);
  EXPECT_EQ(got.StaticMeshDefs[0].Flags, 2);
  EXPECT_EQ(got.SpriteTextures[1].Width, 0x1234);
  EXPECT_EQ(got.FlybyCameras[1].Bytes[39], 0x77);
  EXPECT_EQ(got.Boxes[1].TrueFloor, -512);
  EXPECT_EQ(got.Overlaps, want.Overlaps);
  EXPECT_EQ(got.Zones.size(), 20u);
  EXPECT_EQ(got.AnimatedTextures, want.AnimatedTextures);
  EXPECT_EQ(got.AnimatedTexturesUVCount, 2);
  ASSERT_EQ(got.NumObjectTextures, 1);
  EXPECT_EQ(got.ObjectTextures[0].Corners[2].YPixel, 63);
  EXPECT_EQ(got.ObjectTextures[0].UVOrigin[7], 8);
  EXPECT_EQ(got.ObjectTextures[0].Height, 63);
  ASSERT_EQ(got.NumItems, 2);
  EXPECT_EQ(got.Items[1].OCB, -5);
  EXPECT_EQ(got.AIObjects[0].Angle, 90);
  EXPECT_TRUE(got.DemoData.empty());
  EXPECT_EQ(got.SoundMap, want.SoundMap);
  EXPECT_EQ(got.SoundDetails[0].Bytes[7], 8);
  EXPECT_EQ(got.SampleIndices, want.SampleIndices);
  ASSERT_EQ(got.NumSamples, 2);
  EXPECT_EQ(got.Samples[1].UncompressedSize, 20);
  EXPECT_EQ(got.Samples[1].Data, want.Samples[1].Data);
  EXPECT_TRUE(got.TrailingBlock.empty());

  // Tile 0x8003 is page 3; 192 + 63 still lies within the page, 193 + 63 does not.
  RecordingSink messages;
  int gameVersion = 0;
  auto result = LoadLevelFromBytes(ComposeTR4(draft).Bytes, "a.tr4", gameVersion, messages);
  ASSERT_TRUE(result.Loaded);
  ASSERT_EQ(result.TextureTiles.size(), 1u);
  EXPECT_EQ(result.TextureTiles[0].Page, 3);
  EXPECT_EQ(result.TextureTiles[0].X, 192);
  for (auto& corner : draft.Data.ObjectTextures[0].Corners) corner.XPixel = 193;
  result = LoadLevelFromBytes(ComposeTR4(draft).Bytes, "a.tr4", gameVersion, messages);
  EXPECT_FALSE(result.Loaded);
  EXPECT_EQ(messages.Shown,
            std::vector<std::string>{"ConvertTR5TextInfo -> ObjectTexture 0 invalid"});
}

TEST(Tr4Reader, PageCountsComeFromTheInflatedSizes) {
  Tr4Draft draft = SampleTr4Draft();
  draft.Pages32 = test::PageBytes(4, 4);  // 1048576 bytes
  draft.Pages16 = test::PageBytes(4, 2);
  Read r = ReadTr4(ComposeTR4(draft).Bytes);
  EXPECT_EQ(r.Lvl.NumTextiles, 4);
  EXPECT_EQ(r.Lvl.Textile16.size(), 4 * kPagePixels);

  // Sizes that are not whole pages: the count rounds, the lists hold all that inflated.
  draft.Pages32 = test::PageBytes(1.25, 4);
  draft.Pages16 = test::PageBytes(1.75, 2);
  draft.MiscPages = test::PageBytes(1.6, 4);
  r = ReadTr4(ComposeTR4(draft).Bytes);
  EXPECT_TRUE(r.Messages.Shown.empty());
  EXPECT_EQ(r.Lvl.NumTextiles, 1);
  EXPECT_EQ(AsBytes(r.Lvl.Textile32, draft.Pages32.size()), draft.Pages32);
  EXPECT_EQ(r.Lvl.NumMiscTextiles, 2);
  EXPECT_EQ(AsBytes(r.Lvl.MiscTextile32, draft.MiscPages.size()), draft.MiscPages);
}

TEST(Tr4Reader, DemoBytesAndEmptySoundListsAreConsumedExactly) {
  Level data = SampleTr4Draft().Data;
  data.SoundDetails.clear();
  data.SampleIndices.clear();
  data.NumDemoData = 6;  // not a multiple of 4
  data.DemoData = {0x04030201, 0x0605};
  auto bytes = test::Tr4LevelData(data, false).Bytes;
  Level got;
  ByteCursor cursor(bytes);
  ReadTR4LevelData(cursor, got, false);
  EXPECT_TRUE(cursor.AtEnd());
  EXPECT_EQ(got.NumDemoData, 6);
  EXPECT_EQ(got.DemoData, (std::vector<int32_t>{0x04030201, 0x0605}));
  EXPECT_EQ(got.SoundMap, data.SoundMap);
}

TEST(Tr4Reader, AddOnFileHoldsItsSoundMapLengthInTheDemoSlot) {
  Tr4Draft draft = SampleTr4Draft();
  draft.Data.SoundMap.assign(2048, 0);
  draft.Data.SoundMap[2047] = 99;
  draft.AddOn = test::AddOnBlock(64);
  Read r = ReadTr4(ComposeTR4(draft).Bytes);
  EXPECT_EQ(r.Left, 0u);
  EXPECT_TRUE(r.Lvl.DemoData.empty());
  ASSERT_EQ(r.Lvl.SoundMap.size(), 2048u);
  EXPECT_EQ(r.Lvl.SoundMap[2047], 99);
  EXPECT_EQ(r.Lvl.TrailingBlock, draft.AddOn);

  // Trailing bytes that are no add-on block leave the ordinary layout in force; they are
  // reported, once, with how many.
  Tr4Draft plain = SampleTr4Draft();
  auto ordinary = ComposeTR4(plain).Bytes;
  ordinary.insert(ordinary.end(), {'N', 'G', 1, 2, 3, 4, 5, 6, 7, 8, 9});
  r = ReadTr4(ordinary);
  EXPECT_EQ(r.Lvl.SoundMap, plain.Data.SoundMap);
  EXPECT_TRUE(r.Lvl.TrailingBlock.empty());
  EXPECT_EQ(r.Messages.Shown,
            std::vector<std::string>{"T.TR4 has 11 bytes after its samples; they "
                                     "are not part of the level and are left out"});
}

// Bytes after the level data's six closing bytes are reported once; the level opens.
TEST(Tr4Reader, BytesAfterTheLevelDataAreReported) {
  const auto composed = ComposeTR4(SampleTr4Draft());
  auto longer = composed.LevelData.Bytes;
  longer.insert(longer.end(), 10, 0);
  RecordingSink messages;
  int gameVersion = 0;
  EXPECT_TRUE(
      LoadLevelFromBytes(composed.WithLevelData(longer), "dir/LONG.TR4", gameVersion, messages)
          .Loaded);
  EXPECT_EQ(messages.Shown, std::vector<std::string>{
                                "LONG.TR4 has 10 bytes after the last section of its level data; "
                                "they are not part of the level and are left out"});
}

}  // namespace
}  // namespace slab
