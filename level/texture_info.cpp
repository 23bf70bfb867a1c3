#include "level/texture_info.h"

#include <algorithm>

#include "level/text.h"

namespace slab {

namespace {

// The top-left texel of a three-cornered area: the smallest pixels of corners 1-3.
void SmallestOfFirstThree(const ObjectTexture& texture, uint8_t& x, uint8_t& y) {
  x = 255;
  y = 255;
  for (int n = 0; n < 3; ++n) {
    x = std::min(x, texture.Corners[n].XPixel);
    y = std::min(y, texture.Corners[n].YPixel);
  }
}

}  // namespace

std::vector<TextureTile> ConvertTextInfo(std::span<const ObjectTexture> objectTextures,
                                         int32_t numObjectTextures, MessageSink& messages,
                                         std::optional<size_t> firstRecordAt) {
  size_t count = std::min<size_t>(objectTextures.size(),
                                  static_cast<size_t>(std::max<int32_t>(numObjectTextures, 0)));
  std::vector<TextureTile> tiles(count);
  int64_t firstReported = -1;
  int64_t reported = 0;
  for (size_t i = 0; i < count; ++i) {
    const ObjectTexture& texture = objectTextures[i];
    TextureTile& tile = tiles[i];
    const auto& c = texture.Corners;
    bool triangle =
        c[3].XCoordinate == 0 && c[3].XPixel == 0 && c[3].YCoordinate == 0 && c[3].YPixel == 0;
    if (triangle) {
      SmallestOfFirstThree(texture, tile.X, tile.Y);
    } else {
      bool againstFlag;
      if (c[0].XCoordinate == 255) {
        tile.X = c[1].XPixel;
        againstFlag = c[0].XPixel < c[1].XPixel;
      } else {
        tile.X = c[0].XPixel;
        againstFlag = c[1].XPixel < c[0].XPixel;
      }
      tile.Y = c[0].YCoordinate == 255 ? c[3].YPixel : c[0].YPixel;
      if (againstFlag) {
        if (firstReported < 0) firstReported = static_cast<int64_t>(i);
        ++reported;
      }
    }
    tile.Page = static_cast<int16_t>(texture.Tile);
  }
  // Tool-made levels trip this for hundreds of textures; one box per load keeps them usable.
  if (reported > 0) {
    std::string text = "ConvertTextInfo -> Error reading texture" + NumText(firstReported);
    if (reported > 1) text += "\n(and " + std::to_string(reported - 1) + " more textures like it)";
    if (firstRecordAt) {
      // Every first- to third-game object texture is a record of 20 bytes.
      const size_t at = *firstRecordAt + static_cast<size_t>(firstReported) * 20;
      messages.ShowDetailed(text, "Texture" + NumText(firstReported) +
                                      " is the record at byte " + std::to_string(at) +
                                      "; its corners' X pixels run against its side flag.");
    } else {
      messages.Show(text);
    }
  }
  return tiles;
}

std::vector<TextureTile> ConvertTR5TextInfo(const Level& level, MessageSink& messages) {
  const size_t count = level.ObjectTextures.size();
  std::vector<TextureTile> tiles(count);
  for (size_t i = 0; i < count; ++i) {
    const ObjectTexture& texture = level.ObjectTextures[i];
    TextureTile& tile = tiles[i];
    SmallestOfFirstThree(texture, tile.X, tile.Y);
    // The original engine's compiler stores Width and Height as 0-255; today's compilers
    // store them in another form (32-bit floats), which says nothing about the area.
    bool byteSized =
        texture.Width >= 0 && texture.Width <= 255 && texture.Height >= 0 && texture.Height <= 255;
    if (byteSized && (tile.X + texture.Width > 255 || tile.Y + texture.Height > 255)) {
      std::string text =
          "ConvertTR5TextInfo -> ObjectTexture" + NumText(static_cast<int64_t>(i)) + " invalid";
      messages.Show(text);
      throw TextureAreaError(text);
    }
    tile.Page = static_cast<int16_t>(texture.Tile & 0x7FFF);
  }
  return tiles;
}

}  // namespace slab
