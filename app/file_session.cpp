#include "app/file_session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMimeData>
#include <QUrl>
#include <filesystem>
#include <memory>
#include <utility>

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
                        "][*]");
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
  doc_.CurrentLevel = std::move(result.Lvl);
  doc_.TextureTiles = std::move(result.TextureTiles);
  doc_.LevelLoaded = true;
  doc_.FilePath = path;
  doc_.FileTitle = title;
  doc_.Modified = false;
  history_.Clear();
  hooks_.ShowLevel(CaptionProgress(&window_));
  hooks_.Remember(path);
  return true;
}

bool FileSession::OpenPath(const std::string& path) {
  if (!ConfirmDiscard()) return false;
  return Open(path, std::filesystem::path(path).filename().string());
}

void FileSession::OpenChosen() {
  if (!ConfirmDiscard()) return;
  const std::optional<FileChoice> choice = services_.Files.ShowOpen(kOpenFilter);
  if (!choice || choice->FileName.empty()) return;
  Open(choice->FileName, choice->FileTitle);
}

void FileSession::Reload() {
  if (!doc_.LevelLoaded) return hooks_.Status(kNoLevelStatus);
  OpenPath(doc_.FilePath);
}

void FileSession::OpenAdjacent(int step) {
  if (!doc_.LevelLoaded) return hooks_.Status(kNoLevelStatus);
  const auto next = AdjacentLevelFile(doc_.FilePath, step);
  if (!next)
    return hooks_.Status(step < 0 ? "This is the first level of its folder."
                                  : "This is the last level of its folder.");
  OpenPath(next->string());
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
