#include "floordata/walkers.h"

#include <cstddef>
#include <type_traits>

namespace slab {
namespace {

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
};

// Where an entry or an action lies, in words from the list's start.
struct WordSpan {
  size_t Entry = 0;  // the entry's function word
  size_t First = 0;  // the first word of this entry or action
  size_t Count = 0;  // its words
};

// A callback that wants to know where its entry lies takes the span as well.
template <typename F, typename E>
bool Call(F& callback, const E& entry, const WordSpan& at) {
  if constexpr (std::is_invocable_v<F&, const E&, const WordSpan&>)
    return callback(entry, at);
  else
    return callback(entry);
}

// The one walk behind every operation. onEntry(PlainEntry) and onAction(TriggerEntry), each
// optionally with its WordSpan, return false to stop the walk. A trigger is always stepped over as
// its whole action list, so an entry after a trigger whose function word has no end bit is still
// read correctly. Returns the number of words from the list start to the end of the last entry
// walked; sound, where given, says whether the walk ended at the marked last entry with every
// word it needed there (not at an unknown code or the end of the floor data).
template <typename OnEntry, typename OnAction>
size_t Walk(const Level& level, uint16_t fdIndex, OnEntry onEntry, OnAction onAction,
            bool* sound = nullptr) {
  if (sound) *sound = false;
  const int32_t start = static_cast<int16_t>(fdIndex);
  if (start <= 0 || static_cast<size_t>(start) > level.FloorData.size() / 2) return 0;
  const FloorWords words(level);
  size_t pos = static_cast<size_t>(start);
  while (words.Has(pos)) {
    const uint16_t function = words.At(pos);
    const int code = FunctionCode(function);  // bits 5-7 belong to the triangulated entries
    const bool last = (function & kFloorDataEnd) != 0;
    if (code == kFdTrigger) {
      if (!words.Has(pos + 1)) break;
      TriggerEntry entry;
      entry.TriggerType = static_cast<int16_t>(TriggerTypeOf(function));
      entry.Setup = static_cast<int16_t>(words.At(pos + 1));
      size_t action = pos + 2;
      bool whole = false;  // the actions end at a marked word
      while (words.Has(action)) {
        const uint16_t word = words.At(action);
        entry.Action = static_cast<int16_t>(ActionKindOf(word));
        entry.Param = static_cast<int16_t>(word & kActionParamBits);
        // Camera and fly-by actions carry one more word, and the end bit lives there.
        uint16_t endWord = word;
        size_t step = 1;
        bool cut = false;
        if (entry.Action == kActionCamera || entry.Action == kActionFlyby) {
          if (words.Has(action + 1)) {
            endWord = words.At(action + 1);
            step = 2;
          } else {
            endWord = kFloorDataEnd;
            cut = true;
          }
        }
        const WordSpan at{pos - start, action - start, step};
        if (!Call(onAction, entry, at)) return action + step - start;
        action += step;
        if (endWord & kFloorDataEnd) {
          whole = !cut;
          break;
        }
      }
      pos = action;
      if (!whole) break;
    } else {
      const int length = EntryWords(code);
      if (length == 0 || !words.Has(pos + length - 1)) break;
      PlainEntry entry{code, function, length > 1 ? words.At(pos + 1) : uint16_t{0}};
      const WordSpan at{pos - start, pos - start, static_cast<size_t>(length)};
      pos += length;
      if (!Call(onEntry, entry, at)) break;
    }
    if (last) {
      if (sound) *sound = true;
      break;
    }
  }
  return pos - start;
}

constexpr auto kAnyEntry = [](const PlainEntry&) { return true; };
constexpr auto kAnyAction = [](const TriggerEntry&) { return true; };

}  // namespace

bool KnownFunctionCode(int code) { return code == kFdTrigger || EntryWords(code) > 0; }

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
    found = ActionNamesItem(entry.Action) && entry.Param == item;
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

bool ListEndsSoundly(const Level& level, uint16_t fdIndex) {
  bool sound = false;
  Walk(level, fdIndex, kAnyEntry, kAnyAction, &sound);
  return sound;
}

FloorList GetFloorList(const Level& level, uint16_t fdIndex) {
  FloorList list;
  auto entryAt = [&](int code, size_t first) -> FloorEntry& {
    if (list.Entries.empty() || list.Entries.back().First != first)
      list.Entries.push_back(FloorEntry{code, first, 0, {}, {}});
    return list.Entries.back();
  };
  const size_t words = Walk(
      level, fdIndex,
      [&](const PlainEntry& entry, const WordSpan& at) {
        entryAt(entry.Code, at.Entry).Length = at.Count;
        return true;
      },
      [&](const TriggerEntry& action, const WordSpan& at) {
        FloorEntry& trigger = entryAt(kFdTrigger, at.Entry);
        trigger.Actions.push_back(action);
        trigger.ActionAt.push_back(at.First);
        trigger.Length = at.First + at.Count - at.Entry;
        return true;
      });
  if (words == 0) return list;
  const FloorWords all(level);
  const size_t start = static_cast<size_t>(static_cast<int16_t>(fdIndex));
  for (size_t i = 0; i < words; ++i) list.Words.push_back(all.At(start + i));
  // A trigger whose words end before its first action is walked without any action.
  const size_t covered =
      list.Entries.empty() ? 0 : list.Entries.back().First + list.Entries.back().Length;
  if (covered < words)
    list.Entries.push_back(
        FloorEntry{FunctionCode(list.Words[covered]), covered, words - covered, {}, {}});
  return list;
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
