// Following triggers both ways: from a trigger line to the object it acts on ("Find
// Object"), and from the chosen item to each sector that triggers it ("Next Trigger").
#pragma once

#include <optional>

#include "floordata/object_names.h"
#include "floordata/sector_panel.h"
#include "level/document.h"
#include "map/map_state.h"
#include "map/selection.h"
#include "platform/messages.h"

namespace slab {

// Where a jump landed: the room made current and the panels of the sector selected there
// (empty when the sector lies outside the room's grid, and nothing is selected).
struct NavigationView {
  RoomView Room;
  std::optional<SectorPanel> Panel;
};

// "Find Object" for line `triggerLine` of the selected sector's trigger list. Only object
// and target actions lead anywhere.
std::optional<NavigationView> GotoObject(const Document& doc, MapState& state,
                                         const ObjectNames& names, int triggerLine);

inline constexpr char kNoTriggerMessage[] = "No trigger found for this object!";
inline constexpr char kNoTriggerTitle[] = "Slabwright2";

// "Next Trigger": shows the next sector that triggers the followed item, in index order,
// starting again at the first after the last. The item stays followed across presses, even
// though showing the sector rebuilds the item list.
std::optional<NavigationView> ItemNextTrigger(const Document& doc, MapState& state,
                                              const ObjectNames& names, MessageSink& messages);

}  // namespace slab
