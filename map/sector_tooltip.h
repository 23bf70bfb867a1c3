// The text shown when the pointer rests on a sector of the map: what the sector panels would
// show for it, on a few lines, so that hovering never disagrees with clicking.
#pragma once

#include <string>

#include "floordata/object_names.h"
#include "level/level.h"

namespace slab {

// For sector (a, b), 0-based, of a room; empty when the room or the sector does not exist.
// Lines: "Room 0, Sector 1,1" (the coordinates as the panel's caption has them), the floor and
// ceiling heights as signed clicks and units ("Floor -2 clicks (-512)", or "Wall"), the portal and
// the rooms above and below, the trigger count with its timer and one line per action, then the
// items ("Item 3 - 15 Tiger") and the static meshes standing on the sector.
std::string SectorTooltip(const Level& level, Game gameVersion, const ObjectNames& names, int room,
                          int a, int b);

}  // namespace slab
