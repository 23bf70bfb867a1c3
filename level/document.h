// The open level and what belongs to it: the program owns one, every test makes its own.
#pragma once

#include <string>
#include <vector>

#include "level/level.h"

namespace slab {

struct Document {
  Level CurrentLevel;
  Game GameVersion = Game::None;  // the open level's game; None before any level
  std::vector<TextureTile> TextureTiles;
  std::string FilePath;   // full path of the open file
  std::string FileTitle;  // its bare name
  bool Modified = false;  // edits not yet saved
  bool LevelLoaded = false;
};

}  // namespace slab
