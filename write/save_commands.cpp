#include "write/save_commands.h"

#include <filesystem>
#include <random>

#include "platform/data_paths.h"
#include "write/save_file.h"
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

SaveResult WriteLevel(const std::string& path, const Level& level, Game gameVersion,
                      const std::string& title, const std::string& programFolder,
                      ProcessRunner& runner) {
  if (path.empty()) return SaveResult::Failed("No level is open: there is nothing to save.");
  if (level.Encrypted) return SaveResult::Failed(kEncryptedRefusal);
  if (gameVersion < Game::TR1 || gameVersion > Game::TR4) {
    if (gameVersion == Game::TR5) return SaveResult::Failed(kTr5Refused);
    return Failed(path, "no level of a known game version is open");
  }
  const SaveTarget target = InspectSaveTarget(path);
  if (const std::string refusal = SaveRefusal(target); !refusal.empty())
    return Failed(path, refusal);
  if (gameVersion != Game::TR4) {
    SaveResult saved = SaveFileAtomically(path, EncodeClassicLevel(level, gameVersion));
    return saved.Ok() ? saved : Failed(path, saved.Reason());
  }

  // The finisher turns the intermediate file into the level in place. It works on a copy of
  // our own beside the file being replaced (a link's target), so that file is replaced only
  // by a finished one. The copy's name is new each time: a copy a crash left behind neither
  // blocks the save nor gets written through.
  namespace fs = std::filesystem;
  const fs::path folder = target.File.has_parent_path() ? target.File.parent_path() : ".";
  const std::string base = "." + (title.empty() ? target.File.filename().string() : title) + ".";
  std::random_device random;
  std::string workTitle;
  std::error_code ec;
  for (int attempt = 0; attempt < 100; ++attempt) {
    workTitle = base + std::to_string(random() % 1000000) + ".unfinished";
    if (!fs::exists(fs::symlink_status(folder / workTitle, ec))) break;
  }
  const fs::path work = folder / workTitle;
  SaveResult written = WriteNewFile(work, EncodeTR4Intermediate(level), target.Exists);
  if (!written.Ok()) return Failed(path, written.Reason());
  const ShippedFile found = FindFinisher(programFolder);
  std::string finisher = found.Path.string();
  int status = runner.Run(finisher, {"TR4", workTitle}, folder.string());
  if (status != 0) {
    fs::remove(work, ec);
    if (status < 0 && !found.Found)
      return Failed(path, std::string("the finisher ") + kFinisherName +
                              " was not found (looked in " + LookedInText(found) + ")");
    return Failed(path, status < 0 ? "the finisher " + finisher + " could not be started"
                                   : "the finisher " + finisher + " failed (status " +
                                         std::to_string(status) + ")");
  }
  SaveResult placed = MoveIntoPlace(work, path);
  return placed.Ok() ? placed : Failed(path, placed.Reason());
}

namespace {

constexpr const char* kSaveAsWayOut = "Save As saves the level under another name.";

// Whether a save may replace the file at path. A read-only file is refused with the way out;
// a file with other names is replaced only when the user agrees that those keep the old
// content: writing it in place would reach them, but a crash halfway would leave every name
// with half a level.
bool MaySaveOver(const std::string& path, MessageSink& messages) {
  const SaveTarget target = InspectSaveTarget(path);
  if (target.Problem.empty() && target.ReadOnly) {
    messages.ShowDetailed(Failed(path, SaveRefusal(target)).Reason(), kSaveAsWayOut);
    return false;
  }
  const std::string note = HardLinkNote(path, target);
  return note.empty() || messages.Ask(note + " Save anyway?") == Answer::Yes;
}

// The extension of the level's own game, for a name chosen without one: Open and the
// previous/next level keys look for level files by their extension.
std::string LevelExtension(Game game) {
  switch (game) {
    case Game::TR1:
      return ".phd";
    case Game::TR4:
      return ".tr4";
    case Game::TR5:
      return ".trc";
    default:
      return ".tr2";
  }
}

}  // namespace

bool SaveCommand(Document& document, MessageSink& messages, const std::string& programFolder,
                 ProcessRunner& runner) {
  if (const std::string refusal = LevelSaveRefusal(document); !refusal.empty()) {
    messages.Show(refusal);
    return false;
  }
  if (!document.LevelLoaded || document.FilePath.empty()) {
    messages.Show("No level is open: there is nothing to save.");
    return false;
  }
  if (!MaySaveOver(document.FilePath, messages)) return false;
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
  if (const std::string refusal = LevelSaveRefusal(document); !refusal.empty()) {
    messages.Show(refusal);
    return false;
  }
  if (!document.LevelLoaded) {
    messages.Show("No level is open: there is nothing to save.");
    return false;
  }
  // The dialog starts at the open file, its name proposed: a new name is often a small change.
  auto choice =
      dialog.ShowSave({document.GameVersion == Game::TR1 ? kSaveFilterFirstGame : kSaveFilter, "",
                       document.FilePath});
  if (!choice || choice->FileName.empty()) return false;
  namespace fs = std::filesystem;
  const std::string extension = fs::path(choice->FileName).extension().string();
  if (extension.empty() || extension == ".") {
    if (extension == ".") choice->FileName.pop_back();
    choice->FileName += LevelExtension(document.GameVersion);
    choice->FileTitle = fs::path(choice->FileName).filename().string();
    // The dialog asked about replacing the name as typed, not this one.
    std::error_code ec;
    if (fs::exists(fs::symlink_status(choice->FileName, ec)) &&
        messages.Ask(choice->FileTitle + " already exists. Replace it?") != Answer::Yes)
      return false;
  }
  if (!MaySaveOver(choice->FileName, messages)) return false;
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

std::string LevelSaveRefusal(const Document& document) {
  if (document.CurrentLevel.Encrypted) return kEncryptedRefusal;
  return document.GameVersion == Game::TR5 ? kTr5Refused : "";
}

}  // namespace slab
