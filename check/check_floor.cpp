// Checks of the sectors' floor-data lists and the triggers in them.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include "check/check_context.h"
#include "level/text.h"

namespace slab::checks {
namespace {

// The highest function code each game's floor-data reader knows; it stops the game at any other.
int LastFunctionCode(Game game) {
  switch (game) {
    case Game::TR1:
      return kFdKill;
    case Game::TR2:
      return kFdClimb;
    default:
      return kFdFunction21;
  }
}

uint16_t WordAt(const Level& level, size_t word) {
  return static_cast<uint16_t>(level.FloorData[2 * word] | level.FloorData[2 * word + 1] << 8);
}

Place SectorPlaceOf(const SectorList& s) {
  return {.Room = s.Room, .SectorX = s.X, .SectorZ = s.Z};
}

uint16_t IndexOf(const Level& level, const SectorList& s) {
  return level.Rooms[static_cast<size_t>(s.Room)].SectorAt(s.X, s.Z).FDIndex;
}

// The value of an action word as the games read it (ten bits).
int ValueOf(const FloorList& list, const FloorEntry& trigger, size_t action) {
  return list.Words[trigger.ActionAt[action]] & kActionItemBits;
}

std::string TriggerText(const SectorList& s) {
  return RoomText(s.Room) + "'s trigger at sector " + SectorPlace(s.X, s.Z);
}

// The room a sector's portal entry leads to, as the walk reads it.
int PortalRoom(const FloorList& list, const FloorEntry& entry) {
  return entry.Length > 1 ? list.Words[entry.First + 1] & 0xFF : -1;
}

}  // namespace

// The games index the floor data with a sector's index and walk its list until the end bit,
// trusting both: an index past the end or a list without its end reads whatever memory follows.
// A function code the game does not know stops it with a fatal "unknown type". Only the first
// trigger of a list is ever tested; a second does nothing.
void CheckFloorData(Context& c) {
  const size_t words = c.L.FloorData.size() / 2;
  ForEachSector(c.L, [&](int r, const Room&, int x, int z, const Sector& sector) {
    if (sector.FDIndex != 0 && sector.FDIndex >= words)
      c.Add("floor-index", {.Room = r, .SectorX = x, .SectorZ = z},
            RoomText(r) + "'s sector " + SectorPlace(x, z) + " starts its floor data at word " +
                std::to_string(sector.FDIndex) + "; the floor data has " +
                Count(words, "word", "words"));
  });
  const int lastCode = LastFunctionCode(c.G);
  for (const SectorList& s : c.Lists()) {
    const Place at = SectorPlaceOf(s);
    const uint16_t index = IndexOf(c.L, s);
    if (!ListEndsSoundly(c.L, index)) {
      const size_t next = index + s.List.Words.size();
      const int code = next < words ? FunctionCode(WordAt(c.L, next)) : 0;
      if (next < words && !KnownFunctionCode(code))
        c.Add("floor-function", at,
              SectorText(s) + "'s list holds function " + std::to_string(code) + " at word " +
                  std::to_string(next) + ", which no game knows");
      else
        c.Add("floor-end", at,
              SectorText(s) + "'s list starts at word " + std::to_string(index) +
                  " and has no end before the floor data ends at word " + std::to_string(words));
    }
    int triggers = 0;
    for (const FloorEntry& entry : s.List.Entries) {
      if (entry.Code == kFdTrigger) ++triggers;
      if (entry.Code > lastCode)
        c.Add("floor-function", at,
              SectorText(s) + "'s list holds function " + std::to_string(entry.Code) + "; " +
                  GameText(c.G) + " knows functions 1 to " + std::to_string(lastCode));
      if (entry.Code == kFdPortal) {
        const int to = PortalRoom(s.List, entry);
        if (to >= 0 && !HasRoom(c.L, to))
          c.Add("sector-portal-room", at,
                SectorText(s) + " has a portal to room " + std::to_string(to) +
                    LevelHas(c.L.Rooms.size(), "room", "rooms"));
      }
    }
    if (triggers > 1)
      c.Add("floor-triggers", at,
            SectorText(s) + " holds " + std::to_string(triggers) +
                " triggers; the game tests only the first");
  }
}

// Actions name items, cameras, sinks and fly-by sequences by number, and the games take the
// number as it is. A switch, key or pickup trigger's first action is the switch, keyhole or
// pickup itself, whatever its kind: the game reads that word's value as an item.
void CheckTriggerActions(Context& c) {
  std::set<int> sequences;
  for (const FlybyCamera& camera : c.L.FlybyCameras) sequences.insert(camera.Bytes[24]);
  const bool cameras = c.Kept(c.L.Cameras);
  const bool flybys = (c.G == Game::TR4 || c.G == Game::TR5) && c.Kept(c.L.FlybyCameras);
  for (const SectorList& s : c.Lists()) {
    const Place at = SectorPlaceOf(s);
    for (const FloorEntry& trigger : s.List.Entries) {
      if (trigger.Code != kFdTrigger || trigger.Actions.empty()) continue;
      for (size_t i = 0; i < trigger.Actions.size(); ++i) {
        const int action = trigger.Actions[i].Action;
        const int value = ValueOf(s.List, trigger, i);
        auto missing = [&](const char* check, const char* what, size_t count, const char* one,
                           const char* many) {
          c.Add(check, at,
                TriggerText(s) + " names " + what + " " + std::to_string(value) +
                    LevelHas(count, one, many));
        };
        if (ActionNamesItem(action) && static_cast<size_t>(value) >= c.L.Items.size())
          missing("trigger-item", "item", c.L.Items.size(), "item", "items");
        else if (action == kActionCamera && cameras &&
                 static_cast<size_t>(value) >= c.L.Cameras.size())
          missing("trigger-camera", "camera", c.L.Cameras.size(), "camera", "cameras");
        else if (action == kActionSink && cameras &&
                 static_cast<size_t>(value) >= c.L.Cameras.size())
          missing("trigger-sink", "sink", c.L.Cameras.size(), "camera or sink",
                  "cameras and sinks");
        else if (action == kActionFlyby && flybys && !sequences.count(value))
          c.Add("trigger-flyby", at,
                TriggerText(s) + " names fly-by sequence " + std::to_string(value) +
                    "; no fly-by camera belongs to it");
      }
      const int type = trigger.Actions[0].TriggerType;
      if (type != kTriggerSwitch && type != kTriggerKey && type != kTriggerPickup) continue;
      const char* kind = type == kTriggerSwitch ? "switch" : type == kTriggerKey ? "key" : "pickup";
      const char* what = type == kTriggerKey ? "keyhole" : kind;  // the item the trigger is for
      if (trigger.Actions[0].Action != kActionObject)
        c.Add("trigger-first-action", at,
              TriggerText(s) + " is a " + kind + " trigger whose first action is of kind " +
                  std::to_string(trigger.Actions[0].Action) +
                  ", not an object; the game takes its value " +
                  std::to_string(ValueOf(s.List, trigger, 0)) + " as the " + what);
      else if (trigger.Actions.size() == 1 && type != kTriggerPickup)
        c.Add("trigger-alone", at,
              TriggerText(s) + " is a " + kind + " trigger with no action after its " + what +
                  ", item " + std::to_string(ValueOf(s.List, trigger, 0)));
      if (trigger.Actions[0].Action != kActionObject) continue;
      // Lara uses the switch, keyhole or pickup where she stands: every such item of the
      // official levels stands on the trigger's sector or the next one. One farther away is
      // another item, as when items were renumbered under the trigger.
      const size_t item = static_cast<size_t>(ValueOf(s.List, trigger, 0));
      if (item >= c.L.Items.size()) continue;
      const Item& named = c.L.Items[item];
      const Room& room = c.L.Rooms[static_cast<size_t>(s.Room)];
      const int64_t away = std::max(std::abs(named.X - SectorMiddle(room.Info.X, s.X)),
                                    std::abs(named.Z - SectorMiddle(room.Info.Z, s.Z)));
      if (away > kSectorUnits + kSectorUnits / 2)
        c.Add("trigger-first-item", at,
              TriggerText(s) + " is a " + kind + " trigger whose " + what + ", item " +
                  std::to_string(item) + ", stands " +
                  std::to_string((away + kSectorUnits / 2) / kSectorUnits) + " sectors away (X " +
                  std::to_string(named.X) + ", Z " + std::to_string(named.Z) + ")");
    }
  }
}

// Faults designers and engine maintainers have met in shipped levels.
void CheckGameplay(Context& c) {
  struct SecretAt {
    int Room, X, Z;
  };
  std::map<int, SecretAt> secrets;
  // A base room and its alternate hold the same secret by design: the flip shows one of them.
  auto flipPair = [&](int a, int b) {
    auto alt = [&](int r) {
      return static_cast<int>(c.L.Rooms[static_cast<size_t>(r)].AlternateRoom);
    };
    return alt(a) == b || alt(b) == a;
  };
  for (const SectorList& s : c.Lists()) {
    const Place at = SectorPlaceOf(s);
    for (const FloorEntry& entry : s.List.Entries) {
      if (entry.Code == kFdPortal) {
        // The game moves Lara into the portal's room at the sector's place: a room that does not
        // hold it puts her outside every sector of her room.
        const int to = PortalRoom(s.List, entry);
        if (!HasRoom(c.L, to)) continue;
        const Room& from = c.L.Rooms[static_cast<size_t>(s.Room)];
        const int64_t wx = SectorMiddle(from.Info.X, s.X), wz = SectorMiddle(from.Info.Z, s.Z);
        int a = 0, b = 0;
        if (!SectorAtWorld(c.L.Rooms[static_cast<size_t>(to)], wx, wz, a, b))
          c.Add("sector-portal-place", at,
                SectorText(s) + " has a portal to room " + std::to_string(to) +
                    ", which does not hold the sector's place (X " + std::to_string(wx) + ", Z " +
                    std::to_string(wz) + ")");
      }
      if (entry.Code != kFdTrigger) continue;
      std::set<int> items;
      bool repeated = false;
      for (size_t i = 0; i < entry.Actions.size(); ++i) {
        const TriggerEntry& action = entry.Actions[i];
        const int value = ValueOf(s.List, entry, i);
        if (action.Action == kActionObject && !items.insert(value).second && !repeated) {
          repeated = true;
          c.Add("trigger-repeat", at,
                TriggerText(s) + " names item " + std::to_string(value) + " twice");
        }
        if (action.Action == kActionSecret) {
          const auto [first, added] = secrets.try_emplace(value, SecretAt{s.Room, s.X, s.Z});
          if (!added && first->second.Room != s.Room && !flipPair(first->second.Room, s.Room))
            c.Add("secret-shared", at,
                  TriggerText(s) + " gives secret " + std::to_string(value) + ", as room " +
                      std::to_string(first->second.Room) + "'s trigger at sector " +
                      SectorPlace(first->second.X, first->second.Z) + " does");
        }
        // A floor trigger without the one-shot bit starts its track again each time Lara steps
        // on it once the track has changed.
        if (action.Action == kActionMusic && action.TriggerType == kTriggerFloor &&
            !(action.Setup & kSetupOneShot))
          c.Add("music-repeat", at,
                TriggerText(s) + " plays track " + std::to_string(value) + " and is not one-shot");
      }
    }
  }
}

}  // namespace slab::checks
