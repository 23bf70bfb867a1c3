// The sprite wad: reading it as the converter needs it, making one from a level, and the
// convert jobs that read it before anything else.
#include "write/sprite_wad.h"

#include <gtest/gtest.h>

#include "tools/compose_tr45.h"
#include "support/real_levels.h"
#include "tools/compose_out.h"
#include "write/convert_tr4.h"
#include "write/jobs.h"

namespace slab {
namespace {

template <typename... T>
std::vector<uint8_t> Words32(T... words) {
  test::Out o;
  o.W32(words...);
  return o.Finish().Bytes;
}

// Every part is kept: the first word, the sprite textures, a page of image, the sequences.
TEST(SpriteWad, EncodesAndParsesBackEveryPart) {
  SpriteWad wad;
  wad.FirstWord = 7;
  SpriteTexture t;
  t.X = 16;
  t.Width = 0x7FF;
  t.BottomSide = -5;
  wad.SpriteTextures = {t, t};
  wad.Image.assign(196608, 0x42);
  wad.SpriteSequences = {{180, -2, 0}};
  const auto bytes = EncodeSpriteWad(wad);
  ASSERT_EQ(bytes.size(), 4 + 4 + 32 + 4 + 196608 + 4 + 8u);
  std::string error;
  auto back = ParseSpriteWad(bytes, error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->FirstWord, 7u);
  EXPECT_EQ(back->Rows(), 256u);  // exactly one page
  ASSERT_EQ(back->SpriteTextures.size(), 2u);
  EXPECT_EQ(back->SpriteTextures[1].BottomSide, -5);
  EXPECT_EQ(EncodeSpriteWad(*back), bytes);
}

TEST(SpriteWad, ADamagedWadGivesNothing) {
  std::string error;
  // A count the file cannot hold is refused before anything is sized by it.
  EXPECT_FALSE(ParseSpriteWad(Words32(0, 0xFFFFFFFF, 0, 0), error));
  EXPECT_NE(error.find("the sprite textures"), std::string::npos) << error;
  EXPECT_FALSE(ParseSpriteWad(Words32(0, 0, 10, 0), error));  // image cut short
  EXPECT_FALSE(ParseSpriteWad(Words32(0, 0, 0), error));      // no sequence count
}

TEST(MakeSpriteWad, TakesTheSpritePagesInOrderOfUse) {
  Level level;
  level.Textile16.assign(3 * kPagePixels, 0);
  level.Textile16[2 * kPagePixels + 1] = 0x8000 | 31 << 10 | 31;  // opaque magenta
  level.Textile16[2 * kPagePixels + 2] = 0xFFFF;
  level.Textile16[0] = 0x8000 | 1 << 10 | 2 << 5 | 3;
  SpriteTexture t;
  t.Tile = 2;
  level.SpriteTextures = {t, t};
  level.SpriteTextures[1].Tile = 0;
  level.SpriteSequences = {{1, -2, 0}};
  std::string error;
  auto wad = MakeSpriteWad(level, Game::TR3, error);
  ASSERT_TRUE(wad) << error;
  EXPECT_EQ(std::make_pair(wad->SpriteTextures[0].Tile, wad->SpriteTextures[1].Tile),
            std::make_pair(uint16_t{0}, uint16_t{1}));
  ASSERT_EQ(wad->Image.size(), 2 * kWadPageBytes);
  const uint8_t* page0 = wad->Image.data();
  EXPECT_EQ((std::vector<uint8_t>(page0, page0 + 3)), (std::vector<uint8_t>{255, 0, 255}));
  // Every pixel comes back as the page word it was made from, the opaque magenta too.
  for (size_t p : {size_t{0}, size_t{1}, size_t{2}})
    EXPECT_EQ(WadPixel16(page0 + 3 * p), level.Textile16[2 * kPagePixels + p]) << p;
  EXPECT_EQ(WadPixel16(page0 + kWadPageBytes), level.Textile16[0]);

  level.SpriteTextures[1].Tile = 3;  // past the pages
  EXPECT_FALSE(MakeSpriteWad(level, Game::TR2, error));
  EXPECT_FALSE(MakeSpriteWad(Level{}, Game::TR4, error));
}

// The wad the build puts beside the programs: one page with an opaque dot, one sprite.
TEST(PlaceholderWad, IsAValidWadOfOnePage) {
  RecordingSink sink;
  auto wad = ReadSpriteWad(SLAB_PLACEHOLDER_SWD, sink);
  ASSERT_TRUE(wad) << sink.Shown[0];
  EXPECT_EQ(wad->Rows(), 256u);
  EXPECT_EQ(wad->SpriteTextures.size(), 1u);
  EXPECT_EQ(WadPixel16(wad->Image.data() + 3 * (31 * 256 + 31)) & 0x8000, 0x8000);
  EXPECT_EQ(WadPixel16(wad->Image.data() + 3 * 255), 0);  // transparent
}

using ConvertJobs = test::TempFolderTest;

// A missing or damaged wad is named under "Can't read SWD" and nothing is written.
TEST_F(ConvertJobs, ARefusalOrAnUnreadableWadWritesNothing) {
  const std::vector<uint8_t> precious{1, 2, 3};
  test::WriteBytes(At("lake.tr2"), precious);
  test::Tr4Draft draft = test::SampleTr4Draft();
  draft.Data.MeshPointers.clear();
  const auto tr4 = test::ComposeTR4(draft).Bytes;
  test::WriteBytes(At("lake.tr4"), tr4);

  RecordingSink noWad;
  EXPECT_FALSE(ConvertJob(At("lake.tr4"), Game::TR2, dir_.string(), noWad));
  ASSERT_EQ(noWad.Shown.size(), 1u);
  EXPECT_EQ(noWad.Shown[0].rfind("Can't read SWD\n", 0), 0u);
  EXPECT_NE(noWad.Shown[0].find("TR3.swd was not found (looked in " + dir_.string() + " and "),
            std::string::npos)
      << noWad.Shown[0];
  EXPECT_EQ(test::ReadFile(At("lake.tr2")), precious);
  test::WriteBytes(At("TR3.swd"), Words32(0, 1));
  RecordingSink damaged;
  EXPECT_FALSE(ConvertJob(At("lake.tr4"), Game::TR2, dir_.string(), damaged));
  ASSERT_EQ(damaged.Shown.size(), 1u);
  EXPECT_EQ(damaged.Shown[0].rfind("Can't read SWD\n", 0), 0u);
  EXPECT_NE(damaged.Shown[0].find("damaged"), std::string::npos);
  EXPECT_EQ(test::ReadFile(At("lake.tr2")), precious);

  // A fourth-game level named like its own output is not replaced by its conversion.
  test::WriteBytes(At("TR3.swd"), EncodeSpriteWad(SpriteWad{}));
  test::WriteBytes(At("odd.tr2"), tr4);
  RecordingSink itself;
  EXPECT_FALSE(ConvertJob(At("odd.tr2"), Game::TR2, dir_.string(), itself));
  EXPECT_EQ(test::ReadFile(At("odd.tr2")), tr4);
  ASSERT_EQ(itself.Shown.size(), 1u);
  EXPECT_NE(itself.Shown[0].find("would replace it"), std::string::npos);
}

}  // namespace
}  // namespace slab
