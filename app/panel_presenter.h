// Copies the core's view models into the panels and the room map: after a command, after the
// selection moved, when a level opened or none is open. It decides nothing the core does not.
#pragma once

#include "floordata/object_names.h"
#include "floordata/sector_panel.h"
#include "level/document.h"
#include "map/item_panel.h"
#include "map/map_state.h"

class QWidget;

namespace slab {

class SectorInfoPanel;
class TriggersPanel;
class DoorsPanel;
class StaticMeshesPanel;
class RoomsPanel;
class ItemsPanel;
class RoomMapWidget;
class LevelComparison;

struct Panels {
  SectorInfoPanel* SectorInfo;
  TriggersPanel* Triggers;
  DoorsPanel* Doors;
  StaticMeshesPanel* Statics;
  RoomsPanel* Rooms;
  ItemsPanel* Items;
};

class PanelPresenter {
 public:
  PanelPresenter(const Document& doc, MapState& map, const ObjectNames& names, Panels panels,
                 RoomMapWidget& roomMap, const LevelComparison& comparison);

  // The sector's panels empty, as with nothing selected.
  void Reset();
  // Every panel from the selection as the level now holds it; the user's own OCB text stays
  // while they type.
  void Refresh(bool keepOcbText = false);
  void ShowItem(const ItemPanelView& view);
  // The room map as the state draws it, with the boxes and the comparison's outlines if shown;
  // the map and the 3D view tell a screen reader what is selected.
  void PresentMap();
  void SetView3D(QWidget* view) { view3d_ = view; }
  // The room of a room list's line chosen; false when there is none.
  bool ShowRoomLine(int row);
  // The panels and the map with no level open.
  void ShowEmpty();
  // The panels and the map of a level just opened, its first room chosen.
  void ShowOpened();

 private:
  void ShowSector(const SectorPanel& panel);

  const Document& doc_;
  MapState& map_;
  const ObjectNames& names_;
  Panels panels_;
  RoomMapWidget& roomMap_;
  const LevelComparison& comparison_;
  QWidget* view3d_ = nullptr;
};

}  // namespace slab
