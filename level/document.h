// The open level and what belongs to it: the program owns one, every test makes its own.
#pragma once

#include <string>
#include <vector>

#include "level/level.h"

namespace slab {

struct Document {
  Level CurrentLevel;
  int GameVersion = 0;  // 1-5, 31 after a textures-only file, 0 before any level
  std::vector<TextureTile> TextureTiles;
  std::string FilePath;   // full path of the open file
  std::string FileTitle;  // its bare name
  bool Modified = false;  // edits not yet saved
  bool LevelLoaded = false;
};

}  // namespace slab
