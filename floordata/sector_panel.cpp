#include "floordata/sector_panel.h"

#include <string_view>

#include "floordata/sector_contents.h"
#include "level/text.h"

namespace slab {
namespace {

constexpr std::array<std::string_view, 13> kTypeWords = {
    "TRIGGER", "PAD",   "SWITCH",      "KEY",         "PICKUP",           "HEAVY", "ANTITRIGGER",
    "COMBAT",  "DUMMY", "ANTITRIGGER", "HEAVYSWITCH", "HEAVYANTITRIGGER", "MONKEY"};

constexpr std::array<std::string_view, 14> kActionWords = {
    "OBJECT", "CAMERA", "SINK",       "FLIPMAP", "FLIPON",  "FLIPOFF", "TARGET",
    "FINISH", "CD",     "FLIPEFFECT", "SECRET",  "BODYBAG", "FLYBY",   "CUTSCENE"};

// The leading-blank text with its first character cut: the blank for 0 and more, the minus
// sign for negative numbers (so -1 reads "1", as the caption of the outer ring has it).
std::string CutText(int64_t value) { return NumText(value).substr(1); }

std::string RoomOrNone(int room) { return room == kNoRoom ? "None" : CutText(room); }

std::string Plural(int64_t count, std::string_view one, std::string_view more) {
  return std::string(count == 1 ? one : more);
}

TriggersView ShowTriggers(const Level& level, Game gameVersion, const ObjectNames& names,
                          const Sector& sector) {
  TriggersView view;
  const std::vector<TriggerEntry> entries = GetFirstTrigger(level, sector.FDIndex) == kNoTrigger
                                                ? std::vector<TriggerEntry>{}
                                                : GetTriggerList(level, sector.FDIndex);
  if (entries.empty()) {
    view.FDLabel = " 0 Triggers";
    return view;
  }
  const auto count = static_cast<int64_t>(entries.size());
  view.FDLabel = NumText(count) + Plural(count, " Trigger", " Triggers");
  ListContent lines;
  for (const TriggerEntry& entry : entries)
    lines.Lines.push_back(TriggerLine(entry, level, gameVersion, names));
  lines.Selected = 0;
  view.TriggerData = std::move(lines);
  const auto setup = static_cast<uint16_t>(entries.front().Setup);
  std::array<Rgb, 5> flags;
  for (int i = 0; i < 5; ++i)
    flags[i] = (setup & (1 << (kSetupMaskShift + i))) ? kSetColour : kClearColour;
  view.TriggerFlags = flags;
  // The panel's timer takes the one-shot bit with it, as the program always showed it.
  view.TriggerTimer = "Timer" + NumText(setup & (kSetupTimerBits | kSetupOneShot));
  return view;
}

SectorItemsView ShowItems(const Level& level, int room, int a, int b, bool rebuildItems) {
  SectorItemsView view;
  view.Entities = EntitiesOnSector(level, room, a, b);
  const auto count = static_cast<int64_t>(view.Entities.size());
  view.SecItemCntVisible = count != 0;
  if (count != 0) view.SecItemCnt = CutText(count) + Plural(count, " item", " items");
  if (rebuildItems) {
    ListContent list;
    const auto numItems = static_cast<int64_t>(level.Items.size());
    for (int entity : view.Entities)
      list.Lines.push_back(entity < numItems ? "Item" + NumText(entity)
                                             : "AI" + NumText(entity - numItems));
    view.SecCurItem = std::move(list);
  } else {
    view.Entities.clear();  // the list keeps its lines and their entities
  }
  return view;
}

SectorStaticsView ShowStatics(const Level& level, Game gameVersion, const ObjectNames& names,
                              int room, int a, int b) {
  SectorStaticsView view;
  const std::vector<int> found = StaticsOnSector(level, room, a, b);
  if (found.empty()) return view;
  const auto count = static_cast<int64_t>(found.size());
  view.Visible = true;
  view.NumStatic = CutText(count) + Plural(count, " Static Mesh", " Static Meshes");
  view.StaticID =
      StaticName(names, level.Rooms[room].StaticMeshes[found.front()].ObjectID, gameVersion);
  return view;
}

}  // namespace

std::string TriggerTypeWord(int type) {
  return type >= 0 && type < static_cast<int>(kTypeWords.size()) ? std::string(kTypeWords[type])
                                                                 : "TriggerType" + NumText(type);
}

std::string ActionText(const TriggerEntry& entry, const Level& level, Game gameVersion,
                       const ObjectNames& names) {
  std::string line = entry.Action >= 0 && entry.Action < static_cast<int>(kActionWords.size())
                         ? std::string(kActionWords[entry.Action])
                         : std::string("UNKNOWN");
  line += NumText(entry.Param);
  if (entry.Action != kActionObject) return line;
  // A parameter that names no item, or an object id or version outside the name table,
  // leaves the line without its " (name)" part; the listing goes on.
  if (entry.Param < 0 || static_cast<size_t>(entry.Param) >= level.Items.size()) return line;
  const auto name = ObjectName(names, level.Items[entry.Param].ObjectID, gameVersion);
  if (!name) return line;
  line += " (";
  line += *name;
  line += ")";
  return line;
}

std::string TriggerLine(const TriggerEntry& entry, const Level& level, Game gameVersion,
                        const ObjectNames& names) {
  return TriggerTypeWord(entry.TriggerType) + " for " +
         ActionText(entry, level, gameVersion, names);
}

std::optional<SectorPanel> ShowSector(const Level& level, Game gameVersion,
                                      const ObjectNames& names, int room, int a, int b,
                                      bool rebuildItems, bool showItems) {
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return std::nullopt;
  const Room& r = level.Rooms[room];
  if (!r.HasSector(a, b)) return std::nullopt;
  const Sector& sector = r.SectorAt(a, b);

  SectorPanel panel;
  const int door = GetDoor(level, sector.FDIndex);
  panel.Doors.DoorSide = door == -1 ? "None" : CutText(door);
  panel.Doors.DoorBelow = RoomOrNone(sector.RoomBelow);
  panel.Doors.DoorAbove = RoomOrNone(sector.RoomAbove);

  panel.Triggers = ShowTriggers(level, gameVersion, names, sector);

  SectorsView& sectors = panel.Sectors;
  sectors.SecInf = "Sector Info [Sector " + SectorLabel(a, b) + "]";
  if (sector.Floor == kWallMarker) {
    // Only shows the wall state; the wall edit belongs to the check box's click.
    sectors.FloorWall = true;
    sectors.HeightsEnabled = false;
  } else {
    sectors.FloorHeight = CutText(sector.Floor);
    sectors.CeilingHeight = CutText(sector.Ceiling);
  }

  if (showItems) {
    panel.Items = ShowItems(level, room, a, b, rebuildItems);
    panel.Statics = ShowStatics(level, gameVersion, names, room, a, b);
  }

  const SectorFlags flags = GetSectorFlags(level, sector.FDIndex);
  if (flags & kFlagFunction21) sectors.FD21 = kSetColour;
  if (flags & kFlagFunction20) sectors.FD20 = kSetColour;
  if ((flags & (kFlagFunction20 | kFlagFunction21)) == (kFlagFunction20 | kFlagFunction21))
    sectors.MinecartStop = kSetColour;
  return panel;
}

}  // namespace slab
