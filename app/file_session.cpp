#include "app/file_session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMimeData>
#include <QUrl>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "app/file_messages.h"
#include "app/level_files.h"
#include "level/load_level.h"
#include "map/edit_commands.h"
#include "write/save_commands.h"

namespace slab {
namespace {

// The busy cursor lasts while a level loads, but never over a message: the user has to see
// the pointer to answer it.
class BusyCursor : public MessageSink {
 public:
  explicit BusyCursor(MessageSink& messages) : messages_(messages) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~BusyCursor() override { End(); }
  void End() {
    if (busy_) QApplication::restoreOverrideCursor();
    busy_ = false;
  }
  void Show(std::string_view text, std::string_view title) override {
    End();
    messages_.Show(text, title);
  }
  void ShowDetailed(std::string_view text, std::string_view detail) override {
    End();
    messages_.ShowDetailed(text, detail);
  }
  Answer Ask(std::string_view text, std::string_view title) override {
    End();
    return messages_.Ask(text, title);
  }
  Answer AskDiscard(std::string_view text) override {
    End();
    return messages_.AskDiscard(text);
  }
  void Beep() override { messages_.Beep(); }

 private:
  MessageSink& messages_;
  bool busy_ = true;
};

// The caption tells how far the texture tiles are while they are built. Each showing costs a
// round trip to the window system, so it is shown at most every 50 ms: a fast build shows
// nothing, a slow one its progress.
TileProgress CaptionProgress(QWidget* window) {
  auto shown = std::make_shared<QElapsedTimer>();
  return [window, shown](int row) {
    if (row == 0) return shown->start();
    if (shown->elapsed() < 50) return;
    shown->restart();
    window->setWindowTitle(QString::fromStdString(BuildingTilesCaption(row)));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };
}

}  // namespace

void ShowDocumentTitle(QWidget& window, const Document& doc) {
  if (!doc.LevelLoaded) {
    window.setWindowModified(false);
    window.setWindowTitle(kWindowTitle);
    return;
  }
  window.setWindowTitle(QString(kWindowTitle) + " [" + QString::fromStdString(doc.FileTitle) +
                        "]" + (doc.CurrentLevel.Encrypted ? " (encrypted)" : "") + "[*]");
  window.setWindowModified(doc.Modified);
}

std::optional<std::string> DraggedFile(const QMimeData& data) {
  const QList<QUrl> urls = data.urls();
  if (urls.size() != 1 || !urls[0].isLocalFile()) return std::nullopt;
  return urls[0].toLocalFile().toStdString();
}

FileSession::FileSession(QMainWindow& window, Document& doc, EditHistory& history,
                         DemoRecorder& recorder, const WindowServices& services, Hooks hooks)
    : window_(window),
      doc_(doc),
      history_(history),
      recorder_(recorder),
      services_(services),
      hooks_(std::move(hooks)) {}

bool FileSession::Open(const std::string& path, const std::string& title) {
  // A new level ends a recording made for the old one.
  recorder_ = DemoRecorder{};
  lastPath_ = path;
  // Messages that do not say which file they are about get its name under their text.
  FileMessages aboutFile(services_.Messages, path);
  BusyCursor busy(aboutFile);
  LoadResult result = LoadLevel(path, busy);
  doc_.GameVersion = result.DetectedGame.value_or(doc_.GameVersion);
  if (!result.Loaded) {
    // Nothing of a refused file is kept: there is no level, so nothing can be saved over it.
    busy.End();
    hooks_.ShowNoLevel();
    return false;
  }
  Adopt(std::move(result), path, title);
  return true;
}

void FileSession::Adopt(LoadResult result, const std::string& path, const std::string& title) {
  doc_.GameVersion = result.DetectedGame.value_or(doc_.GameVersion);
  const std::string note = std::move(result.Note);
  doc_.CurrentLevel = std::move(result.Lvl);
  doc_.TextureTiles = std::move(result.TextureTiles);
  doc_.LevelLoaded = true;
  doc_.FilePath = path;
  doc_.FileTitle = title;
  doc_.Modified = false;
  history_.Clear();
  hooks_.ShowLevel(CaptionProgress(&window_));
  hooks_.Remember(path);
  if (!note.empty()) hooks_.Status(note);
}

bool FileSession::OpenPath(const std::string& path) {
  if (!ConfirmDiscard()) return false;
  return Open(path, std::filesystem::path(path).filename().string());
}

void FileSession::OpenChosen() {
  if (!ConfirmDiscard()) return;
  // The next level to open usually lies beside the one open.
  const std::string folder =
      doc_.LevelLoaded ? std::filesystem::path(doc_.FilePath).parent_path().string() : "";
  const std::optional<FileChoice> choice = services_.Files.ShowOpen({kOpenFilter, "", folder});
  if (!choice || choice->FileName.empty()) return;
  Open(choice->FileName, choice->FileTitle);
}

bool FileSession::Reload() {
  if (!doc_.LevelLoaded) {
    hooks_.Status(kNoLevelStatus);
    return false;
  }
  if (doc_.Modified && services_.Messages.Confirm(kReloadQuestion, {}, "Reload") != Answer::Yes)
    return false;
  const std::string path = doc_.FilePath, title = doc_.FileTitle;
  return Open(path, title);
}

namespace {

// "Skipped lake-enc.tr4, which cannot be read: Unknown TR version!" or, for several,
// "Skipped 2 files that cannot be read: a.tr4, b.tr2".
std::string SkippedText(const std::vector<std::pair<std::string, std::string>>& skipped) {
  if (skipped.size() == 1)
    return "Skipped " + skipped[0].first + ", which cannot be read" +
           (skipped[0].second.empty() ? std::string(".") : ": " + skipped[0].second);
  std::string names;
  for (const auto& [name, reason] : skipped) names += (names.empty() ? "" : ", ") + name;
  return "Skipped " + std::to_string(skipped.size()) + " files that cannot be read: " + names;
}

}  // namespace

void FileSession::OpenAdjacent(int step) {
  // After a refused file the folder is still the one the user is going through.
  const std::string from = doc_.LevelLoaded ? doc_.FilePath : lastPath_;
  if (from.empty()) return hooks_.Status(kNoLevelStatus);
  const std::string atEnd =
      step < 0 ? "This is the first level of its folder." : "This is the last level of its folder.";
  const std::vector<std::filesystem::path> beyond = LevelFilesBeyond(from, step);
  if (beyond.empty()) return hooks_.Status(atEnd);
  std::vector<std::pair<std::string, std::string>> skipped;  // name, why
  for (const std::filesystem::path& path : beyond) {
    // A file that is not a level is not worth a box each: the status bar names them all.
    RecordingSink heard;
    LoadResult result;
    {
      BusyCursor busy(heard);
      result = LoadLevel(path, heard);
    }
    const std::string name = path.filename().string();
    if (!result.Loaded) {
      skipped.emplace_back(name, heard.Shown.empty() ? std::string() : heard.Shown.front());
      continue;
    }
    // Asked only now: with nothing readable beyond, the open level and its changes just stay.
    if (!ConfirmDiscard()) return;
    recorder_ = DemoRecorder{};
    lastPath_ = path.string();
    Adopt(std::move(result), path.string(), name);
    // What reading said about the level now open is shown as Open shows it.
    FileMessages aboutFile(services_.Messages, path.string());
    for (size_t i = 0; i < heard.Shown.size(); ++i) {
      if (heard.Details[i].empty())
        aboutFile.Show(heard.Shown[i]);
      else
        aboutFile.ShowDetailed(heard.Shown[i], heard.Details[i]);
    }
    if (!skipped.empty()) hooks_.Status(SkippedText(skipped));
    return;
  }
  // Nothing beyond can be read: the level open stays open.
  hooks_.Status(std::string(step < 0 ? "No level before this one can be read. "
                                     : "No level after this one can be read. ") +
                SkippedText(skipped));
}

namespace {

// Save or Save As of `doc` through the services.
bool SaveDocument(Document& doc, bool saveAs, const WindowServices& services) {
  return saveAs ? SaveAsCommand(doc, services.Files, services.Messages, services.ProgramFolder,
                                services.Processes)
                : SaveCommand(doc, services.Messages, services.ProgramFolder, services.Processes);
}

}  // namespace

bool FileSession::Save(bool saveAs) {
  if (!doc_.LevelLoaded) {
    hooks_.Status(kNoLevelStatus);
    return false;
  }
  if (!hooks_.ConfirmSave()) return false;
  bool saved = false;
  if (recorder_.DemoRecording) {
    // The file gets the demo as Stop would finish it; the recording itself goes on.
    Document finished;
    finished.CurrentLevel = FinishedDemoCopy(recorder_, doc_.CurrentLevel);
    finished.GameVersion = doc_.GameVersion;
    finished.FilePath = doc_.FilePath;
    finished.FileTitle = doc_.FileTitle;
    finished.Modified = true;
    finished.LevelLoaded = doc_.LevelLoaded;
    saved = SaveDocument(finished, saveAs, services_);
    doc_.FilePath = finished.FilePath;
    doc_.FileTitle = finished.FileTitle;
  } else {
    saved = SaveDocument(doc_, saveAs, services_);
    // The file now holds the level as it stands: undoing back to here is unmodified again.
    if (saved) history_.MarkSaved();
  }
  if (saved) hooks_.Saved();
  if (saved && saveAs) hooks_.Remember(doc_.FilePath);
  ShowDocumentTitle(window_, doc_);
  return saved;
}

bool FileSession::ConfirmDiscard() {
  if (!doc_.Modified) return true;
  // Changes that no save can keep are kept or dropped, never offered a save that refuses.
  const std::string refusal = LevelSaveRefusal(doc_);
  if (!refusal.empty())
    return services_.Messages.AskDiscard(refusal + " Discard the changes to " + doc_.FileTitle +
                                         "?") == Answer::No;
  switch (services_.Messages.Ask(kUnsavedQuestion)) {
    case Answer::Yes:
      return Save(false);  // a failed save keeps the changes open
    case Answer::No:
      return true;
    case Answer::Cancel:
      return false;
  }
  return false;
}

}  // namespace slab
