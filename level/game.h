// Which game a level belongs to. A file's first word (Level::Version) stands for a game but is
// not it: several words mean one game, and the fourth and fifth game share a word.
#pragma once

#include <ostream>

namespace slab {

enum class Game : int {
  None = 0,  // no level opened yet
  TR1 = 1,
  TR2,
  TR3,
  TR4,
  TR5,
  TexturesOnly = 31,  // the file held textures and no level
};

// The game's number (1-5, 31 for textures only, 0 for none), for what is truly numbered by
// game: the object-name tables and the command-line tool's output.
constexpr int GameNumber(Game game) { return static_cast<int>(game); }

// A game prints as its number, so test names and failure messages read "4", not raw bytes.
inline std::ostream& operator<<(std::ostream& out, Game game) { return out << GameNumber(game); }

}  // namespace slab
