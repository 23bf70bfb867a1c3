#include "preview3d/texels.h"

#include <gtest/gtest.h>

namespace slab {
namespace {

using R = TexelRules;

std::array<int, 3> Rgb(Rgba c) { return {RedOf(c), GreenOf(c), BlueOf(c)}; }

TEST(Texels, FirstGamePaletteIndexZeroIsTransparentAndBlackEntriesDiffer) {
  std::array<uint8_t, 768> palette{};
  palette[0] = palette[1] = palette[2] = 63;  // entry 0 not black: index 0 still transparent
  palette[3 * 7] = 10;
  palette[3 * 7 + 1] = 20;
  palette[3 * 7 + 2] = 63;
  for (R rules : {R::MainWindow, R::Viewer}) {
    EXPECT_EQ(Texel8(0, palette, rules), 0u);
    EXPECT_EQ(Rgb(Texel8(7, palette, rules)), (std::array{40, 80, 252}));
  }
  // Entry 9 is black: kept visible in the main window, transparent in the viewer.
  EXPECT_EQ(Rgb(Texel8(9, palette, R::MainWindow)), (std::array{2, 2, 2}));
  EXPECT_EQ(Texel8(9, palette, R::Viewer), 0u);
}

// {word, rules, texel}: 0 is the transparent black; every other texel is opaque.
TEST(Texels, SecondAndFourthGameWords) {
  const auto bgra = [](uint32_t b, uint32_t g, uint32_t r, uint32_t a) {
    return b | g << 8 | r << 16 | a << 24;
  };
  const Rgba grey8 = PackRgba(8, 8, 8), white = PackRgba(248, 248, 248);
  for (auto [word, rules, texel] : {std::tuple{0x8000, R::MainWindow, grey8},
                                    {0x8000, R::Viewer, grey8},
                                    {0x0000, R::MainWindow, 0u},
                                    {0x0000, R::Viewer, grey8},
                                    {0x7FFF, R::MainWindow, white},
                                    {0x7FFF, R::Viewer, 0u},
                                    {0xFFFF, R::Viewer, white},
                                    {0x8000 | 0x7C00 | 0x0001, R::MainWindow, PackRgba(248, 0, 8)}})
    EXPECT_EQ(Texel16(static_cast<uint16_t>(word), rules), texel) << word;
  for (auto [word, rules, texel] :
       {std::tuple{bgra(0, 0, 0, 255), R::MainWindow, PackRgba(2, 2, 2)},
        {bgra(0, 0, 0, 255), R::Viewer, grey8},
        {bgra(0, 0, 0, 0), R::MainWindow, 0u},
        {bgra(0, 0, 0, 0), R::Viewer, grey8},
        {bgra(1, 2, 3, 0), R::MainWindow, 0u},
        {bgra(1, 2, 3, 0), R::Viewer, 0u},
        {bgra(1, 2, 3, 128), R::Viewer, PackRgba(3, 2, 1)}})
    EXPECT_EQ(Texel32(word, rules), texel) << word;
}

TEST(Texels, StripPutsPagesBelowEachOtherAndReportsProgress) {
  Level level;
  level.NumTextiles = 2;
  level.Textile16.assign(2 * kPagePixels, 0);
  level.Textile16[kPagePixels + 5 * 256 + 7] = 0xFC00;  // page 1, x 7, y 5
  std::vector<int> rows;
  TextureStrip strip =
      BuildTextureStrip(level, Game::TR2, R::MainWindow, [&rows](int row) { rows.push_back(row); });
  ASSERT_EQ(strip.PageCount, 2);
  EXPECT_EQ(Rgb(strip.Texels[(256 + 5) * 256 + 7]), (std::array{248, 0, 0}));
  EXPECT_EQ(Rgb(strip.Page(1)[5 * 256 + 7]), (std::array{248, 0, 0}));
  ASSERT_EQ(rows.size(), 86u);
  EXPECT_EQ(BuildingTilesCaption(rows.front()), "Building tiles - 0");
  EXPECT_EQ(BuildingTilesCaption(rows.back()), "Building tiles - 100");
}

TEST(Texels, PageCountNeverExceedsTheTexelsThere) {
  Level level;
  level.NumTextiles = 3;  // one page short in the list
  level.Textile32.assign(2 * kPagePixels, 0xFF010203);
  EXPECT_EQ(ConvertiblePageCount(level, Game::TR4), 2);
  EXPECT_EQ(ConvertiblePageCount(level, Game::TexturesOnly), 0);
  level.NumTextiles = 0;
  EXPECT_TRUE(BuildTextureStrip(level, Game::TR4, R::Viewer).Texels.empty());
}

}  // namespace
}  // namespace slab
