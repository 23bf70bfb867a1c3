// Writing a file in place of another the way the user expects of a careful editor: through a
// symbolic link to the file it leads to, never over a file the user may not write, keeping
// what the old file was (mode, owner, group), and never leaving a half-written file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "write/save_result.h"

namespace slab {

// What a save to a path would replace.
struct SaveTarget {
  // The path with every symbolic link followed: the file that gets the new content. The path
  // itself when it is no link.
  std::filesystem::path File;
  bool Exists = false;
  // The user may not write it, or it has no write bit at all (which stops root too).
  bool ReadOnly = false;
  // Names the file has besides this one (hard links); they keep the old content.
  uintmax_t OtherNames = 0;
  // Why nothing can be saved there at all (a folder, a missing folder, links that loop);
  // empty when a file can be.
  std::string Problem;
};

SaveTarget InspectSaveTarget(const std::filesystem::path& path);

// Why a save to the target must not go ahead ("it is read-only"), or empty.
std::string SaveRefusal(const SaveTarget& target);

// "NAME has 2 other names (hard links); they will keep the old content." for a file with other
// names that a save may replace, naming it as path does; empty otherwise.
std::string HardLinkNote(const std::filesystem::path& path, const SaveTarget& target);

// Writes bytes to path through a temporary file beside the file it names (a link's target)
// that replaces it only once every byte is on disk: a failed save leaves the old file as it
// was, and a longer old file never keeps bytes past the new end. The new file keeps the old
// one's mode and, where the user may set them, its owner and group. A read-only file is
// refused. The file is on the disk (synced, and on POSIX its folder too) before success is
// reported; a failure names the reason.
SaveResult SaveFileAtomically(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// Writes bytes to a file that must not exist yet, durably: a work file of our own. One that
// will replace an existing file is private until MoveIntoPlace gives it that file's mode.
SaveResult WriteNewFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes,
                        bool replacesExisting);

// Puts the complete file `finished`, which lies in the same folder as the file path names,
// in its place under the same rules as SaveFileAtomically. On failure `finished` is removed
// and the old file is left as it was.
SaveResult MoveIntoPlace(const std::filesystem::path& finished, const std::filesystem::path& path);

}  // namespace slab
