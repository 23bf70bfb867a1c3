// Finding one's way around a level: the lists of rooms, lights, cameras and sinks, static
// meshes and sound sources, the map legend (all in the View menu), Ctrl+G for a room by its
// number, + and - on the map for the next and previous room, and a click on the overview.
#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <functional>
#include <optional>
#include <set>
#include <vector>

#include "floordata/object_names.h"
#include "level/document.h"
#include "map/edit_history.h"
#include "map/map_state.h"

class QAction;
class QInputDialog;
class QMainWindow;
class QMenu;

namespace slab {

class MapLegendDock;
class RightViewWidget;
class RoomMapWidget;
class LevelListDock;

class LevelBrowser : public QObject {
  Q_OBJECT
 public:
  // What the window does for the browser: go to a place as its level lists do, and read or set
  // the room list's line (with "Alternate" ticked a line shows the room's alternate).
  struct WindowHooks {
    std::function<void(int room, int a, int b, int entity)> GoTo;
    std::function<int()> RoomRow;
    std::function<void(int row)> ChooseRoomRow;
  };

  // Adds the docks to the window and their entries to the View menu. The document, map state
  // and names are the window's and outlive the browser.
  LevelBrowser(QMainWindow* window, QMenu* viewMenu, RoomMapWidget* map, RightViewWidget* overview,
               const Document& doc, const MapState& state, const ObjectNames& names,
               WindowHooks hooks);

  // Another level (or none) is open: every list is filled anew when it next shows.
  void LevelOpened();
  // After an edit or its undo: the lists that show what that kind of edit changes.
  void LevelEdited(EditKind kind);
  // A static mesh was chosen: its row of the Static meshes list becomes current.
  void MarkStatic(int room, int index);
  // The rooms a shown comparison found changed, marked in the Rooms list; nullopt: none shown.
  void MarkChangedRooms(std::optional<std::vector<int>> rooms);

  enum List { Rooms, Lights, Cameras, Statics, Sounds, kLists };

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddLegendAndGoTo(QMenu& viewMenu);
  void AskForRoom();
  void StepRoom(int step);
  void OverviewClicked(int x, int y);

  QMainWindow* window_;
  RoomMapWidget* map_;
  const Document& doc_;
  const MapState& state_;
  const ObjectNames& names_;
  WindowHooks hooks_;
  std::array<LevelListDock*, kLists> docks_{};
  MapLegendDock* legend_ = nullptr;
  QAction* goToRoom_ = nullptr;
  QPointer<QInputDialog> roomDialog_;
};

}  // namespace slab
