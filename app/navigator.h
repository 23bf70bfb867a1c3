// Where the user goes in the level: a click on the room map, a row of a list, a trigger's
// object, the next trigger of an item, a pick in the 3D view. Each asks the core where that is
// and shows it in the rooms list, the panels, the map and the right-hand view.
#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>

#include "floordata/object_names.h"
#include "level/document.h"
#include "map/map_state.h"
#include "map/navigation.h"
#include "map/selection.h"
#include "platform/messages.h"
#include "preview3d/scene_pick.h"

namespace slab {

class FrameLoop;
class ItemsPanel;
class PanelPresenter;
class RightViewDriver;
class RoomMapWidget;
class RoomsPanel;
class StaticMeshesPanel;
class TriggersPanel;

class Navigator : public QObject {
  Q_OBJECT

 public:
  struct Core {
    const Document& Doc;
    MapState& Map;
    const ObjectNames& Names;
    MessageSink& Messages;
  };
  struct Parts {
    PanelPresenter& Presenter;
    RoomMapWidget& RoomMap;
    RoomsPanel& Rooms;
    TriggersPanel& Triggers;
    ItemsPanel& Items;
    StaticMeshesPanel& Statics;
    RightViewDriver& View;
    FrameLoop& Frames;
  };
  // The lists that mark what a 3D pick chose.
  struct Marks {
    std::function<void(int entity)> Entity;
    std::function<void(int room, int index)> Static;
  };
  // Connects the room map, the trigger and item panels' way-finding and the 3D view's picks.
  Navigator(Core core, Parts parts, Marks marks);

  // Where a list row leads: the room chosen, the sector selected, the entity chosen.
  void ShowPlace(int room, int a, int b, int entity);
  // The room of a line of the rooms list.
  void ChooseRoomLine(int row);

 private:
  // The panels, the map and the 3D view after a sector was pointed at.
  void ShowMapClick(const std::optional<MapClick>& click);
  void ShowNavigation(const NavigationView& view);
  void Hover(int x, int y, QPoint globalPosition);
  // A click in the 3D view: the sector, item or static mesh it landed on is chosen.
  void GoToPicked(const PickPlace& place);
  void ItemPicked(int entity);
  void StaticPicked(int room, int index);

  Core core_;
  Parts parts_;
  Marks marks_;
};

}  // namespace slab
