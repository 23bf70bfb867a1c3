// The first- to third-game body, in the order level/level_transfer.h gives it, and the two
// places a first-game file may keep its palette.
#include <algorithm>
#include <optional>

#include "level/level_reader.h"
#include "level/level_transfer.h"
#include "level/load_level.h"

namespace slab {

size_t ClassicPagesSize(int32_t numTextiles, Game gameVersion) {
  return static_cast<size_t>(std::max(numTextiles, 0)) * kPagePixels *
         (gameVersion >= Game::TR2 ? 3 : 1);
}

void ReadClassicHeader(ByteCursor& cursor, Level& level, Game gameVersion) {
  LevelReader io(cursor);
  TransferClassicHead(io, level, gameVersion);
}

namespace {

bool IsSixBitPalette(const std::array<uint8_t, 768>& palette) {
  return std::all_of(palette.begin(), palette.end(), [](uint8_t v) { return v < 64; }) &&
         std::any_of(palette.begin(), palette.end(), [](uint8_t v) { return v != 0; });
}

}  // namespace

void ReadClassicRest(ByteCursor& cursor, Level& level, Game gameVersion) {
  auto read = [&](Tr1PaletteLayout layout, ByteCursor& c, Level& out) {
    out.Tr1Palette = layout;
    LevelReader io(c);
    TransferClassicRest(io, out, gameVersion);
  };
  if (gameVersion != Game::TR1) {
    read(Tr1PaletteLayout::AfterLightMap, cursor, level);
    return;
  }
  // First-game files keep their palette in one of two places, and nothing in the file says
  // which: the layout that reads the file exactly to its end wins. The pages read so far are
  // set aside so a second attempt starts from the header alone.
  auto pages = std::move(level.Textile8);
  const Level header = level;
  auto attempt = [&](Tr1PaletteLayout layout, ByteCursor& c, Level& out) {
    out = header;
    read(layout, c, out);
  };
  std::optional<FormatError> firstError;
  ByteCursor first = cursor;
  try {
    attempt(Tr1PaletteLayout::AfterLightMap, first, level);
    if (first.AtEnd()) {
      level.Textile8 = std::move(pages);
      cursor = first;
      return;
    }
  } catch (const FormatError& e) {
    firstError = e;
  }
  Level demoLayout;
  ByteCursor second = cursor;
  try {
    attempt(Tr1PaletteLayout::AfterSpriteSequences, second, demoLayout);
    if (second.AtEnd() || firstError) {
      level = std::move(demoLayout);
      level.Textile8 = std::move(pages);
      cursor = second;
      return;
    }
  } catch (const FormatError&) {
    // A damaged file is told about in the layout it has. Where both stop, the PC-demo layout
    // is the one when what it took for its palette is one: six-bit colour values, not all
    // zero (in the usual layout those bytes are cameras and sound sources).
    if (firstError && IsSixBitPalette(demoLayout.Palette)) throw;
  }
  if (firstError) throw *firstError;
  level.Textile8 = std::move(pages);
  cursor = first;
}

void ReadClassicLevel(ByteCursor& cursor, Level& level, Game gameVersion) {
  LevelReader io(cursor);
  TransferClassicHead(io, level, gameVersion);
  TransferClassicPages(io, level, gameVersion);
  ReadClassicRest(cursor, level, gameVersion);
}

}  // namespace slab
