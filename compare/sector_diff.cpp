// Sectors: the record and the floor-data list, compared by content, never by where the list
// lies in the floor data. A trigger action of the old level that names an item is read with
// the number that item has in the new level, so actions renumbered with their items are told
// apart from actions that now name another item.
#include <algorithm>
#include <optional>

#include "compare/diff_context.h"
#include "floordata/sector_panel.h"
#include "floordata/walkers.h"
#include "level/text.h"

namespace slab::diff {
namespace {

constexpr uint16_t kNoBox = 0xFFFF;

// An old action's parameter as the new level numbers the item, or nothing when the item is
// gone. Parameters past the old items name no item and stay as they are.
std::optional<int> MappedParam(const Context& context, int param) {
  if (param < 0 || static_cast<size_t>(param) >= context.Items.OldToNew.size()) return param;
  const int mapped = context.Items.OldToNew[param];
  if (mapped < 0 || mapped > kActionParamBits) return std::nullopt;
  return mapped;
}

// One action as it is compared: its words without the end bit, which only closes the list.
struct ActionKey {
  int Action = 0;
  uint16_t Word = 0;
  uint16_t Extra = 0;  // the camera and fly-by actions' second word
  bool Gone = false;   // names an item the new level does not have
  bool operator==(const ActionKey&) const = default;
};

struct TriggerView {
  uint16_t Function = 0;
  uint16_t Setup = 0;
  std::vector<TriggerEntry> Actions;
  std::vector<ActionKey> Keys;     // as compared: an old level's renumbered
  std::vector<uint16_t> RawWords;  // each action word as stored, without the end bit
};

// A list's entries other than triggers, by their words without the end bit.
using PlainWords = std::vector<std::vector<uint16_t>>;

struct ListView {
  PlainWords Plain;
  std::vector<int> PlainCodes;
  std::vector<TriggerView> Triggers;
};

ListView ViewOf(const Context& context, const FloorList& list, bool renumber) {
  ListView view;
  for (const FloorEntry& entry : list.Entries) {
    std::vector<uint16_t> words(
        list.Words.begin() + static_cast<ptrdiff_t>(entry.First),
        list.Words.begin() + static_cast<ptrdiff_t>(entry.First + entry.Length));
    for (uint16_t& w : words) w &= static_cast<uint16_t>(~kFloorDataEnd);
    if (entry.Code != kFdTrigger) {
      view.PlainCodes.push_back(entry.Code);
      view.Plain.push_back(std::move(words));
      continue;
    }
    TriggerView trigger;
    trigger.Function = words[0];
    trigger.Setup = words.size() > 1 ? words[1] : 0;
    trigger.Actions = entry.Actions;
    for (size_t k = 0; k < entry.Actions.size(); ++k) {
      const size_t at = entry.ActionAt[k] - entry.First;
      ActionKey key;
      key.Action = entry.Actions[k].Action;
      key.Word = words[at];
      const bool hasExtra =
          (key.Action == kActionCamera || key.Action == kActionFlyby) && at + 1 < words.size();
      key.Extra = hasExtra ? words[at + 1] : 0;
      trigger.RawWords.push_back(key.Word);
      if (renumber && ActionNamesItem(key.Action)) {
        const auto mapped = MappedParam(context, key.Word & kActionParamBits);
        if (mapped)
          key.Word = static_cast<uint16_t>((key.Word & ~kActionParamBits) | *mapped);
        else
          key.Gone = true;
      }
      trigger.Keys.push_back(key);
    }
    view.Triggers.push_back(std::move(trigger));
  }
  return view;
}

std::string Clicks(uint8_t height) { return std::to_string(static_cast<int8_t>(height)); }

std::string RoomText(uint8_t room) { return room == kNoRoom ? "none" : std::to_string(room); }

std::string BoxText(uint16_t box) { return box == kNoBox ? "none" : std::to_string(box); }

std::string SideBits(int sides) {
  std::vector<std::string> bits;
  for (int bit = 1; bit <= 8; bit <<= 1)
    if (sides & bit) bits.push_back(std::to_string(bit));
  return Join(bits, ", ");
}

// A floor-data entry other than a trigger, in words a designer knows.
std::string EntryText(const std::vector<uint16_t>& words, int code, Game game) {
  const uint16_t second = words.size() > 1 ? words[1] : 0;
  auto slope = [&](const char* name) {
    return std::string(name) + " (x " + std::to_string(static_cast<int8_t>(second & 0xFF)) +
           ", z " + std::to_string(static_cast<int8_t>(second >> 8)) + ")";
  };
  const bool minecarts = game == Game::TR3;
  const bool later = game == Game::TR4 || game == Game::TR5;
  switch (code) {
    case kFdPortal:
      return "portal to room " + std::to_string(second & 0xFF);
    case kFdFloorSlant:
      return slope("floor slope");
    case kFdCeilingSlant:
      return slope("ceiling slope");
    case kFdKill:
      return "kill";
    case kFdClimb:
      return "climbable walls (sides " + SideBits((words[0] >> 8) & 0x0F) + ")";
    case kFdMonkey:
      return "monkey-swing ceiling";
    case kFdFunction20:
      if (minecarts) return "minecart left turn";
      if (later) return "trigger triggerer";
      break;
    case kFdFunction21:
      if (minecarts) return "minecart right turn";
      if (later) return "clockwise beetle";
      break;
    default:
      if (code >= kFdFirstSplit && code <= kFdLastSplit) {
        // 7, 8 and 11 to 14 split the floor; 9, 10 and 15 to 18 the ceiling.
        const bool floor = code <= 8 || (code >= 11 && code <= 14);
        return std::string(floor ? "split floor" : "split ceiling") + " (function " +
               std::to_string(code) + ", " + Hex(words[0], 4) + " " + Hex(second, 4) + ")";
      }
      break;
  }
  return "function " + std::to_string(code);
}

void ComparePlain(const Context& context, const ListView& before, const ListView& after,
                  Lines& lines) {
  // Equal entries in either order are the same entries; what is left pairs by function code.
  std::vector<bool> oldUsed(before.Plain.size()), newUsed(after.Plain.size());
  for (size_t j = 0; j < after.Plain.size(); ++j)
    for (size_t i = 0; i < before.Plain.size(); ++i)
      if (!oldUsed[i] && before.Plain[i] == after.Plain[j]) {
        oldUsed[i] = newUsed[j] = true;
        break;
      }
  auto oldText = [&](size_t i) {
    return EntryText(before.Plain[i], before.PlainCodes[i], context.OldGame);
  };
  auto newText = [&](size_t j) {
    return EntryText(after.Plain[j], after.PlainCodes[j], context.NewGame);
  };
  for (size_t i = 0; i < before.Plain.size(); ++i) {
    if (oldUsed[i]) continue;
    for (size_t j = 0; j < after.Plain.size(); ++j) {
      if (newUsed[j] || after.PlainCodes[j] != before.PlainCodes[i]) continue;
      oldUsed[i] = newUsed[j] = true;
      std::string from = oldText(i), to = newText(j);
      if (from == to) {  // bits the words above do not show
        std::vector<std::string> a, b;
        for (uint16_t w : before.Plain[i]) a.push_back(Hex(w, 4));
        for (uint16_t w : after.Plain[j]) b.push_back(Hex(w, 4));
        from += " [" + Join(a, " ") + "]";
        to += " [" + Join(b, " ") + "]";
      }
      lines.Add("floor data", "changed: " + Arrow(from, to));
      break;
    }
  }
  for (size_t i = 0; i < before.Plain.size(); ++i)
    if (!oldUsed[i]) lines.Add("floor data", "removed: " + oldText(i));
  for (size_t j = 0; j < after.Plain.size(); ++j)
    if (!newUsed[j]) lines.Add("floor data", "added: " + newText(j));
}

std::string MaskText(uint16_t setup) {
  std::string bits;
  for (int i = 0; i < 5; ++i) bits += (setup & (1 << (kSetupMaskShift + i))) ? '1' : '0';
  return bits;
}

std::string TriggerText(const TriggerView& trigger) {
  return TriggerTypeWord(TriggerTypeOf(trigger.Function)) + ", timer " +
         std::to_string(trigger.Setup & kSetupTimerBits) +
         ((trigger.Setup & kSetupOneShot) ? ", one shot" : "") + ", mask " +
         MaskText(trigger.Setup);
}

void CompareSetup(const TriggerView& a, const TriggerView& b, Lines& lines) {
  const int typeA = TriggerTypeOf(a.Function), typeB = TriggerTypeOf(b.Function);
  if (typeA != typeB)
    lines.Add("trigger", "trigger type " + Arrow(TriggerTypeWord(typeA), TriggerTypeWord(typeB)));
  else if (a.Function != b.Function)
    lines.Add("trigger", "trigger word " + Arrow(Hex(a.Function, 4), Hex(b.Function, 4)));
  lines.Field("trigger", "trigger timer", a.Setup & kSetupTimerBits, b.Setup & kSetupTimerBits);
  if ((a.Setup ^ b.Setup) & kSetupOneShot)
    lines.Add("trigger",
              (b.Setup & kSetupOneShot) ? "trigger one shot set" : "trigger one shot cleared");
  if ((a.Setup ^ b.Setup) & kSetupMaskBits)
    lines.Add("trigger", "trigger mask " + Arrow(MaskText(a.Setup), MaskText(b.Setup)));
  if ((a.Setup ^ b.Setup) & 0xC000)
    lines.Add("trigger", "trigger setup " + Arrow(Hex(a.Setup, 4), Hex(b.Setup, 4)));
}

class ActionWords {
 public:
  ActionWords(const Context& context, const TriggerView& before, const TriggerView& after)
      : context_(context), before_(before), after_(after) {}
  std::string Old(size_t i) const { return Line(before_, i, false); }
  std::string New(size_t j) const { return Line(after_, j, true); }

