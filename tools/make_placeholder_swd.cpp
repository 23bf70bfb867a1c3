// Writes the placeholder sprite wad shipped as "TR3.swd". Without the game's own sprites it
// can only prove the format: one page, transparent but for a round 64 x 64 dot in its
// top-left corner, one sprite texture showing that dot, and no sprite sequences. Users make
// a real wad from a third-game level with `slabwright-cli make-swd`.
#include <cmath>
#include <iostream>

#include "write/sprite_wad.h"
#include "write/write_level.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_placeholder_swd OUT.swd\n";
    return 1;
  }
  slab::SpriteWad wad;
  wad.Image.resize(slab::kWadPageBytes);
  for (size_t p = 0; p < 256 * 256; ++p) {
    const int x = static_cast<int>(p % 256), y = static_cast<int>(p / 256);
    const double r = std::hypot(x - 31.5, y - 31.5);
    uint8_t* rgb = wad.Image.data() + p * 3;
    if (x < 64 && y < 64 && r < 30) {
      const uint8_t shade = r < 26 ? 224 : 96;  // a light dot with a dark rim
      rgb[0] = rgb[1] = rgb[2] = shade;
    } else {
      rgb[0] = 255;  // the transparency key
      rgb[1] = 0;
      rgb[2] = 255;
    }
  }
  slab::SpriteTexture dot;
  dot.Tile = 0;
  dot.X = 0;
  dot.Y = 0;
  dot.Width = 64 * 256 - 1;  // the older games store pixels x 256 - 1
  dot.Height = 64 * 256 - 1;
  dot.LeftSide = -128;
  dot.TopSide = -128;
  dot.RightSide = 128;
  dot.BottomSide = 128;
  wad.SpriteTextures.push_back(dot);
  slab::SaveResult saved = slab::SaveFileAtomically(argv[1], slab::EncodeSpriteWad(wad));
  if (!saved.Ok()) {
    std::cerr << argv[1] << " could not be written: " << saved.Reason() << "\n";
    return 1;
  }
  return 0;
}
