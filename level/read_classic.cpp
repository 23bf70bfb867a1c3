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
    // A damaged file is told about in the layout it has: the one that read further before it
    // stopped (the wrong one stops at the cameras, reading the palette or the cameras as
    // something else); the usual layout when both stopped at the same place.
    if (firstError && second.Pos() > first.Pos()) throw;
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
