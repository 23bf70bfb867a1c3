#include "floordata/walkers.h"

#include <cstddef>
#include <type_traits>

namespace slab {
namespace {

constexpr uint16_t kEndOfList = 0x8000;

class FloorWords {
 public:
  explicit FloorWords(const Level& level)
      : bytes_(level.FloorData.data()), count_(level.FloorData.size() / 2) {}
  bool Has(size_t word) const { return word < count_; }
  uint16_t At(size_t word) const {
    return static_cast<uint16_t>(bytes_[2 * word] | bytes_[2 * word + 1] << 8);
  }

 private:
  const uint8_t* bytes_;
  size_t count_;
};

// Words taken by an entry of each code other than the trigger; 0 for a code the games do
// not know, where the list is taken to end.
int EntryWords(int code) {
  switch (code) {
    case kFdPortal:
    case kFdFloorSlant:
    case kFdCeilingSlant:
      return 2;
    case kFdKill:
    case kFdClimb:
    case kFdMonkey:
    case kFdFunction20:
    case kFdFunction21:
      return 1;
    default:
      return code >= kFdFirstSplit && code <= kFdLastSplit ? 2 : 0;
  }
}

// A non-trigger entry as the walk meets it; Second is its second word when it has one.
struct PlainEntry {
  int Code = 0;
  uint16_t Function = 0;
  uint16_t Second = 0;
  size_t Word = 0;  // where its function word lies in FloorData
  int Words = 0;
};

// Where an action lies: its trigger's function word, its own first word and its length.
struct ActionPlace {
  size_t Function = 0;
  size_t Word = 0;
  size_t Words = 1;
};

// The one walk behind every operation. onEntry(PlainEntry) and onAction(TriggerEntry[,
// ActionPlace]) return false to stop the walk. A trigger is always stepped over as its whole
// action list, so an entry after a trigger whose function word has no end bit is still read
// correctly. Returns the number of words from the list start to the end of the last entry
// walked.
template <typename OnEntry, typename OnAction>
size_t Walk(const Level& level, uint16_t fdIndex, OnEntry onEntry, OnAction onAction) {
  const int32_t start = static_cast<int16_t>(fdIndex);
  if (start <= 0 || static_cast<size_t>(start) > level.FloorData.size() / 2) return 0;
  const FloorWords words(level);
  size_t pos = static_cast<size_t>(start);
  while (words.Has(pos)) {
    const uint16_t function = words.At(pos);
    const int code = function & 0x1F;  // bits 5-7 belong to the triangulated entries
    const bool last = (function & kEndOfList) != 0;
    if (code == kFdTrigger) {
      if (!words.Has(pos + 1)) break;
      TriggerEntry entry;
      entry.TriggerType = static_cast<int16_t>((function >> 8) & 0x7F);
      entry.Setup = static_cast<int16_t>(words.At(pos + 1));
      size_t action = pos + 2;
      while (words.Has(action)) {
        const uint16_t word = words.At(action);
        entry.Action = static_cast<int16_t>((word & 0x3C00) >> 10);
        entry.Param = static_cast<int16_t>(word & 0x1FF);
        // Camera and fly-by actions carry one more word, and the end bit lives there.
        uint16_t endWord = word;
        size_t step = 1;
        if (entry.Action == kActionCamera || entry.Action == kActionFlyby) {
          if (words.Has(action + 1)) {
            endWord = words.At(action + 1);
            step = 2;
          } else {
            endWord = kEndOfList;
          }
        }
        bool go = true;
        if constexpr (std::is_invocable_v<OnAction, const TriggerEntry&, const ActionPlace&>)
          go = onAction(entry, ActionPlace{pos, action, step});
        else
          go = onAction(entry);
        if (!go) return action + step - start;
        action += step;
        if (endWord & kEndOfList) break;
      }
      pos = action;
    } else {
      const int length = EntryWords(code);
      if (length == 0 || !words.Has(pos + length - 1)) break;
      PlainEntry entry{code, function, length > 1 ? words.At(pos + 1) : uint16_t{0}, pos, length};
      pos += length;
      if (!onEntry(entry)) break;
    }
    if (last) break;
  }
  return pos - start;
}

constexpr auto kAnyEntry = [](const PlainEntry&) { return true; };
constexpr auto kAnyAction = [](const TriggerEntry&) { return true; };

}  // namespace

int GetDoor(const Level& level, uint16_t fdIndex) {
  int door = -1;
  Walk(
      level, fdIndex,
      [&](const PlainEntry& entry) {
        if (entry.Code != kFdPortal) return true;
        door = entry.Second & 0xFF;
        return false;
      },
      kAnyAction);
  return door;
}

TriggerCode GetFirstTrigger(const Level& level, uint16_t fdIndex) {
  TriggerCode code = kNoTrigger;
  Walk(level, fdIndex, kAnyEntry, [&](const TriggerEntry& entry) {
    code = MakeTriggerCode(entry.TriggerType, entry.Param, entry.Action);
    return false;
  });
  return code;
}

std::vector<TriggerEntry> GetTriggerList(const Level& level, uint16_t fdIndex) {
  std::vector<TriggerEntry> entries;
  Walk(level, fdIndex, kAnyEntry, [&](const TriggerEntry& entry) {
    entries.push_back(entry);
    return true;
  });
  return entries;
}

SectorFlags GetSectorFlags(const Level& level, uint16_t fdIndex) {
  // Bits are or-ed rather than added, so a repeated entry cannot carry into the next flag.
  SectorFlags flags = 0;
  Walk(
      level, fdIndex,
      [&](const PlainEntry& entry) {
        switch (entry.Code) {
          case kFdClimb:
            flags |= (entry.Function >> 8) & kFlagClimbSides;
            break;
          case kFdMonkey:
            flags |= kFlagMonkey;
            break;
          case kFdFunction20:
            flags |= kFlagFunction20;
            break;
          case kFdFunction21:
            flags |= kFlagFunction21;
            break;
          case kFdKill:
            flags |= kFlagKill;
            break;
          default:
            break;
        }
        return true;
      },
      kAnyAction);
  return flags;
}

bool SectorHasObjectTrigger(const Level& level, uint16_t fdIndex, int item) {
  bool found = false;
  Walk(level, fdIndex, kAnyEntry, [&](const TriggerEntry& entry) {
    found = (entry.Action == kActionObject || entry.Action == kActionTarget) && entry.Param == item;
    return !found;
  });
  return found;
}

std::vector<uint8_t> CopySectorFloorData(const Level& level, uint16_t fdIndex) {
  const size_t words = Walk(level, fdIndex, kAnyEntry, kAnyAction);
  if (words == 0) return {};
  const auto first = level.FloorData.begin() + 2 * static_cast<int16_t>(fdIndex);
  return {first, first + 2 * static_cast<ptrdiff_t>(words)};
}

std::vector<ListEntry> GetListLayout(const Level& level, uint16_t fdIndex) {
  std::vector<ListEntry> entries;
  Walk(
      level, fdIndex,
      [&](const PlainEntry& plain) {
        entries.push_back({plain.Word, static_cast<size_t>(plain.Words), plain.Code, {}});
        return true;
      },
      [&](const TriggerEntry& entry, const ActionPlace& place) {
        if (entries.empty() || entries.back().Word != place.Function)
          entries.push_back({place.Function, 2, kFdTrigger, {}});
        entries.back().Actions.push_back({place.Word, place.Words, entry});
        entries.back().Words = place.Word + place.Words - place.Function;
        return true;
      });
  return entries;
}

TriggerCounts CountLevelTriggers(const Level& level) {
  TriggerCounts counts;
  for (const Room& room : level.Rooms)
    for (int x = 0; x < room.NumXSectors; ++x)
      for (int z = 0; z < room.NumZSectors; ++z) {
        if (!room.HasSector(x, z)) continue;
        size_t actions = 0;
        Walk(level, room.SectorAt(x, z).FDIndex, kAnyEntry, [&](const TriggerEntry&) {
          ++actions;
          return true;
        });
        if (actions == 0) continue;
        ++counts.SectorsWithTrigger;
        counts.TriggerActions += static_cast<int64_t>(actions);
      }
  return counts;
}

}  // namespace slab
