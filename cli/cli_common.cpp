#include "cli/cli_common.h"

#include <filesystem>
#include <iostream>

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

FileMessages::FileMessages(const std::string& path)
    : name_(std::filesystem::path(path).filename().string()), path_(path) {}

std::string FileMessages::Prefixed(std::string_view text) const {
  for (const std::string& own : {name_, path_})
    if (!own.empty() && text.starts_with(own)) return std::string(text);
  return name_ + ": " + std::string(text);
}

void FileMessages::Show(std::string_view text, std::string_view title) {
  std::string line =
      title.empty() ? std::string(text) : std::string(title) + ": " + std::string(text);
  std::cerr << Prefixed(line) << '\n';
}

std::optional<LoadedLevel> LoadForCli(const std::string& path, MessageSink& messages) {
  LoadedLevel loaded;
  loaded.Result = LoadLevel(path, messages);
  loaded.GameVersion = loaded.Result.DetectedGame.value_or(loaded.GameVersion);
  if (!loaded.Result.Loaded) return std::nullopt;
  return loaded;
}

}  // namespace slab::cli
