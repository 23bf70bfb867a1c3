#include "write/jobs.h"

#include <filesystem>

#include "level/load_level.h"

namespace slab {

bool AddDemoJob(const std::string& path, MessageSink& messages, const std::string& programFolder,
                ProcessRunner& runner) {
  int gameVersion = kTR2;
  LoadResult loaded = LoadLevel(path, gameVersion, messages);
  // Writing a refused level would replace the file with its bare version word.
  if (!loaded.Loaded) return false;
  std::string error = WriteLevel(path, loaded.Lvl, gameVersion,
                                 std::filesystem::path(path).filename().string(), programFolder,
                                 runner);
  if (!error.empty()) {
    messages.Show(error);
    return false;
  }
  return true;
}

}  // namespace slab
