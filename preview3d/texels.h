// Texture pages as pictures: each version's texels turned into RGBA, black (0, 0, 0) being the
// one transparent colour. Main window and viewer differ in how they keep real black visible.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <span>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "level/level.h"
#include "level/pixel_list.h"

namespace slab {

enum class TexelRules { MainWindow, Viewer };

// A texel as stored in the strip: bytes red, green, blue, alpha in memory. Alpha is 0 for
// the transparent black and 255 otherwise, so the device can discard on either.
using Rgba = uint32_t;

constexpr Rgba PackRgba(uint8_t r, uint8_t g, uint8_t b) {
  if ((r | g | b) == 0) return 0;
  return uint32_t{r} | uint32_t{g} << 8 | uint32_t{b} << 16 | 0xFF000000u;
}

// First game: palette index and the 6-bit palette (768 bytes).
constexpr Rgba Texel8(uint8_t index, std::span<const uint8_t, 768> palette, TexelRules rules) {
  if (index == 0) return 0;
  const uint8_t r = static_cast<uint8_t>(palette[index * 3] * 4);
  const uint8_t g = static_cast<uint8_t>(palette[index * 3 + 1] * 4);
  const uint8_t b = static_cast<uint8_t>(palette[index * 3 + 2] * 4);
  if ((r | g | b) == 0 && rules == TexelRules::MainWindow) return PackRgba(2, 2, 2);
  return PackRgba(r, g, b);
}

// Second and third game: bit 15 opaque, then 5 bits each of red, green, blue.
constexpr Rgba Texel16(uint16_t w, TexelRules rules) {
  const auto r = static_cast<uint8_t>((w & 0x7C00) / 128);
  const auto g = static_cast<uint8_t>((w & 0x3E0) / 4);
  const auto b = static_cast<uint8_t>((w & 0x1F) * 8);
  if (rules == TexelRules::MainWindow) {
    if (w == 0) return 0;
    if (w == 0x8000) return PackRgba(8, 8, 8);
    return PackRgba(r, g, b);
  }
  if ((r | g | b) == 0) return PackRgba(8, 8, 8);
  if ((w & 0x8000) == 0) return 0;
  return PackRgba(r, g, b);
}

// Fourth and fifth game: the 32-bit word holds blue, green, red, alpha from its low byte up.
constexpr Rgba Texel32(uint32_t bgra, TexelRules rules) {
  // Written as selects over whole words so a row converts in vector registers.
  const uint32_t rgb = bgra & 0x00FFFFFFu;
  const uint32_t swapped =
      ((bgra >> 16) & 0xFFu) | (bgra & 0xFF00u) | ((bgra & 0xFFu) << 16) | 0xFF000000u;
  const bool transparent = (bgra & 0xFF000000u) == 0;
  if (rules == TexelRules::MainWindow) {
    const Rgba visible = rgb == 0 ? 0xFF020202u : swapped;
    return transparent ? 0u : visible;
  }
  const Rgba opaque = transparent ? 0u : swapped;
  return rgb == 0 ? 0xFF080808u : opaque;
}

// The texture strip: 256 texels wide, the pages one below the other (page p on rows 256p to
// 256p + 255), which is also each page's own 256 x 256 block in turn.
struct TextureStrip {
  int PageCount = 0;
  std::vector<Rgba, UninitialisedAllocator<Rgba>> Texels;  // PageCount * 65536
  std::span<const Rgba> Page(int page) const {
    return std::span<const Rgba>(Texels).subspan(static_cast<size_t>(page) * kPagePixels,
                                                 kPagePixels);
  }
};

// The number of pages the level's texel lists really hold for its version (NumTextiles, cut
// down to what the list can fill). Versions without texel rules have none.
int ConvertiblePageCount(const Level& level, Game gameVersion);

// Converts every page. progress, when given, is called after rows 0, 3, 6 ... 255 with the
// row number, so a caller can keep its window responsive and show "Building tiles -".
using TileProgress = std::function<void(int row)>;
TextureStrip BuildTextureStrip(const Level& level, Game gameVersion, TexelRules rules,
                               const TileProgress& progress = {});

// The caption shown while the strip is built: "Building tiles -" and 0 to 100.
std::string BuildingTilesCaption(int row);

}  // namespace slab
