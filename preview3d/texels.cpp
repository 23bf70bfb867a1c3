#include "preview3d/texels.h"

#include <algorithm>

#include "level/text.h"

namespace slab {

int ConvertiblePageCount(const Level& level, int gameVersion) {
  size_t texels = 0;
  switch (gameVersion) {
    case 1:
      texels = level.Textile8.size();
      break;
    case 2:
    case 3:
      texels = level.Textile16.size();
      break;
    case 4:
    case 5:
      texels = level.Textile32.size();
      break;
    default:
      return 0;
  }
  const auto pages = static_cast<int64_t>(texels / kPagePixels);
  return static_cast<int>(std::clamp<int64_t>(level.NumTextiles, 0, pages));
}

TextureStrip BuildTextureStrip(const Level& level, int gameVersion, TexelRules rules,
                               TileProgress progress, void* context) {
  TextureStrip strip;
  strip.PageCount = ConvertiblePageCount(level, gameVersion);
  const size_t count = static_cast<size_t>(strip.PageCount) * kPagePixels;
  strip.Texels.assign(count, 0);
  Rgba* out = strip.Texels.data();

  // Row by row across all pages, as the progress counts rows; each row of a page is one run
  // of 256 texels, converted in a plain loop the compiler can keep tight.
  for (size_t y = 0; y < 256; ++y) {
    for (size_t page = 0; page < static_cast<size_t>(strip.PageCount); ++page) {
      const size_t start = page * kPagePixels + y * 256;
      Rgba* row = out + start;
      if (gameVersion == 1) {
        const std::span<const uint8_t, 768> palette(level.Palette);
        const uint8_t* in = level.Textile8.data() + start;
        for (size_t x = 0; x < 256; ++x) row[x] = Texel8(in[x], palette, rules);
      } else if (gameVersion <= 3) {
        const uint16_t* in = level.Textile16.data() + start;
        for (size_t x = 0; x < 256; ++x) row[x] = Texel16(in[x], rules);
      } else {
        const uint32_t* in = level.Textile32.data() + start;
        for (size_t x = 0; x < 256; ++x) row[x] = Texel32(in[x], rules);
      }
    }
    if (progress != nullptr && y % 3 == 0) progress(context, static_cast<int>(y));
  }
  return strip;
}

std::string BuildingTilesCaption(int row) {
  // The row times 100 / 255, rounded down: row 255 reads 100.
  return "Building tiles -" + NumText(static_cast<int64_t>(row) * 100 / 255);
}

}  // namespace slab
