// File > Compare With... and Compare With Saved: the open level (the new version) against a
// level file or its own file as last saved (the old one). The old level stays in memory, so
// the differences follow every edit until another level is opened.
#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "compare/level_diff.h"
#include "floordata/object_names.h"
#include "level/document.h"
#include "map/map_image.h"
#include "platform/file_dialog.h"
#include "platform/messages.h"

class QAction;
class QMainWindow;

namespace slab {

class DifferencesDock;

class LevelComparison : public QObject {
  Q_OBJECT
 public:
  // Adds the "Differences" dock to the window's right side, closed; the dock and the menu
  // entries are the window's children. The document and the names are the window's and
  // outlive this.
  LevelComparison(QMainWindow& window, const Document& doc, const ObjectNames& names,
                  MessageSink& messages, FileDialog& files);

  QAction* CompareWithAction() const { return compareWith_; }
  QAction* CompareWithSavedAction() const { return compareWithSaved_; }
  DifferencesDock* Dock() const { return dock_; }

  // The menu commands. A file that cannot be read is named in its message and changes nothing.
  void CompareWith();
  void CompareWithSaved();

  const LevelDiff& Diff() const { return diff_; }

  // The rooms with a change while the dock shows a comparison; nothing otherwise.
  std::optional<std::vector<int>> ShownChangedRooms() const;
  // The shown picture of room `room`, its changed sectors outlined while the dock shows them.
  MapImage Outlined(const MapImage& shown, int room) const;

  // Another level was opened, or none is: the comparison ends.
  void LevelOpened();
  // The open level changed: compared again with the same old version.
  void LevelEdited();
  // The open level was saved: a comparison with the saved file reads the file again.
  void LevelSaved();
  // The menu entries are enabled as the open level allows.
  void UpdateActions();

 signals:
  // The outline on the map changed (so did ShownChangedRooms): the window shows the map again.
  void MapChanged();

 private:
  struct OldVersion {
    Level Lvl;
    Game GameVersion = Game::None;
    std::string Name;  // the file's name as the summary gives it
    std::string Path;
    bool Saved = false;  // the open level's own file
  };
  // Reads the old version; a refusal is shown, naming the file, and gives nothing.
  std::optional<OldVersion> Read(const std::string& path, bool saved);
  void Start(OldVersion old);
  void Compare();

  const Document& doc_;
  const ObjectNames& names_;
  MessageSink& messages_;
  FileDialog& files_;
  QAction* compareWith_ = nullptr;
  QAction* compareWithSaved_ = nullptr;
  DifferencesDock* dock_ = nullptr;
  std::optional<OldVersion> old_;
  LevelDiff diff_;
};

}  // namespace slab
