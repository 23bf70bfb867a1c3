// Turning a Level back into the bytes of its file, and saving them safely.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "level/level.h"
#include "write/save_result.h"

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

// Writes bytes to path through a temporary file in the same folder that replaces the
// target only once every byte is on disk: a failed save leaves the old file as it was, and
// a longer old file never keeps bytes past the new end. The file is on the disk (synced, and
// on POSIX its folder too) before success is reported; a failure names the reason.
SaveResult SaveFileAtomically(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

}  // namespace slab
