#include "cli/cli_common.h"

#include <filesystem>

namespace slab::cli {

std::string ProgramFolder(const char* argv0) {
  std::error_code ec;
#ifdef __linux__
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.parent_path().string();
#endif
  auto path = std::filesystem::absolute(argv0, ec);
  return path.parent_path().string();
}

std::optional<LoadedLevel> LoadForCli(const std::string& path, MessageSink& messages) {
  LoadedLevel loaded;
  loaded.Result = LoadLevel(path, loaded.GameVersion, messages);
  if (!loaded.Result.Loaded) return std::nullopt;
  return loaded;
}

}  // namespace slab::cli
