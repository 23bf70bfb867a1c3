#include "map/item_removal.h"

#include <algorithm>
#include <map>

#include "floordata/sector_panel.h"
#include "level/text.h"
#include "map/floor_edits.h"

namespace slab {
namespace {

constexpr size_t kQuestionLines = 12;

constexpr int kSwitchTrigger = 2;
constexpr int kKeyTrigger = 3;
constexpr int kPickupTrigger = 4;

// The games take the first action of these triggers as the item that sets them off (the
// switch, the keyhole, the pickup), whatever follows it.
bool SetOffByFirstItem(int type) {
  return type == kSwitchTrigger || type == kKeyTrigger || type == kPickupTrigger;
}

// The item an object or target action names, as the games read its word.
int NamedItem(const FloorList& list, const FloorEntry& trigger, size_t action) {
  return list.Words[trigger.ActionAt[action]] & kActionItemBits;
}

bool NamesThe(const FloorList& list, const FloorEntry& trigger, size_t action, int item) {
  return ActionNamesItem(trigger.Actions[action].Action) &&
         NamedItem(list, trigger, action) == item;
}

// An action's words: two for camera and fly-by actions, unless the list ends after one.
size_t ActionWords(const FloorEntry& trigger, size_t action) {
  const size_t next = action + 1 < trigger.ActionAt.size() ? trigger.ActionAt[action + 1]
                                                           : trigger.First + trigger.Length;
  return next - trigger.ActionAt[action];
}

uint16_t Renumbered(uint16_t word) {
  return static_cast<uint16_t>((word & ~kActionItemBits) | ((word & kActionItemBits) - 1));
}

struct SectorList {
  int Room = 0, X = 0, Z = 0;
  uint16_t FDIndex = 0;
};

// Every sector that has a list, in room order, then a, then b (as the triggers are listed).
std::vector<SectorList> SectorsWithLists(const Level& level) {
  std::vector<SectorList> found;
  const size_t words = level.FloorData.size() / 2;
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    for (int a = 0; a < room.NumXSectors; ++a)
      for (int b = 0; b < room.NumZSectors; ++b) {
        if (!room.HasSector(a, b)) continue;
        const uint16_t index = room.SectorAt(a, b).FDIndex;
        const int16_t start = static_cast<int16_t>(index);
        if (start <= 0 || static_cast<size_t>(start) >= words) continue;
        found.push_back({static_cast<int>(r), a, b, index});
      }
  }
  return found;
}

// Which actions of a trigger go when the item goes, and whether the trigger goes whole.
struct TriggerCut {
  std::vector<bool> Goes;  // per action
  bool Whole = false;
};

TriggerCut CutTrigger(const FloorList& list, const FloorEntry& trigger, int item) {
  TriggerCut cut;
  size_t left = 0;
  for (size_t i = 0; i < trigger.Actions.size(); ++i) {
    const bool goes = NamesThe(list, trigger, i, item);
    cut.Goes.push_back(goes);
    if (!goes) ++left;
  }
  const int type = trigger.Actions.empty() ? 0 : trigger.Actions.front().TriggerType;
  cut.Whole = left == 0 || (SetOffByFirstItem(type) && cut.Goes.front());
  if (cut.Whole) cut.Goes.assign(cut.Goes.size(), true);
  return cut;
}

bool NamesItem(const FloorList& list, int item) {
  for (const FloorEntry& entry : list.Entries)
    for (size_t i = 0; i < entry.Actions.size(); ++i)
      if (NamesThe(list, entry, i, item)) return true;
  return false;
}

struct RewrittenList {
  std::vector<uint16_t> Words;
  int Renumbered = 0;
  int Removed = 0;
};

// The list without the item's actions (and the triggers they leave with nothing to do),
// later items renumbered, and the end bits where the list and each trigger now end.
RewrittenList RewriteList(const FloorList& list, int item) {
  RewrittenList out;
  std::vector<uint16_t> words = list.Words;
  std::vector<bool> gone(words.size(), false);
  auto drop = [&](size_t word, size_t count) {
    for (size_t i = word; i < word + count && i < gone.size(); ++i) gone[i] = true;
  };
  auto setEnd = [&](size_t word, bool end) {
    words[word] =
        static_cast<uint16_t>(end ? words[word] | kFloorDataEnd : words[word] & ~kFloorDataEnd);
  };

  const FloorEntry* lastKeptEntry = nullptr;
  for (const FloorEntry& entry : list.Entries) {
    if (entry.Code != kFdTrigger) {
      lastKeptEntry = &entry;
      continue;
    }
    const TriggerCut cut = CutTrigger(list, entry, item);
    if (cut.Whole) {
      drop(entry.First, entry.Length);
      out.Removed += static_cast<int>(entry.Actions.size());
      continue;
    }
    lastKeptEntry = &entry;
    size_t lastKept = 0;
    for (size_t i = 0; i < entry.Actions.size(); ++i) {
      if (cut.Goes[i]) {
        drop(entry.ActionAt[i], ActionWords(entry, i));
        ++out.Removed;
        continue;
      }
      lastKept = i;
      if (ActionNamesItem(entry.Actions[i].Action) && NamedItem(list, entry, i) > item) {
        words[entry.ActionAt[i]] = Renumbered(words[entry.ActionAt[i]]);
        ++out.Renumbered;
      }
    }
    // The trigger now ends at its last kept action (on a camera's second word).
    for (size_t i = 0; i < entry.Actions.size(); ++i)
      setEnd(entry.ActionAt[i] + ActionWords(entry, i) - 1, i == lastKept);
  }
  // The copy always ends with an end bit: what follows it at the end of the floor data is
  // another list.
  for (const FloorEntry& entry : list.Entries) setEnd(entry.First, &entry == lastKeptEntry);
  for (size_t i = 0; i < words.size(); ++i)
    if (!gone[i]) out.Words.push_back(words[i]);
  return out;
}

std::string ActionCount(size_t count) {
  return std::to_string(count) + (count == 1 ? " trigger action" : " trigger actions");
}

std::string Place(const NamingAction& action) {
  return "Room " + std::to_string(action.Room) + ", sector " + SectorPlace(action.X, action.Z);
}

}  // namespace

