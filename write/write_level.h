// Turning a Level back into the bytes of its file; save_file.h saves them safely.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "level/level.h"
#include "write/save_file.h"

namespace slab {

// Where a part of a written file starts, for telling the user where two files differ.
struct FileSection {
  std::string Name;  // "room 3", "the floor data"...
  size_t Offset = 0;
};

// The whole file of a first-, second- or third-game level, in the layout its reader reads.
// With sections, also where each part starts, in file order.
std::vector<uint8_t> EncodeClassicLevel(const Level& level, Game gameVersion,
                                        std::vector<FileSection>* sections = nullptr);

// The fourth-game intermediate file: chunks uncompressed, each behind a single size word,
// for the finisher to compress.
std::vector<uint8_t> EncodeTR4Intermediate(const Level& level);

}  // namespace slab
