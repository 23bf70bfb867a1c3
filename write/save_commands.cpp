#include "write/save_commands.h"

#include <filesystem>

#include "platform/data_paths.h"
#include "write/write_level.h"

namespace slab {

namespace {

constexpr const char* kTr5Refused = "TR5 levels can't be saved at the moment!";

SaveResult Failed(const std::string& path, const std::string& reason) {
  return SaveResult::Failed(std::filesystem::path(path).filename().string() +
                            " could not be saved: " + reason + ".");
}

}  // namespace

namespace {

#ifdef _WIN32
constexpr const char* kFinisherName = "RKV.exe";
#else
constexpr const char* kFinisherName = "RKV";
#endif

ShippedFile FindFinisher(const std::string& programFolder) {
  return FindShippedFile(programFolder, kFinisherName, ShippedKind::Finisher);
}

}  // namespace

std::string FinisherPath(const std::string& programFolder) {
  return FindFinisher(programFolder).Path.string();
}

SaveResult WriteLevel(const std::string& path, const Level& level, Game gameVersion,
                      const std::string& title, const std::string& programFolder,
                      ProcessRunner& runner) {
  if (path.empty()) return SaveResult::Failed("No level is open: there is nothing to save.");
  if (gameVersion < Game::TR1 || gameVersion > Game::TR4) {
    if (gameVersion == Game::TR5) return SaveResult::Failed(kTr5Refused);
    return Failed(path, "no level of a known game version is open");
  }
  if (gameVersion != Game::TR4) {
    SaveResult saved = SaveFileAtomically(path, EncodeClassicLevel(level, gameVersion));
    return saved.Ok() ? saved : Failed(path, saved.Reason());
  }

  // The finisher turns the intermediate file into the level in place. It works on a copy
  // beside the target, so the level on disk is replaced only by a finished file.
  namespace fs = std::filesystem;
  fs::path target(path);
  fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string workTitle =
      "." + (title.empty() ? target.filename().string() : title) + ".unfinished";
  fs::path work = folder / workTitle;
  SaveResult written = SaveFileAtomically(work, EncodeTR4Intermediate(level));
  if (!written.Ok()) return Failed(path, written.Reason());
  const ShippedFile found = FindFinisher(programFolder);
  std::string finisher = found.Path.string();
  int status = runner.Run(finisher, {"TR4", workTitle}, folder.string());
  std::error_code ec;
  if (status != 0) {
    fs::remove(work, ec);
    if (status < 0 && !found.Found)
      return Failed(path, std::string("the finisher ") + kFinisherName +
                              " was not found (looked in " + LookedInText(found) + ")");
    return Failed(path, status < 0 ? "the finisher " + finisher + " could not be started"
                                   : "the finisher " + finisher + " failed (status " +
                                         std::to_string(status) + ")");
  }
  fs::rename(work, target, ec);
  if (ec) {
    fs::remove(work, ec);
    return Failed(path, "it cannot be replaced (" + ec.message() + ")");
  }
  return SaveResult::Done();
}

bool SaveCommand(Document& document, MessageSink& messages, const std::string& programFolder,
                 ProcessRunner& runner) {
  if (document.GameVersion == Game::TR5) {
    messages.Show(kTr5Refused);
    return false;
  }
  if (!document.LevelLoaded || document.FilePath.empty()) {
    messages.Show("No level is open: there is nothing to save.");
    return false;
  }
  SaveResult saved = WriteLevel(document.FilePath, document.CurrentLevel, document.GameVersion,
                                document.FileTitle, programFolder, runner);
  if (!saved.Ok()) {
    messages.Show(saved.Reason());
    return false;
  }
  document.Modified = false;
  messages.Show("Project saved");
  return true;
}

bool SaveAsCommand(Document& document, FileDialog& dialog, MessageSink& messages,
                   const std::string& programFolder, ProcessRunner& runner) {
  if (document.GameVersion == Game::TR5) {
    messages.Show(kTr5Refused);
    return false;
  }
  if (!document.LevelLoaded) {
    messages.Show("No level is open: there is nothing to save.");
    return false;
  }
  auto choice = dialog.ShowSave(kSaveFilter);
  if (!choice || choice->FileName.empty()) return false;
  // The new name is kept only once the level is there, so a failed save leaves Save
  // pointing at the file the user still has.
  SaveResult saved = WriteLevel(choice->FileName, document.CurrentLevel, document.GameVersion,
                                choice->FileTitle, programFolder, runner);
  if (!saved.Ok()) {
    messages.Show(saved.Reason());
    return false;
  }
  document.FilePath = choice->FileName;
  document.FileTitle = choice->FileTitle;
  document.Modified = false;
  messages.Show("Project saved");
  return true;
}

}  // namespace slab
