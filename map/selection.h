// Clicks on the map, the room list and the view-mode button: the current room, the
// selected sector and the captions the window shows for them.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "floordata/object_names.h"
#include "floordata/sector_panel.h"
#include "level/document.h"
#include "map/map_state.h"

namespace slab {

// The mouse button of a click and the bits of the shift state held with it (a set of
// ShiftKeyBit), as the window reports them.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftKeyBit : int { kShiftKey = 1, kCtrlKey = 2, kAltKey = 4 };

// The room list's choice and the two labels under it.
struct RoomView {
  int RoomNumber = -1;  // the list index made current
  std::string RoomInfo;
  std::string AltRoom;
};

// "Room 5 -  8* 6-0,0,0": index, second and first sector count, water scheme, reverb and
// alternate group.
std::string RoomInfoCaption(const Level& level, int room);
// "No alternate" or "Alternate: 3".
std::string AltRoomCaption(const Level& level, int room);
// The alternate a room names, if it names one: the files keep -1 for "none", and 255 is how a
// byte-sized field says the same. The number is as stored; it may lie past the level's rooms.
std::optional<int> AlternateOf(const Level& level, int room);
// The room shown for a line of the room list: with alternates shown, the line's alternate
// where it names a room of the level; otherwise the line's own room.
int ShownRoom(const Level& level, int row, bool showAlternates);

// The room list's click: makes the room current and redraws its map. The selected sector
// and the chosen entity belonged to the old room: both are cleared (choosing the current
// room again just wipes the selection). Nothing for -1 or an index past the rooms.
std::optional<RoomView> ChooseRoom(const Document& doc, MapState& state, int listIndex);

// Shows the map with the blue outline along the selected sector's box.
void DrawSelection(MapState& state);

// Draws the current room again from the level (after an edit), keeping the selection and
// its outline.
void RedrawMap(const Document& doc, MapState& state);

// The sector panels for the selected sector, with the item list rebuilt; the item panel
// loses its entity. keepNavigation: the entity "Next Trigger" follows stays (it is that
// command which shows the sector).
std::optional<SectorPanel> ShowSelectedSector(const Document& doc, MapState& state,
                                              const ObjectNames& names,
                                              bool keepNavigation = false);

// What a click on the map led to.
struct MapClick {
  bool SectorChosen = false;                      // left button: a sector was selected
  std::optional<SectorPanel> Panel;               // its panels
  std::optional<std::array<int, 2>> CameraFocus;  // Alt held: (x, z) for the 3D camera
  std::optional<RoomView> Room;                   // another button led to this room
};

// A click at pixel (x, y) of the map. Nothing happens before a level is loaded, outside the
// room's sectors, or (other buttons) on a sector that leads nowhere. The left button selects
// the sector; any other goes through its portal, else to the room below unless a modifier
// key is held, else to the room above.
std::optional<MapClick> SelectSectorAt(const Document& doc, MapState& state,
                                       const ObjectNames& names, int x, int y, MouseButton button,
                                       int shift);
// The same for sector (a, b) of the current room, 0-based, wherever it was pointed at (the
// map, the 3D view).
std::optional<MapClick> SelectSector(const Document& doc, MapState& state, const ObjectNames& names,
                                     int a, int b, MouseButton button, int shift);

// Where a row of a list leads (the level's lists, the differences, the browser): what the
// window shows after going there.
struct PlaceView {
  RoomView Room;              // the room made current
  bool SectorChosen = false;  // the place's sector is selected: the 3D camera turns to it
};

// Goes to room `room`, selects its sector (a, b) where the room has one there, and chooses
// entity `entity` (-1: none); an item chosen so is the one "Next Trigger" follows. Nothing
// before a level is open or for a room the level lacks.
std::optional<PlaceView> GoToPlace(const Document& doc, MapState& state, int room, int a, int b,
                                   int entity);

// The view-mode button's caption for what the right-hand view shows.
const char* ViewModeCaption(RightPane pane);
// The view-mode button: the 3D view and the overview take turns. Returns the new caption.
const char* ToggleViewMode(MapState& state);

// A freshly opened level: forgets the old state, builds the trigger index and shows room 0
// (an empty level leaves the map black).
std::optional<RoomView> ShowOpenedLevel(const Document& doc, MapState& state);

}  // namespace slab
