#include "app/panel_presenter.h"

#include "app/items_panel.h"
#include "app/level_comparison.h"
#include "app/panel_parts.h"
#include "app/rooms_panel.h"
#include "app/sector_map_widget.h"
#include "app/sector_panels.h"
#include "map/box_outlines.h"
#include "map/entity.h"
#include "map/item_edits.h"
#include "map/place_texts.h"
#include "map/selection.h"
#include "map/selection_description.h"
#include "map/static_edits.h"

namespace slab {

PanelPresenter::PanelPresenter(const Document& doc, MapState& map, const ObjectNames& names,
                               Panels panels, RoomMapWidget& roomMap,
                               const LevelComparison& comparison)
    : doc_(doc),
      map_(map),
      names_(names),
      panels_(panels),
      roomMap_(roomMap),
      comparison_(comparison) {}

void PanelPresenter::Reset() {
  panels_.SectorInfo->Reset();
  panels_.Triggers->Reset();
  panels_.Doors->Reset();
  panels_.Statics->Reset();
  panels_.Items->Reset();
}

void PanelPresenter::ShowSector(const SectorPanel& panel) {
  panels_.SectorInfo->Show(panel.Sectors);
  panels_.Doors->Show(panel.Doors);
  panels_.Triggers->Show(panel.Triggers);
  if (panel.Items) panels_.Items->ShowSectorItems(*panel.Items);
  if (panel.Statics)
    panels_.Statics->Show(
        *panel.Statics, SectorStatics(doc_.CurrentLevel, doc_.GameVersion, names_, map_.CurrentRoom,
                                      map_.SelectedSectorX, map_.SelectedSectorZ));
}

void PanelPresenter::ShowItem(const ItemPanelView& view) {
  // Point the type list at the entity's type, where the list holds it.
  const auto ref = FindEntity(doc_.CurrentLevel, map_.SelectedEntity);
  const int row = !ref ? -1
                       : TypeListRow(doc_.CurrentLevel, map_.AllItems,
                                     ref.ItemRecord ? ref.ItemRecord->ObjectID : ref.AI->ObjectID);
  panels_.Items->Show(view, PlaceOfEntity(doc_.CurrentLevel, map_.SelectedEntity), row);
}

void PanelPresenter::Refresh(bool keepOcbText) {
  const int entity = map_.SelectedEntity;
  if (map_.SectorSelected) {
    if (auto panel = ShowSelectedSector(doc_, map_, names_, true)) ShowSector(*panel);
  } else {
    Reset();
    map_.SectorEntities.clear();
  }
  // The chosen entity stays chosen (a moved item may have left the sector), and its line is
  // marked where the sector lists it.
  map_.SelectedEntity = entity;
  int line = -1;
  for (size_t i = 0; i < map_.SectorEntities.size(); ++i)
    if (map_.SectorEntities[i] == entity) line = static_cast<int>(i);
  panels_.Items->MarkLine(line);
  const QString typed = panels_.Items->OcbText();
  if (auto view = ItemPanelFor(doc_, map_)) {
    ShowItem(*view);
    // "-" reads 0 but is the start of "-5".
    if (keepOcbText) panels_.Items->KeepOcbText(typed);
  } else {
    map_.SelectedEntity = -1;
    panels_.Items->Clear();
  }
}

void PanelPresenter::PresentMap() {
  const MapImage shown = doc_.LevelLoaded && panels_.Rooms->BoxesShown()
                             ? MapWithBoxes(doc_.CurrentLevel, doc_.GameVersion, map_)
                             : map_.Shown;
  roomMap_.SetMap(comparison_.Outlined(shown, map_.CurrentRoom));
  std::optional<GridCell> sector;
  if (map_.SectorSelected) sector = GridCell{map_.SelectedSectorX, map_.SelectedSectorZ};
  const QString selected =
      doc_.LevelLoaded ? Q(SelectionDescription(doc_.CurrentLevel, map_.CurrentRoom, sector))
                       : QString("No level open");
  roomMap_.setAccessibleDescription(selected);
  if (view3d_ != nullptr) view3d_->setAccessibleDescription(selected);
}

bool PanelPresenter::ShowRoomLine(int row) {
  const std::optional<RoomView> view =
      ChooseRoom(doc_, map_, ShownRoom(doc_.CurrentLevel, row, panels_.Rooms->AlternatesShown()));
  if (!view) return false;
  panels_.Rooms->Show(RoomView{row, view->RoomInfo, view->AltRoom});
  Refresh();
  PresentMap();
  return true;
}

void PanelPresenter::ShowEmpty() {
  panels_.Rooms->Reset();
  panels_.Items->ShowTypes({}, false);
  panels_.Statics->ShowChoices({});
  Reset();
  PresentMap();
}

void PanelPresenter::ShowOpened() {
  Reset();
  const std::optional<RoomView> roomView = ShowOpenedLevel(doc_, map_);
  panels_.Rooms->ShowRooms(doc_.CurrentLevel.Rooms.size());
  if (roomView) panels_.Rooms->Show(*roomView);
  PresentMap();
  panels_.SectorInfo->ShowCaptionsFor(doc_.GameVersion);
  panels_.Items->ShowTypes(ObjectTypeList(doc_.CurrentLevel, doc_.GameVersion, names_, false),
                           false);
  panels_.Statics->ShowChoices(StaticMeshChoices(doc_.CurrentLevel, doc_.GameVersion, names_));
  panels_.Rooms->MarkLine(0);
  if (panels_.Rooms->AlternatesShown() && ShownRoom(doc_.CurrentLevel, 0, true) != 0)
    ShowRoomLine(0);
}

}  // namespace slab
