#include "app/level_comparison.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <filesystem>

#include "app/differences_dock.h"
#include "app/file_messages.h"
#include "app/main_window.h"
#include "compare/diff_report.h"
#include "compare/diff_view.h"
#include "level/load_level.h"

namespace slab {

LevelComparison::LevelComparison(QMainWindow& window, const Document& doc, const ObjectNames& names,
                                 MessageSink& messages, FileDialog& files)
    : doc_(doc), names_(names), messages_(messages), files_(files) {
  compareWith_ = new QAction("Compare With...", &window);
  compareWith_->setObjectName("Mnu_File_CompareWith");
  compareWithSaved_ = new QAction("Compare With Saved", &window);
  compareWithSaved_->setObjectName("Mnu_File_CompareWithSaved");
  connect(compareWith_, &QAction::triggered, this, [this] { CompareWith(); });
  connect(compareWithSaved_, &QAction::triggered, this, [this] { CompareWithSaved(); });

  dock_ = new DifferencesDock(&window);
  window.addDockWidget(Qt::RightDockWidgetArea, dock_);
  dock_->hide();
  connect(dock_, &DifferencesDock::OutlineChanged, this, &LevelComparison::MapChanged);
  LevelOpened();
}

void LevelComparison::CompareWith() {
  if (!doc_.LevelLoaded) return;
  // The old version usually lies beside the new one.
  const std::optional<FileChoice> choice =
      files_.ShowOpen({kOpenFilter, kCompareWithTitle,
                       std::filesystem::path(doc_.FilePath).parent_path().string()});
  if (!choice || choice->FileName.empty()) return;
  if (auto old = Read(choice->FileName, false)) Start(std::move(*old));
}

void LevelComparison::CompareWithSaved() {
  if (!doc_.LevelLoaded || doc_.FilePath.empty()) return;
  if (auto old = Read(doc_.FilePath, true)) Start(std::move(*old));
}

std::optional<LevelComparison::OldVersion> LevelComparison::Read(const std::string& path,
                                                                 bool saved) {
  // Read under the busy cursor; its messages are shown after it, so the user sees the
  // pointer to answer them. Those that do not name the file get it in their detail.
  RecordingSink heard;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  LoadResult result = LoadLevel(path, heard);
  QApplication::restoreOverrideCursor();
  FileMessages named(messages_, path);
  for (size_t i = 0; i < heard.Shown.size(); ++i) {
    const std::string detail = i < heard.Details.size() ? heard.Details[i] : std::string();
    if (detail.empty())
      named.Show(heard.Shown[i]);
    else
      named.ShowDetailed(heard.Shown[i], detail);
  }
  if (!result.Loaded) return std::nullopt;
  OldVersion old;
  old.Lvl = std::move(result.Lvl);
  old.GameVersion = result.DetectedGame.value_or(Game::None);
  old.Name = std::filesystem::path(path).filename().string();
  old.Path = path;
  old.Saved = saved;
  return old;
}

void LevelComparison::Start(OldVersion old) {
  old_ = std::move(old);
  Compare();
  dock_->show();
  dock_->raise();
}

void LevelComparison::Compare() {
  if (!old_ || !doc_.LevelLoaded) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  diff_ = CompareLevels(old_->Lvl, old_->GameVersion, doc_.CurrentLevel, doc_.GameVersion, names_);
  QApplication::restoreOverrideCursor();
  const std::string against = old_->Saved ? old_->Name + " as last saved" : old_->Name;
  dock_->ShowDiff(diff_, QString::fromStdString("Against " + against + ": " + DiffSummary(diff_)));
}

std::optional<std::vector<int>> LevelComparison::ShownChangedRooms() const {
  if (!old_ || !dock_->toggleViewAction()->isChecked()) return std::nullopt;
  return ChangedRooms(diff_);
}

MapImage LevelComparison::Outlined(const MapImage& shown, int room) const {
  if (!old_ || !dock_->OutlineShown()) return shown;
  const std::vector<SectorSpot> sectors = ChangedSectors(diff_, room);
  if (sectors.empty()) return shown;
  MapImage picture = shown;
  OutlineChangedSectors(picture, sectors);
  return picture;
}

void LevelComparison::LevelOpened() {
  old_.reset();
  diff_ = LevelDiff{};
  dock_->ShowNone(
      "No comparison. File > Compare With... compares the open level with another "
      "level file; Compare With Saved shows the edits since the last save.");
  UpdateActions();
}

void LevelComparison::LevelEdited() { Compare(); }

void LevelComparison::LevelSaved() {
  if (!old_ || !old_->Saved) return;
  // The saved file is the old version from now on: the list empties as the edits are saved.
  if (auto old = Read(doc_.FilePath, true)) {
    old_ = std::move(*old);
    Compare();
  } else {
    LevelOpened();
  }
}

void LevelComparison::UpdateActions() {
  compareWith_->setEnabled(doc_.LevelLoaded);
  compareWithSaved_->setEnabled(doc_.LevelLoaded && !doc_.FilePath.empty());
}

}  // namespace slab