RemovalPlan PlanEntityRemoval(const Level& level, int entity) {
  RemovalPlan plan;
  plan.Entity = entity;
  const auto items = static_cast<int64_t>(level.Items.size());
  if (entity < 0 || entity >= items + static_cast<int64_t>(level.AIObjects.size())) {
    plan.Refusal = "There is no entity" + NumText(entity) + " in this level.";
    return plan;
  }
  plan.IsAI = entity >= items;
  plan.Caption = plan.IsAI ? "AI" + NumText(entity - items) : "Item" + NumText(entity);
  if (plan.IsAI) return plan;  // nothing names an AI object by its number

  if (!level.TrailingBlock.empty() && entity != items - 1) {
    plan.Refusal = plan.Caption +
                   " can't be removed: this level carries the level-editor add-on's data after "
                   "the level, which names items by their number. Only the last item, Item" +
                   NumText(items - 1) + ", can be removed.";
    return plan;
  }
  std::map<uint16_t, FloorList> lists;
  for (const SectorList& sector : SectorsWithLists(level)) {
    auto [at, added] = lists.try_emplace(sector.FDIndex);
    if (added) at->second = GetFloorList(level, sector.FDIndex);
    const FloorList& list = at->second;
    for (const FloorEntry& entry : list.Entries) {
      if (entry.Code != kFdTrigger) continue;
      const TriggerCut cut = CutTrigger(list, entry, entity);
      bool told = false;
      for (size_t i = 0; i < entry.Actions.size(); ++i) {
        if (!NamesThe(list, entry, i, entity)) continue;
        NamingAction action{sector.Room, sector.X, sector.Z, entry.Actions[i], cut.Whole, {}};
        if (cut.Whole && !told)
          for (size_t j = 0; j < entry.Actions.size(); ++j)
            if (!NamesThe(list, entry, j, entity)) action.WithIt.push_back(entry.Actions[j]);
        told = true;
        plan.Naming.push_back(std::move(action));
      }
    }
  }
  return plan;
}

size_t RemovalPlan::ActionsGoing() const {
  size_t count = Naming.size();
  for (const NamingAction& action : Naming) count += action.WithIt.size();
  return count;
}

std::string RemovalQuestion(const Level& level, Game gameVersion, const ObjectNames& names,
                            const RemovalPlan& plan) {
  std::string text = plan.Caption + " is named by " + ActionCount(plan.Naming.size()) + ":\n";
  size_t shown = 0;
  for (size_t i = 0; i < plan.Naming.size() && i < kQuestionLines; ++i) {
    const NamingAction& action = plan.Naming[i];
    text += Place(action) + ": " + TriggerLine(action.Entry, level, gameVersion, names);
    if (action.TakesTrigger) text += ", with the whole trigger";
    text += "\n";
    ++shown;
    if (action.WithIt.empty()) continue;
    text += "    and with it:";
    for (size_t j = 0; j < action.WithIt.size(); ++j)
      text += (j ? ", " : " ") + ActionText(action.WithIt[j], level, gameVersion, names);
    text += "\n";
    shown += action.WithIt.size();
  }
  const size_t going = plan.ActionsGoing();
  if (going > shown) text += "and " + std::to_string(going - shown) + " more actions\n";
  text += "\nRemove " + plan.Caption + " and " +
          (going == 1 ? "this action" : "these " + std::to_string(going) + " actions") +
          "? A trigger left with nothing to do goes with them.";
  return text;
}

