#include "preview3d/texels.h"

#include <gtest/gtest.h>

namespace slab {
namespace {

using R = TexelRules;

// Texel 0 is the transparent black in the main window whatever the palette holds; the
// viewer keeps it visible, as it drops black instead.
TEST(Texels, TheTransparentBlackOfEachRule) {
  std::array<uint8_t, 768> palette{};
  palette[0] = palette[1] = palette[2] = 63;  // entry 0 not black: index 0 still transparent
  EXPECT_EQ(Texel8(0, palette, R::MainWindow), 0u);
  EXPECT_EQ(Texel8(9, palette, R::Viewer), 0u);  // entry 9 is black
  EXPECT_EQ(Texel16(0x0000, R::MainWindow), 0u);
  EXPECT_NE(Texel16(0x0000, R::Viewer), 0u);
  EXPECT_EQ(Texel16(0x8000 | 0x7C00 | 0x0001, R::MainWindow), PackRgba(248, 0, 8));
  EXPECT_EQ(Texel32(0x80030201u, R::Viewer), PackRgba(3, 2, 1));
}

// A strip never holds more pages than the texels there fill.
TEST(Texels, PageCountNeverExceedsTheTexelsThere) {
  Level level;
  level.NumTextiles = 3;  // one page short in the list
  level.Textile32.assign(2 * kPagePixels, 0xFF010203);
  EXPECT_EQ(ConvertiblePageCount(level, Game::TR4), 2);
  EXPECT_EQ(BuildTextureStrip(level, Game::TR4, R::Viewer).Texels.size(), 2 * kPagePixels);
  EXPECT_EQ(ConvertiblePageCount(level, Game::TexturesOnly), 0);
  level.NumTextiles = 0;
  EXPECT_TRUE(BuildTextureStrip(level, Game::TR4, R::Viewer).Texels.empty());
}

}  // namespace
}  // namespace slab
