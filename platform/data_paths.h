// Where the programs find the files they ship with. A portable folder (the build folder, an
// unpacked Windows folder) keeps them beside the programs; an installed tree keeps the data
// under share/slabwright and the finisher under libexec/slabwright. Both are looked for
// relative to the program's own folder, never at a path fixed when building, so an installed
// tree still works after it is moved.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace slab {

enum class ShippedKind { Data, Finisher };

// The installed folders relative to the programs' folder ("../share/slabwright" and
// "../libexec/slabwright" for the usual layout).
std::filesystem::path InstalledFolder(ShippedKind kind);

// The folders looked in, in order: the program's folder, then the installed one (unless the
// layout installs everything beside the programs).
std::vector<std::filesystem::path> ShippedFolders(const std::filesystem::path& programFolder,
                                                  ShippedKind kind);

struct ShippedFile {
  std::filesystem::path Path;  // where it was found, else where it belongs beside the program
  bool Found = false;
  std::vector<std::filesystem::path> LookedIn;
};

ShippedFile FindShippedFile(const std::filesystem::path& programFolder, const std::string& name,
                            ShippedKind kind);

// "A and B": the folders looked in, for a message about a missing file.
std::string LookedInText(const ShippedFile& file);

}  // namespace slab
