#include "preview3d/texels.h"

#include <algorithm>

#include "level/text.h"

namespace slab {

int ConvertiblePageCount(const Level& level, Game gameVersion) {
  size_t texels = 0;
  switch (gameVersion) {
    case Game::TR1:
      texels = level.Textile8.size();
      break;
    case Game::TR2:
    case Game::TR3:
      texels = level.Textile16.size();
      break;
    case Game::TR4:
    case Game::TR5:
      texels = level.Textile32.size();
      break;
    default:
      return 0;
  }
  const auto pages = static_cast<int64_t>(texels / kPagePixels);
  return static_cast<int>(std::clamp<int64_t>(level.NumTextiles, 0, pages));
}

namespace {

// Row converters, each over one row of 256 texels. Where the compiler can, they are built twice
// and the wider vectors chosen at load time on processors that have them; the 32-bit rule
// then runs at more than twice the speed.
#if defined(__x86_64__) && defined(__linux__) && defined(__GNUC__) && !defined(__clang__)
#define SLAB_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define SLAB_WIDE_VECTORS
#endif

SLAB_WIDE_VECTORS void Row32(const uint32_t* __restrict in, Rgba* __restrict out,
                             TexelRules rules) {
  if (rules == TexelRules::MainWindow) {
    for (size_t x = 0; x < 256; ++x) out[x] = Texel32(in[x], TexelRules::MainWindow);
  } else {
    for (size_t x = 0; x < 256; ++x) out[x] = Texel32(in[x], TexelRules::Viewer);
  }
}

// A table lookup per texel: as fast as the widest arithmetic and needs no special processor.
SLAB_WIDE_VECTORS void RowLookup16(const uint16_t* __restrict in, Rgba* __restrict out,
                                   const Rgba* __restrict table) {
  for (size_t x = 0; x < 256; ++x) out[x] = table[in[x]];
}

SLAB_WIDE_VECTORS void RowLookup8(const uint8_t* __restrict in, Rgba* __restrict out,
                                  const Rgba* __restrict table) {
  for (size_t x = 0; x < 256; ++x) out[x] = table[in[x]];
}

// Every 16-bit word's texel under each rule, made once (256 KiB each).
const std::vector<Rgba>& Texel16Table(TexelRules rules) {
  static const std::array<std::vector<Rgba>, 2> tables = [] {
    std::array<std::vector<Rgba>, 2> t;
    for (TexelRules r : {TexelRules::MainWindow, TexelRules::Viewer}) {
      std::vector<Rgba>& table = t[static_cast<size_t>(r)];
      table.resize(65536);
      for (uint32_t w = 0; w < 65536; ++w) table[w] = Texel16(static_cast<uint16_t>(w), r);
    }
    return t;
  }();
  return tables[static_cast<size_t>(rules)];
}

}  // namespace

TextureStrip BuildTextureStrip(const Level& level, Game gameVersion, TexelRules rules,
                               const TileProgress& progress) {
  TextureStrip strip;
  strip.PageCount = ConvertiblePageCount(level, gameVersion);
  const size_t count = static_cast<size_t>(strip.PageCount) * kPagePixels;
  strip.Texels.resize(count);  // left uninitialised: every texel is written below
  Rgba* out = strip.Texels.data();

  std::array<Rgba, 256> palette{};
  if (gameVersion == Game::TR1) {
    const std::span<const uint8_t, 768> colours(level.Palette);
    for (size_t i = 0; i < 256; ++i) palette[i] = Texel8(static_cast<uint8_t>(i), colours, rules);
  }
  const Rgba* table16 =
      gameVersion == Game::TR2 || gameVersion == Game::TR3 ? Texel16Table(rules).data() : nullptr;

  // Row by row across all pages, as the progress counts rows; each row of a page is one run
  // of 256 texels.
  for (size_t y = 0; y < 256; ++y) {
    for (size_t page = 0; page < static_cast<size_t>(strip.PageCount); ++page) {
      const size_t start = page * kPagePixels + y * 256;
      if (gameVersion == Game::TR1)
        RowLookup8(level.Textile8.data() + start, out + start, palette.data());
      else if (gameVersion <= Game::TR3)
        RowLookup16(level.Textile16.data() + start, out + start, table16);
      else
        Row32(level.Textile32.data() + start, out + start, rules);
    }
    if (progress && y % 3 == 0) progress(static_cast<int>(y));
  }
  return strip;
}

std::string BuildingTilesCaption(int row) {
  // The row times 100 / 255, rounded down: row 255 reads 100.
  return "Building tiles -" + NumText(static_cast<int64_t>(row) * 100 / 255);
}

}  // namespace slab
