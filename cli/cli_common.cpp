#include "cli/cli_common.h"

namespace slab::cli {

std::optional<LoadedLevel> LoadForCli(const std::string& path, MessageSink& messages) {
  LoadedLevel loaded;
  loaded.Result = LoadLevel(path, loaded.GameVersion, messages);
  if (!loaded.Result.Loaded) return std::nullopt;
  return loaded;
}

}  // namespace slab::cli