std::string NamedByText(const RemovalPlan& plan) {
  std::string text = plan.Caption + " is named by " + ActionCount(plan.Naming.size()) + " (";
  for (size_t i = 0; i < plan.Naming.size() && i < kQuestionLines; ++i)
    text += (i ? "; " : "") + Place(plan.Naming[i]);
  if (plan.Naming.size() > kQuestionLines) text += "; ...";
  return text + "), so it was not removed.";
}

std::optional<EntityRemoved> RemoveEntity(Level& level, int entity, bool withActions,
                                          std::string& why) {
  const RemovalPlan plan = PlanEntityRemoval(level, entity);
  if (!plan.Allowed()) {
    why = plan.Refusal;
    return std::nullopt;
  }
  EntityRemoved removed;
  removed.FloorData.Kept = level.FloorData.size();
  if (plan.IsAI) {
    removed.Index = entity - static_cast<int>(level.Items.size());
    removed.Removed = level.AIObjects[static_cast<size_t>(removed.Index)];
    level.AIObjects.erase(level.AIObjects.begin() + removed.Index);
    return removed;
  }
  if (!plan.Naming.empty() && !withActions) {
    why = NamedByText(plan);
    return std::nullopt;
  }

  // Each list once, however many sectors share it.
  const std::vector<SectorList> sectors = SectorsWithLists(level);
  std::map<uint16_t, FloorList> lists;
  for (const SectorList& sector : sectors)
    if (!lists.contains(sector.FDIndex))
      lists[sector.FDIndex] = GetFloorList(level, sector.FDIndex);

  // Lists that name the item get a new copy; the others are renumbered where they lie.
  std::map<uint16_t, RewrittenList> copies;
  std::map<size_t, WordChange> inPlace;
  for (const auto& [fdIndex, list] : lists) {
    if (NamesItem(list, entity)) {
      copies[fdIndex] = RewriteList(list, entity);
      continue;
    }
    const auto start = static_cast<size_t>(static_cast<int16_t>(fdIndex));
    for (const FloorEntry& entry : list.Entries)
      for (size_t i = 0; i < entry.Actions.size(); ++i)
        if (ActionNamesItem(entry.Actions[i].Action) && NamedItem(list, entry, i) > entity) {
          const size_t word = start + entry.ActionAt[i];
          const uint16_t before = list.Words[entry.ActionAt[i]];
          inPlace.try_emplace(word, WordChange{word, before, Renumbered(before)});
        }
  }

  // Every copy must start where a sector's signed 16-bit index reaches it.
  size_t next = level.FloorData.size() / 2;
  for (const auto& [fdIndex, copy] : copies) {
    if (copy.Words.empty()) continue;
    if (next >= static_cast<size_t>(kFloorDataFull)) {
      why = kFloorDataFullMessage;
      return std::nullopt;
    }
    next += copy.Words.size();
  }

  FloorDataPatch& patch = removed.FloorData;
  patch.Kept = level.FloorData.size() & ~size_t{1};
  patch.TailBefore.assign(level.FloorData.begin() + static_cast<std::ptrdiff_t>(patch.Kept),
                          level.FloorData.end());
  std::map<uint16_t, uint16_t> moved;
  for (const auto& [fdIndex, copy] : copies) {
    removed.RenumberedActions += copy.Renumbered;
    removed.RemovedActions += copy.Removed;
    if (copy.Words.empty()) {
      moved[fdIndex] = 0;  // nothing is left: the sector has no list
      continue;
    }
    std::vector<uint8_t> bytes;
    for (uint16_t w : copy.Words) {
      bytes.push_back(static_cast<uint8_t>(w & 0xFF));
      bytes.push_back(static_cast<uint8_t>(w >> 8));
    }
    moved[fdIndex] = static_cast<uint16_t>(AppendFloorData(level, bytes));
  }
  patch.TailAfter.assign(level.FloorData.begin() + static_cast<std::ptrdiff_t>(patch.Kept),
                         level.FloorData.end());
  for (const SectorList& sector : sectors) {
    const auto to = moved.find(sector.FDIndex);
    if (to == moved.end()) continue;
    patch.Pointers.push_back({sector.Room, sector.X, sector.Z, sector.FDIndex, to->second});
    level.Rooms[static_cast<size_t>(sector.Room)].SectorAt(sector.X, sector.Z).FDIndex = to->second;
  }
  for (const auto& [word, change] : inPlace) {
    patch.Words.push_back(change);
    level.FloorData[2 * word] = static_cast<uint8_t>(change.After & 0xFF);
    level.FloorData[2 * word + 1] = static_cast<uint8_t>(change.After >> 8);
  }
  removed.RenumberedActions += static_cast<int>(inPlace.size());

  removed.Index = entity;
  removed.Removed = level.Items[static_cast<size_t>(entity)];
  level.Items.erase(level.Items.begin() + entity);
  return removed;
}

}  // namespace slab
