#include "preview3d/texels.h"

#include <gtest/gtest.h>

namespace slab {
namespace {

using R = TexelRules;

// {texel, rules, expected}: 0 is the transparent black; every other texel is opaque. The main
// window keeps black visible as a near-black, the viewer drops it.
TEST(Texels, EachGamesTexelsUnderBothRules) {
  std::array<uint8_t, 768> palette{};
  palette[0] = palette[1] = palette[2] = 63;  // entry 0 not black: index 0 still transparent
  palette[3 * 7] = 10;
  palette[3 * 7 + 2] = 63;
  for (auto [index, rules, texel] : {std::tuple{0, R::MainWindow, 0u},
                                     {7, R::Viewer, PackRgba(40, 0, 252)},
                                     {9, R::MainWindow, PackRgba(2, 2, 2)},
                                     {9, R::Viewer, 0u}})
    EXPECT_EQ(Texel8(static_cast<uint8_t>(index), palette, rules), texel) << index;
  const Rgba grey8 = PackRgba(8, 8, 8);
  for (auto [word, rules, texel] : {std::tuple{0x8000, R::MainWindow, grey8},
                                    {0x0000, R::MainWindow, 0u},
                                    {0x0000, R::Viewer, grey8},
                                    {0x7FFF, R::Viewer, 0u},
                                    {0x8000 | 0x7C00 | 0x0001, R::MainWindow, PackRgba(248, 0, 8)}})
    EXPECT_EQ(Texel16(static_cast<uint16_t>(word), rules), texel) << word;
  for (auto [bgra, rules, texel] : {std::tuple{0xFF000000u, R::MainWindow, PackRgba(2, 2, 2)},
                                    {0x00030201u, R::Viewer, 0u},
                                    {0x80030201u, R::Viewer, PackRgba(3, 2, 1)}})
    EXPECT_EQ(Texel32(bgra, rules), texel) << bgra;
}

// A strip never holds more pages than the texels there fill.
TEST(Texels, PageCountNeverExceedsTheTexelsThere) {
  Level level;
  level.NumTextiles = 3;  // one page short in the list
  level.Textile32.assign(2 * kPagePixels, 0xFF010203);
  EXPECT_EQ(ConvertiblePageCount(level, 4), 2);
  EXPECT_EQ(BuildTextureStrip(level, 4, R::Viewer).Texels.size(), 2 * kPagePixels);
  EXPECT_EQ(ConvertiblePageCount(level, 31), 0);
  level.NumTextiles = 0;
  EXPECT_TRUE(BuildTextureStrip(level, 4, R::Viewer).Texels.empty());
}

}  // namespace
}  // namespace slab
