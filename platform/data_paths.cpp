#include "platform/data_paths.h"

#include <system_error>

#ifndef SLAB_DATA_FROM_BIN
#define SLAB_DATA_FROM_BIN "../share/slabwright"
#endif
#ifndef SLAB_LIBEXEC_FROM_BIN
#define SLAB_LIBEXEC_FROM_BIN "../libexec/slabwright"
#endif

namespace slab {
namespace fs = std::filesystem;

fs::path InstalledFolder(ShippedKind kind) {
  return kind == ShippedKind::Data ? SLAB_DATA_FROM_BIN : SLAB_LIBEXEC_FROM_BIN;
}

namespace {

// Normalised so that messages show "/usr/share/slabwright", not "/usr/bin/../share/...".
fs::path Normal(const fs::path& path) {
  fs::path normal = path.lexically_normal();
  return normal.has_filename() || !normal.has_parent_path() ? normal : normal.parent_path();
}

}  // namespace

std::vector<fs::path> ShippedFolders(const fs::path& programFolder, ShippedKind kind) {
  const fs::path installed = Normal(programFolder / InstalledFolder(kind));
  // A portable layout (Windows) installs everything beside the programs: one place only.
  if (installed == Normal(programFolder)) return {programFolder};
  return {programFolder, installed};
}

ShippedFile FindShippedFile(const fs::path& programFolder, const std::string& name,
                            ShippedKind kind) {
  ShippedFile file;
  file.LookedIn = ShippedFolders(programFolder, kind);
  for (const fs::path& folder : file.LookedIn) {
    std::error_code error;
    if (fs::is_regular_file(folder / name, error)) {
      file.Path = folder / name;
      file.Found = true;
      return file;
    }
  }
  file.Path = programFolder / name;
  return file;
}

std::string LookedInText(const ShippedFile& file) {
  std::string text;
  for (size_t i = 0; i < file.LookedIn.size(); ++i) {
    if (i > 0) text += i + 1 == file.LookedIn.size() ? " and " : ", ";
    text += file.LookedIn[i].empty() ? std::string(".") : file.LookedIn[i].string();
  }
  return text;
}

}  // namespace slab
