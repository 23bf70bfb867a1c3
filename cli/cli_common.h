// What every command of the command-line tool shares.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "level/document.h"
#include "level/load_level.h"

namespace slab::cli {

// Exit statuses: 0 done, 1 usage error, 2 the file was refused or the job failed.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitFailed = 2;
// diff only: the levels differ. Its usage errors therefore end as kExitFailed, as comparison
// tools have it.
inline constexpr int kExitDifferent = 1;
// check only: the level has errors. Its usage errors end as kExitFailed too.
inline constexpr int kExitErrors = 1;

// The job a subcommand chose, run after the command line has been parsed.
using Job = std::function<int()>;

// Prints each message on its own line on standard error with the file's name in front
// ("lake.tr4: Unknown TR version!"), as a compiler names the file a diagnostic is about; a
// message that already starts with the name keeps its own wording.
class FileMessages : public MessageSink {
 public:
  explicit FileMessages(const std::string& path);
  void Show(std::string_view text, std::string_view title = {}) override;
  // The detail on the same line, after the text ended as a sentence.
  void ShowDetailed(std::string_view text, std::string_view detail) override;
  // The text as Show prints it, for the tool's own messages about the file.
  std::string Prefixed(std::string_view text) const;

 private:
  std::string name_;  // the last part of the path, as the library's messages name files
  std::string path_;  // as given on the command line
};

struct LoadedLevel {
  LoadResult Result;
  Game GameVersion = Game::None;
};

// Loads a level, printing messages to stderr. Empty when the file was refused.
std::optional<LoadedLevel> LoadForCli(const std::string& path, MessageSink& messages);
// The same, as the open document the map and the edit commands work on.
std::optional<Document> LoadDocumentForCli(const std::string& path, MessageSink& messages);

// What a command that reads one level file does with it: the path as given, the loaded level,
// the file's messages and whether --json was given. Returns the exit status.
using LevelJob = std::function<int(const std::string& path, const LoadedLevel& loaded,
                                   MessageSink& messages, bool json)>;

// Adds a command that takes one level FILE and a --json flag; when it is chosen the file is
// loaded and run gets it, and a refused file ends the job as failed.
void AddLevelCommand(CLI::App& app, Job& job, const std::string& name,
                     const std::string& description, const std::string& jsonHelp, LevelJob run);

// Each command adds itself to the app and sets job when it is chosen.
void AddInfoCommand(CLI::App& app, Job& job);
void AddRoundTripCommand(CLI::App& app, Job& job);
// programFolder: where the finisher of fourth-game saves lives.
void AddAddDemoCommand(CLI::App& app, Job& job, const std::string& programFolder);

// programFolder: where "TR4Objects.dat" lives.
void AddSectorCommand(CLI::App& app, Job& job, const std::string& programFolder);
void AddTriggersCommand(CLI::App& app, Job& job, const std::string& programFolder);
void AddListCommand(CLI::App& app, Job& job, const std::string& programFolder);

// programFolder: where the sprite wad "TR3.swd" lives.
void AddConvertCommand(CLI::App& app, Job& job, const std::string& programFolder);
void AddMakeSwdCommand(CLI::App& app, Job& job);

void AddMapCommand(CLI::App& app, Job& job);

// programFolder: where "TR4Objects.dat" lives.
void AddDiffCommand(CLI::App& app, Job& job, const std::string& programFolder);

// What is wrong with a level.
void AddCheckCommand(CLI::App& app, Job& job);

// programFolder: where the finisher of fourth-game saves lives.
void AddRemoveItemCommand(CLI::App& app, Job& job, const std::string& programFolder);

// The folder of the running program.
std::string ProgramFolder(const char* argv0);

}  // namespace slab::cli
