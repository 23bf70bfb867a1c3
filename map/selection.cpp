#include "map/selection.h"

#include "floordata/walkers.h"
#include "level/text.h"
#include "map/draw_room.h"
#include "map/level_tables.h"
#include "map/trigger_index.h"

namespace slab {
namespace {

bool RoomExists(const Level& level, int room) {
  return room >= 0 && static_cast<size_t>(room) < level.Rooms.size();
}

}  // namespace

std::string RoomInfoCaption(const Level& level, int room) {
  if (!RoomExists(level, room)) return "Room" + NumText(room);
  const Room& r = level.Rooms[room];
  return "Room" + NumText(room) + " - " + NumText(r.NumZSectors) + "*" + NumText(r.NumXSectors) +
         "-" + std::to_string(r.WaterScheme) + "," + std::to_string(r.ReverbInfo) + "," +
         std::to_string(r.AlternateGroup);
}

std::string AltRoomCaption(const Level& level, int room) {
  const std::optional<int> alternate = AlternateOf(level, room);
  return alternate ? "Alternate:" + NumText(*alternate) : "No alternate";
}

std::optional<int> AlternateOf(const Level& level, int room) {
  if (!RoomExists(level, room)) return std::nullopt;
  return AlternateOf(level.Rooms[static_cast<size_t>(room)]);
}

int ShownRoom(const Level& level, int row, bool showAlternates) {
  if (!showAlternates) return row;
  const std::optional<int> alternate = AlternateOf(level, row);
  return alternate && RoomExists(level, *alternate) ? *alternate : row;
}

std::optional<RoomView> ChooseRoom(const Document& doc, MapState& state, int listIndex) {
  if (!RoomExists(doc.CurrentLevel, listIndex)) return std::nullopt;
  SelectRoom(doc, state, listIndex);
  state.SectorEntities.clear();
  state.SelectedEntity = -1;
  state.SelectedStatic = -1;
  return RoomView{listIndex, RoomInfoCaption(doc.CurrentLevel, listIndex),
                  AltRoomCaption(doc.CurrentLevel, listIndex)};
}

void DrawSelection(MapState& state) {
  state.Shown = state.Map;
  state.SectorSelected = true;
  const int left = kSectorPixels * state.SelectedSectorZ - 1, right = left + kSectorPixels;
  const int top = kSectorPixels * state.SelectedSectorX - 1, bottom = top + kSectorPixels;
  state.Shown.SetOutlineColour(map_colour::kSelection);
  state.Shown.DrawLine(left, top, right, top);
  state.Shown.DrawLine(left, bottom, right, bottom);
  state.Shown.DrawLine(left, top, left, bottom);
  state.Shown.DrawLine(right, top, right, bottom);
}

void RedrawMap(const Document& doc, MapState& state) {
  state.Map = DrawRoom(doc.CurrentLevel, doc.GameVersion, state.CurrentRoom);
  if (state.SectorSelected)
    DrawSelection(state);
  else
    state.Shown = state.Map;
}

std::optional<SectorPanel> ShowSelectedSector(const Document& doc, MapState& state,
                                              const ObjectNames& names, bool keepNavigation) {
  auto panel = ShowSector(doc.CurrentLevel, doc.GameVersion, names, state.CurrentRoom,
                          state.SelectedSectorX, state.SelectedSectorZ, true, true);
  if (!panel) return panel;
  if (panel->Items) {
    state.SectorEntities = panel->Items->Entities;
    if (panel->Items->ResetNavigationEntity && !keepNavigation) state.NavigationEntity = -1;
  }
  state.SelectedEntity = -1;
  state.SelectedStatic = -1;
  return panel;
}

std::optional<MapClick> SelectSectorAt(const Document& doc, MapState& state,
                                       const ObjectNames& names, int x, int y, MouseButton button,
                                       int shift) {
  // The table numbers sectors from 1; 0 is outside the room.
  const int a = state.Table.XAt(x, y), b = state.Table.ZAt(x, y);
  if (a == 0 || b == 0) return std::nullopt;
  return SelectSector(doc, state, names, a - 1, b - 1, button, shift);
}

std::optional<MapClick> SelectSector(const Document& doc, MapState& state, const ObjectNames& names,
                                     int a, int b, MouseButton button, int shift) {
  if (!doc.LevelLoaded) return std::nullopt;
  const Level& level = doc.CurrentLevel;
  if (!RoomExists(level, state.CurrentRoom)) return std::nullopt;
  const Room& room = level.Rooms[state.CurrentRoom];
  if (!room.HasSector(a, b)) return std::nullopt;

  MapClick click;
  if (button == kLeftButton) {
    state.SelectedSectorX = a;
    state.SelectedSectorZ = b;
    DrawSelection(state);
    click.SectorChosen = true;
    click.Panel = ShowSelectedSector(doc, state, names);
    if (shift & kAltKey) click.CameraFocus = std::array<int, 2>{a, b};
    return click;
  }

  const Sector& sector = room.SectorAt(a, b);
  int target = GetDoor(level, sector.FDIndex);
  if (target == -1 && sector.RoomBelow != kNoRoom && shift == 0) target = sector.RoomBelow;
  if (target == -1 && sector.RoomAbove != kNoRoom) target = sector.RoomAbove;
  if (target == -1) return std::nullopt;
  click.Room = ChooseRoom(doc, state, target);
  if (!click.Room) return std::nullopt;
  return click;
}

std::optional<PlaceView> GoToPlace(const Document& doc, MapState& state, int room, int a, int b,
                                   int entity) {
  if (!doc.LevelLoaded) return std::nullopt;
  std::optional<RoomView> view = ChooseRoom(doc, state, room);
  if (!view) return std::nullopt;
  PlaceView place{std::move(*view)};
  if (doc.CurrentLevel.Rooms[static_cast<size_t>(room)].HasSector(a, b)) {
    state.SelectedSectorX = a;
    state.SelectedSectorZ = b;
    DrawSelection(state);
    place.SectorChosen = true;
  }
  state.SelectedEntity = entity;
  if (entity >= 0 && static_cast<size_t>(entity) < doc.CurrentLevel.Items.size()) {
    state.NavigationEntity = entity;
    state.NavigationPosition = 0;
  }
  return place;
}

const char* ViewModeCaption(RightPane pane) {
  return pane == RightPane::Room3D ? kViewMode2D : kViewMode3D;
}

const char* ToggleViewMode(MapState& state) {
  state.ViewMode = state.ViewMode == RightPane::Room3D ? RightPane::Overview : RightPane::Room3D;
  return ViewModeCaption(state.ViewMode);
}

std::optional<RoomView> ShowOpenedLevel(const Document& doc, MapState& state) {
  // The view mode belongs to the window, not to the level.
  const RightPane viewMode = state.ViewMode;
  state = MapState{};
  state.ViewMode = viewMode;
  state.Triggers = BuildTriggerIndex(doc.CurrentLevel);
  if (auto view = ChooseRoom(doc, state, 0)) return view;
  SelectRoom(doc, state, 0);
  return std::nullopt;
}

}  // namespace slab
