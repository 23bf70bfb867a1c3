#include "cli/cli_common.h"

#include <filesystem>
#include <iostream>
#include <memory>

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

void FileMessages::ShowDetailed(std::string_view text, std::string_view detail) {
  std::string line(text);
  if (!detail.empty()) {
    if (!line.empty() && std::string_view(".!?:").find(line.back()) == std::string_view::npos)
      line += '.';
    line += ' ';
    line += detail;
  }
  Show(line);
}

std::optional<LoadedLevel> LoadForCli(const std::string& path, MessageSink& messages) {
  LoadedLevel loaded;
  loaded.Result = LoadLevel(path, messages);
  loaded.GameVersion = loaded.Result.DetectedGame.value_or(loaded.GameVersion);
  if (!loaded.Result.Loaded) return std::nullopt;
  return loaded;
}

std::optional<Document> LoadDocumentForCli(const std::string& path, MessageSink& messages) {
  auto loaded = LoadForCli(path, messages);
  if (!loaded) return std::nullopt;
  Document doc;
  doc.CurrentLevel = std::move(loaded->Result.Lvl);
  doc.GameVersion = loaded->GameVersion;
  doc.LevelLoaded = true;
  return doc;
}

void AddLevelCommand(CLI::App& app, Job& job, const std::string& name,
                     const std::string& description, const std::string& jsonHelp, LevelJob run) {
  auto* cmd = app.add_subcommand(name, description);
  auto file = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  cmd->add_option("FILE", *file, "Level file")->required();
  cmd->add_flag("--json", *json, jsonHelp);
  cmd->callback([&job, file, json, run] {
    job = [file, json, run] {
      FileMessages messages(*file);
      const auto loaded = LoadForCli(*file, messages);
      if (!loaded) return kExitFailed;
      return run(*file, *loaded, messages, *json);
    };
  });
}

}  // namespace slab::cli
