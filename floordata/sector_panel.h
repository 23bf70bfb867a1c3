// The content of the main window's sector panels, computed without any toolkit: the window
// copies it into its controls (fields are named after them), tests read it directly.
// An empty optional means "the control keeps what it showed before".
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "floordata/object_names.h"
#include "floordata/rgb.h"
#include "floordata/walkers.h"
#include "level/level.h"

namespace slab {

// Check boxes and buttons show a set state by a blue text, a clear one by black, so that
// showing a state never presses them.
inline constexpr Rgb kSetColour{0, 0, 255};
inline constexpr Rgb kClearColour{0, 0, 0};

struct ListContent {
  std::vector<std::string> Lines;
  int Selected = -1;  // -1: no line selected
};

// Frame "Sectors".
struct SectorsView {
  std::string SecInf;          // the frame's caption
  bool FloorWall = false;      // checked
  bool HeightsEnabled = true;  // FloorHeight and CeilingHeight
  std::string FloorHeight;
  std::string CeilingHeight;
  Rgb MinecartStop = kClearColour;  // text colours of the three buttons
  Rgb FD20 = kClearColour;
  Rgb FD21 = kClearColour;
};

// Frame "Doors".
struct DoorsView {
  std::string DoorSide;
  std::string DoorAbove;
  std::string DoorBelow;
};

// Frame "Triggers". A sector without trigger changes FD_lbl only.
struct TriggersView {
  std::string FDLabel;
  std::optional<ListContent> TriggerData;
  std::optional<std::string> TriggerTimer;
  std::optional<std::array<Rgb, 5>> TriggerFlags;  // text colours; never checked
};

// The item list of frame "Items".
struct SectorItemsView {
  bool SecItemCntVisible = false;
  std::optional<std::string> SecItemCnt;  // kept while hidden
  std::optional<ListContent> SecCurItem;  // only when the list is rebuilt
  std::vector<int> Entities;              // the entity of each line of SecCurItem
  bool ResetNavigationEntity = true;      // the navigation entity becomes -1
};

// Frame "Static Meshes": NumStatic and StaticID are shown and hidden together.
struct SectorStaticsView {
  bool Visible = false;
  std::optional<std::string> NumStatic;  // kept while hidden
  std::optional<std::string> StaticID;   // the first static mesh's name
};

struct SectorPanel {
  SectorsView Sectors;
  DoorsView Doors;
  TriggersView Triggers;
  std::optional<SectorItemsView> Items;      // only when items are shown
  std::optional<SectorStaticsView> Statics;  // only when items are shown
};

// The panels for sector (a, b), 0-based, of a room; nothing when the room or the sector does
// not exist (the panels keep what they showed). rebuildItems: the item list is refilled;
// showItems: the items and static meshes are looked at at all.
std::optional<SectorPanel> ShowSector(const Level& level, Game gameVersion,
                                      const ObjectNames& names, int room, int a, int b,
                                      bool rebuildItems, bool showItems);

// The word a trigger line starts with: "SWITCH", or "TriggerType 14" past the known types.
std::string TriggerTypeWord(int type);

// What one action does, without its trigger's type: "OBJECT 12 (Door)".
std::string ActionText(const TriggerEntry& entry, const Level& level, Game gameVersion,
                       const ObjectNames& names);

// One line of the trigger list as the panel shows it: "SWITCH for OBJECT 12 (Door)".
std::string TriggerLine(const TriggerEntry& entry, const Level& level, Game gameVersion,
                        const ObjectNames& names);

}  // namespace slab
