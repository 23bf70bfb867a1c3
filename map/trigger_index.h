// For every item, the sectors whose triggers act on it, as "Next Trigger" visits them.
#pragma once

#include "level/level.h"
#include "map/map_state.h"

namespace slab {

// One list per item. A sector is listed once for an item when one of its trigger actions
// names the item as an object or a target. Each list runs in room order, and within a room
// by the second grid coordinate b, then the first a. Built in one pass over the sectors, so
// its cost does not grow with the number of items.
TriggerIndex BuildTriggerIndex(const Level& level);

}  // namespace slab
