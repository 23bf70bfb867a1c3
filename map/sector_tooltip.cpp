#include "map/sector_tooltip.h"

#include "floordata/sector_contents.h"
#include "floordata/sector_panel.h"
#include "level/text.h"
#include "map/level_tables.h"
#include "map/place_texts.h"

namespace slab {
namespace {

// The panel's counts carry a leading blank for the caption they join ("FD:" + " 2 Triggers").
std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

}  // namespace

std::string SectorTooltip(const Level& level, Game gameVersion, const ObjectNames& names, int room,
                          int a, int b) {
  const auto panel = ShowSector(level, gameVersion, names, room, a, b, true, true);
  if (!panel) return {};
  std::string text = "Room " + std::to_string(room) + ", Sector " + SectorPlace(a, b);

  const SectorsView& sectors = panel->Sectors;
  if (sectors.FloorWall)
    text += "\nWall";
  else {
    // The panel keeps the bytes; here they read as heights.
    const Sector& sector = level.Rooms[static_cast<size_t>(room)].SectorAt(a, b);
    text += "\nFloor " + HeightText(sector.Floor) + ", Ceiling " + HeightText(sector.Ceiling);
  }
  if (sectors.MinecartStop == kSetColour)
    text += "\nMinecart Stop";
  else if (sectors.FD20 == kSetColour)
    text += "\nMinecart Left";
  else if (sectors.FD21 == kSetColour)
    text += "\nMinecart Right";

  const DoorsView& doors = panel->Doors;
  text +=
      "\nPortal " + doors.DoorSide + ", Above " + doors.DoorAbove + ", Below " + doors.DoorBelow;

  const TriggersView& triggers = panel->Triggers;
  text += "\n" + Trimmed(triggers.FDLabel);
  if (triggers.TriggerTimer) text += ", " + *triggers.TriggerTimer;
  if (triggers.TriggerData)
    for (const std::string& line : triggers.TriggerData->Lines) text += "\n  " + line;

  if (panel->Items && panel->Items->SecItemCntVisible && panel->Items->SecItemCnt) {
    text += "\n" + *panel->Items->SecItemCnt;
    const auto& lines = panel->Items->SecCurItem;
    for (size_t i = 0; lines && i < lines->Lines.size() && i < panel->Items->Entities.size(); ++i) {
      const int entity = panel->Items->Entities[i];
      const auto numItems = level.Items.size();
      const int objectId = static_cast<size_t>(entity) < numItems
                               ? level.Items[entity].ObjectID
                               : level.AIObjects[entity - numItems].ObjectID;
      text += "\n  " + lines->Lines[i] + " - " + ObjectIdText(names, objectId, gameVersion);
    }
  }
  if (panel->Statics && panel->Statics->Visible && panel->Statics->NumStatic) {
    // The panel names only the first; the tooltip names each.
    text += "\n" + *panel->Statics->NumStatic;
    for (int index : StaticsOnSector(level, room, a, b))
      text +=
          "\n  " + StaticName(names, level.Rooms[room].StaticMeshes[index].ObjectID, gameVersion);
  }
  return text;
}

}  // namespace slab
