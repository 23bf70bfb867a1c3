#include "map/navigation.h"

#include <cmath>

#include "floordata/sector_contents.h"
#include "floordata/walkers.h"

namespace slab {
namespace {

// Makes the room current and selects sector (a, b) there.
std::optional<NavigationView> Land(const Document& doc, MapState& state, const ObjectNames& names,
                                   int room, int a, int b, bool keepNavigation) {
  auto roomView = ChooseRoom(doc, state, room);
  if (!roomView) return std::nullopt;
  NavigationView view{*roomView, std::nullopt};
  if (!doc.CurrentLevel.Rooms[room].HasSector(a, b)) return view;
  state.SelectedSectorX = a;
  state.SelectedSectorZ = b;
  DrawSelection(state);
  view.Panel = ShowSelectedSector(doc, state, names, keepNavigation);
  return view;
}

}  // namespace

std::optional<NavigationView> GotoObject(const Document& doc, MapState& state,
                                         const ObjectNames& names, int triggerLine) {
  const Level& level = doc.CurrentLevel;
  if (state.CurrentRoom < 0 || static_cast<size_t>(state.CurrentRoom) >= level.Rooms.size())
    return std::nullopt;
  const Room& room = level.Rooms[state.CurrentRoom];
  if (!room.HasSector(state.SelectedSectorX, state.SelectedSectorZ)) return std::nullopt;
  const auto entries =
      GetTriggerList(level, room.SectorAt(state.SelectedSectorX, state.SelectedSectorZ).FDIndex);
  if (triggerLine < 0 || static_cast<size_t>(triggerLine) >= entries.size()) return std::nullopt;
  const TriggerEntry& entry = entries[triggerLine];
  if (entry.Action != kActionObject && entry.Action != kActionTarget) return std::nullopt;
  if (static_cast<size_t>(entry.Param) >= level.Items.size()) return std::nullopt;
  const Item& item = level.Items[entry.Param];
  if (item.Room < 0 || static_cast<size_t>(item.Room) >= level.Rooms.size()) return std::nullopt;
  const RoomInfo& info = level.Rooms[item.Room].Info;
  return Land(doc, state, names, item.Room, SectorOfPosition(item.X, info.X),
              SectorOfPosition(item.Z, info.Z), false);
}

std::optional<NavigationView> ItemNextTrigger(const Document& doc, MapState& state,
                                              const ObjectNames& names, MessageSink& messages) {
  const int entity = state.NavigationEntity;
  if (entity < 0) return std::nullopt;
  const bool known = static_cast<size_t>(entity) < state.Triggers.size();
  if (!known || state.Triggers[entity].empty()) {
    messages.Show(kNoTriggerMessage, kNoTriggerTitle);
    return std::nullopt;
  }
  const std::vector<TriggerLocation>& list = state.Triggers[entity];
  if (state.NavigationPosition < 0 || static_cast<size_t>(state.NavigationPosition) >= list.size())
    state.NavigationPosition = 0;
  const TriggerLocation at = list[state.NavigationPosition];
  state.NavigationPosition = (state.NavigationPosition + 1) % static_cast<int>(list.size());
  auto view = Land(doc, state, names, at.Room, at.X, at.Z, true);
  state.NavigationEntity = entity;
  return view;
}

}  // namespace slab
