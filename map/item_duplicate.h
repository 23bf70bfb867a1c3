// Ctrl+D: a copy of the chosen entity on the selected sector.
#pragma once

#include <optional>

#include "level/document.h"
#include "map/map_state.h"

namespace slab {

// The chosen item or AI object copied (type, angle, flags, OCB and, for an item, both
// intensities) and placed as "Add" places a new item: at the centre of the selected sector
// of the current room, on its floor. An item copy goes after the last item, an AI object's
// after the last AI object. Returns the copy's entity number.
std::optional<int> DuplicateEntity(Document& doc, const MapState& state);

}  // namespace slab
