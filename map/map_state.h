// What the main window keeps about the map and the item panel, without any toolkit: the
// room shown, the selected sector and entity, the trigger index with the navigation
// position, the map pictures and the pixel-to-sector table. The program owns one; every
// test makes its own.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "floordata/sector_panel.h"
#include "map/map_image.h"

namespace slab {

// A sector whose floor data triggers an item: room and 0-based grid coordinates.
struct TriggerLocation {
  int Room = 0;
  int X = 0;
  int Z = 0;
  bool operator==(const TriggerLocation&) const = default;
};

// For each item, in item order, the sectors that trigger it.
using TriggerIndex = std::vector<std::vector<TriggerLocation>>;

// For each pixel of the room's area the 1-based sector (x, z) under it; 0 outside the room.
// At least 301 x 301 entries; a room of more than 30 sectors in a direction widens it.
struct SectorTable {
  int Width = 0;   // entries per row: x runs 0 .. Width - 1
  int Height = 0;  // rows: y runs 0 .. Height - 1
  std::vector<uint16_t> X;
  std::vector<uint16_t> Z;

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
  int XAt(int x, int y) const { return Contains(x, y) ? X[Index(x, y)] : 0; }
  int ZAt(int x, int y) const { return Contains(x, y) ? Z[Index(x, y)] : 0; }
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * Width + x; }
};

// The text colours of the item panel's seven check boxes.
struct ItemFlagColours {
  std::array<Rgb, 5> ActiveFlags{};
  Rgb ItemInvisible = kClearColour;
  Rgb ItemCB = kClearColour;
  bool operator==(const ItemFlagColours&) const = default;
};

// What the right-hand view shows. Its button names the other one: "2D Map" while the 3D
// view is shown, "3D View" while the overview is.
enum class RightPane { Room3D, Overview };
inline constexpr char kViewMode2D[] = "2D Map";
inline constexpr char kViewMode3D[] = "3D View";

struct MapState {
  int CurrentRoom = 0;
  int SelectedSectorX = 0;      // along the grid's first dimension, drawn downwards
  int SelectedSectorZ = 0;      // along the second, drawn to the right
  bool SectorSelected = false;  // the blue outline is on the shown picture

  // The entities of the lines of SecCurItem, and the one chosen there (-1: none).
  std::vector<int> SectorEntities;
  int SelectedEntity = -1;
  // The current room's static mesh a click in the 3D view chose (-1: none); Delete removes it
  // while no entity is chosen. Any other choice or edit forgets it, as static indices move.
  int SelectedStatic = -1;
  ItemFlagColours FlagColours;
  bool AllItems = false;  // the object type list holds every object id

  TriggerIndex Triggers;
  int NavigationEntity = -1;  // the item whose triggers "Next Trigger" visits
  int NavigationPosition = 0;

  MapImage Map;    // the room as drawn, without selection
  MapImage Shown;  // what the picture box shows: the map with the selection outline
  SectorTable Table;
  RightPane ViewMode = RightPane::Room3D;
};

}  // namespace slab