 private:
  std::string Line(const TriggerView& trigger, size_t k, bool inNew) const {
    TriggerEntry entry = trigger.Actions[k];
    // The line names the trigger it now belongs to, so a changed type does not repeat here.
    entry.TriggerType = static_cast<int16_t>(TriggerTypeOf(trigger.Function));
    std::string line = TriggerLine(entry, inNew ? context_.New : context_.Old,
                                   inNew ? context_.NewGame : context_.OldGame, context_.Names);
    // An object the names file leaves unnamed: its number says it all.
    if (line.ends_with(" ()")) line.resize(line.size() - 3);
    if (trigger.Keys[k].Action == kActionCamera || trigger.Keys[k].Action == kActionFlyby)
      line += " [" + Hex(trigger.Keys[k].Extra, 4) + "]";
    return line;
  }
  const Context& context_;
  const TriggerView& before_;
  const TriggerView& after_;
};

void CompareActions(const Context& context, const TriggerView& before, const TriggerView& after,
                    Lines& lines, bool& changed) {
  const ActionWords words(context, before, after);
  // Equal actions pair at no cost, actions of one kind with another parameter at a little.
  const Pairing pairing = AlignInOrder(
      before.Keys.size(), after.Keys.size(),
      [&](size_t i, size_t j) {
        const ActionKey& a = before.Keys[i];
        const ActionKey& b = after.Keys[j];
        if (a == b) return 0;
        return a.Action == b.Action ? 1 : 3;
      },
      1);
  for (size_t i = 0; i < before.Keys.size(); ++i) {
    if (pairing.OldToNew[i] != -1) continue;
    lines.Add("trigger actions", "trigger action removed: " + words.Old(i));
    changed = true;
  }
  for (size_t j = 0; j < after.Keys.size(); ++j) {
    const int i = pairing.NewToOld[j];
    if (i == -1) {
      lines.Add("trigger actions", "trigger action added: " + words.New(j));
      changed = true;
    } else if (before.Keys[i] != after.Keys[j]) {
      lines.Add("trigger actions", "trigger action changed: " + Arrow(words.Old(i), words.New(j)));
      changed = true;
    } else if (before.RawWords[i] != after.RawWords[j]) {
      lines.Add("item numbers", "trigger action renumbered: " + Arrow(words.Old(i), words.New(j)));
    }
  }
}

void CompareTriggers(const Context& context, const ListView& before, const ListView& after,
                     Lines& lines, bool& changed) {
  const size_t both = std::min(before.Triggers.size(), after.Triggers.size());
  for (size_t t = 0; t < both; ++t) {
    Lines setup;
    CompareSetup(before.Triggers[t], after.Triggers[t], setup);
    if (!setup.Empty()) changed = true;
    for (std::string& line : setup.TakeDetails()) lines.Add("trigger", std::move(line));
    CompareActions(context, before.Triggers[t], after.Triggers[t], lines, changed);
  }
  auto whole = [&](const TriggerView& trigger, bool inNew) {
    changed = true;
    lines.Add("trigger",
              std::string(inNew ? "trigger added: " : "trigger removed: ") + TriggerText(trigger));
    const TriggerView none{};
    const ActionWords words(context, inNew ? none : trigger, inNew ? trigger : none);
    for (size_t k = 0; k < trigger.Keys.size(); ++k)
      lines.Add("trigger actions", inNew ? "trigger action added: " + words.New(k)
                                         : "trigger action removed: " + words.Old(k));
  };
  for (size_t t = both; t < before.Triggers.size(); ++t) whole(before.Triggers[t], false);
  for (size_t t = both; t < after.Triggers.size(); ++t) whole(after.Triggers[t], true);
}

void CompareRecord(const Sector& a, const Sector& b, Lines& lines) {
  const bool wallA = a.Floor == kWallMarker, wallB = b.Floor == kWallMarker;
  if (wallA != wallB) {
    const Sector& open = wallA ? b : a;
    lines.Add("wall",
              std::string(wallB ? "became a wall (was floor " : "no longer a wall (floor ") +
                  Clicks(open.Floor) + ", ceiling " + Clicks(open.Ceiling) + " clicks)");
  } else {
    if (a.Floor != b.Floor)
      lines.Add("floor", "floor " + Arrow(Clicks(a.Floor), Clicks(b.Floor)) + " clicks");
    if (a.Ceiling != b.Ceiling)
      lines.Add("ceiling", "ceiling " + Arrow(Clicks(a.Ceiling), Clicks(b.Ceiling)) + " clicks");
  }
  if (a.BoxIndex != b.BoxIndex)
    lines.Add("box", "box " + Arrow(BoxText(a.BoxIndex), BoxText(b.BoxIndex)));
  if (a.RoomBelow != b.RoomBelow)
    lines.Add("room below", "room below " + Arrow(RoomText(a.RoomBelow), RoomText(b.RoomBelow)));
  if (a.RoomAbove != b.RoomAbove)
    lines.Add("room above", "room above " + Arrow(RoomText(a.RoomAbove), RoomText(b.RoomAbove)));
}

bool SameRecord(const Sector& a, const Sector& b) {
  return a.BoxIndex == b.BoxIndex && a.RoomBelow == b.RoomBelow && a.Floor == b.Floor &&
         a.RoomAbove == b.RoomAbove && a.Ceiling == b.Ceiling;
}

}  // namespace

void CompareSectors(const Context& context, int room, std::vector<Change>& out) {
  const Room& oldRoom = context.Old.Rooms[room];
  const Room& newRoom = context.New.Rooms[room];
  // With the floor data and the item numbers unchanged, equal records mean equal sectors.
  const bool sameWords = context.SameFloorData && context.ItemNumbersKept;
  const int numA = std::min(oldRoom.NumXSectors, newRoom.NumXSectors);
  const int numB = std::min(oldRoom.NumZSectors, newRoom.NumZSectors);
  for (int a = 0; a < numA; ++a)
    for (int b = 0; b < numB; ++b) {
      if (!oldRoom.HasSector(a, b) || !newRoom.HasSector(a, b)) continue;
      const Sector& before = oldRoom.SectorAt(a, b);
      const Sector& after = newRoom.SectorAt(a, b);
      const bool sameRecord = SameRecord(before, after);
      if (sameRecord && sameWords && before.FDIndex == after.FDIndex) continue;
      const FloorList oldList = GetFloorList(context.Old, before.FDIndex);
      const FloorList newList = GetFloorList(context.New, after.FDIndex);
      if (sameRecord && oldList.Words == newList.Words && context.ItemNumbersKept) continue;

      Lines lines;
      CompareRecord(before, after, lines);
      bool changed = !lines.Empty();
      const ListView oldView = ViewOf(context, oldList, true);
      const ListView newView = ViewOf(context, newList, false);
      Lines plain;
      ComparePlain(context, oldView, newView, plain);
      if (!plain.Empty()) changed = true;
      for (std::string& line : plain.TakeDetails()) lines.Add("floor data", std::move(line));
      CompareTriggers(context, oldView, newView, lines, changed);
      if (lines.Empty()) {
        // Same entries, same actions: only their order or the end bits differ.
        if (oldList.Words == newList.Words) continue;
        lines.Add("floor data", "floor-data entries in another order");
        changed = true;
      }
      Change change;
      change.Kind = changed ? ChangeKind::Changed : ChangeKind::Renumbered;
      change.Subject = ChangeSubject::Sector;
      change.Room = room;
      change.A = a;
      change.B = b;
      change.Where = PlaceText(change);
      change.Summary = lines.Summary();
      change.Details = lines.TakeDetails();
      out.push_back(std::move(change));
    }
}

}  // namespace slab::diff
