#include "app/navigator.h"

#include <QToolTip>
#include <algorithm>
#include <utility>
#include <vector>

#include "app/frame_loop.h"
#include "app/items_panel.h"
#include "app/panel_parts.h"
#include "app/panel_presenter.h"
#include "app/right_view_driver.h"
#include "app/rooms_panel.h"
#include "app/sector_map_widget.h"
#include "app/sector_panels.h"
#include "map/box_outlines.h"
#include "map/edit_commands.h"

namespace slab {

Navigator::Navigator(Core core, Parts parts, Marks marks)
    : core_(core), parts_(parts), marks_(std::move(marks)) {
  connect(&parts_.RoomMap, &RoomMapWidget::MouseDown, this,
          [this](MouseButton button, int shift, int x, int y) {
            ShowMapClick(SelectSectorAt(core_.Doc, core_.Map, core_.Names, x, y, button, shift));
          });
  connect(&parts_.RoomMap, &RoomMapWidget::HoverAt, this, &Navigator::Hover);
  connect(&parts_.Triggers, &TriggersPanel::ObjectSought, this, [this](int triggerLine) {
    if (auto view = GotoObject(core_.Doc, core_.Map, core_.Names, triggerLine))
      ShowNavigation(*view);
  });
  connect(&parts_.Items, &ItemsPanel::NextTriggerClicked, this, [this] {
    if (auto view = ItemNextTrigger(core_.Doc, core_.Map, core_.Names, core_.Messages))
      ShowNavigation(*view);
  });
  connect(&parts_.View, &RightViewDriver::SectorPicked, this, &Navigator::GoToPicked);
  connect(&parts_.View, &RightViewDriver::ItemPicked, this, &Navigator::ItemPicked);
  connect(&parts_.View, &RightViewDriver::StaticPicked, this, &Navigator::StaticPicked);
}

void Navigator::ShowNavigation(const NavigationView& view) {
  parts_.Rooms.Show(view.Room);
  if (core_.Map.SectorSelected)
    parts_.View.SectorChosen(core_.Map.CurrentRoom, core_.Map.SelectedSectorX,
                             core_.Map.SelectedSectorZ);
  parts_.Presenter.Refresh();
  parts_.Presenter.PresentMap();
  parts_.Frames.Request();
}

void Navigator::ShowMapClick(const std::optional<MapClick>& click) {
  if (!click) return;
  if (click->Room) parts_.Rooms.Show(*click->Room);
  parts_.Presenter.Refresh();
  // The 3D camera turns to a sector chosen with the left button (Alt is no longer needed:
  // several desktops take Alt+click for moving windows).
  if (click->SectorChosen)
    parts_.View.SectorChosen(core_.Map.CurrentRoom, core_.Map.SelectedSectorX,
                             core_.Map.SelectedSectorZ);
  parts_.Presenter.PresentMap();
  parts_.Frames.Request();
}

void Navigator::Hover(int x, int y, QPoint globalPosition) {
  const std::string text =
      MapTooltip(core_.Doc, core_.Map, core_.Names, x, y, parts_.Rooms.BoxesShown());
  if (text.empty())
    QToolTip::hideText();
  else
    QToolTip::showText(globalPosition, Q(text), &parts_.RoomMap);
}

void Navigator::ShowPlace(int room, int a, int b, int entity) {
  const std::optional<PlaceView> place = GoToPlace(core_.Doc, core_.Map, room, a, b, entity);
  if (!place) return;
  parts_.Rooms.Show(place->Room);
  if (place->SectorChosen) parts_.View.SectorChosen(room, a, b);
  parts_.Presenter.Refresh();
  parts_.Presenter.PresentMap();
  parts_.Frames.Request();
}

void Navigator::ChooseRoomLine(int row) {
  if (parts_.Presenter.ShowRoomLine(row)) parts_.Frames.Request();
}

void Navigator::GoToPicked(const PickPlace& place) {
  // In the room shown a sector is selected as a click on the map selects it; another room
  // (seen through a door) is chosen first, as a list's row leads there.
  if (place.Room == core_.Map.CurrentRoom && place.SectorX >= 0)
    ShowMapClick(SelectSector(core_.Doc, core_.Map, core_.Names, place.SectorX, place.SectorZ,
                              kLeftButton, 0));
  else
    ShowPlace(place.Room, place.SectorX, place.SectorZ, -1);
}

void Navigator::ItemPicked(int entity) {
  const std::optional<PickPlace> place =
      PlaceOfPick(core_.Doc.CurrentLevel, ScenePick{PickKind::Item, entity});
  if (!place) return;
  marks_.Entity(entity);
  if (place->SectorX >= 0) {
    GoToPicked(*place);
    // Then chosen as a click on its line of the sector's item list chooses it.
    const std::vector<int>& lines = core_.Map.SectorEntities;
    const auto line = std::find(lines.begin(), lines.end(), entity);
    if (line != lines.end()) return parts_.Items.ChooseLine(static_cast<int>(line - lines.begin()));
  }
  // Off the room's sectors no line lists it.
  ShowPlace(place->Room, place->SectorX, place->SectorZ, entity);
}

void Navigator::StaticPicked(int room, int index) {
  const auto place =
      PlaceOfPick(core_.Doc.CurrentLevel, ScenePick{PickKind::Static, -1, room, index});
  if (!place) return;
  GoToPicked(*place);
  // Then chosen as choosing its line of StaticID does, and for Delete.
  if (place->Room == core_.Map.CurrentRoom) {
    parts_.Statics.ChooseStatic(index);
    ChooseStatic(core_.Doc, core_.Map, index);
  }
  marks_.Static(room, index);
}

}  // namespace slab
