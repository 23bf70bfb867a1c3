// The ring the room map draws inside each sector that differs from a compared version of the
// level. It is drawn over a copy of the shown picture, so the map itself stays as it is.
#pragma once

#include <compare>
#include <vector>

#include "map/map_image.h"

namespace slab {

// A sector of the room shown, 0-based grid coordinates (a drawn downwards, b to the right).
struct SectorSpot {
  int A = 0;
  int B = 0;
  auto operator<=>(const SectorSpot&) const = default;
};

// Rings each sector just inside its black outline: the selection's blue line around the
// sector and the markers at its centre stay visible. Sectors outside the picture are skipped.
void OutlineChangedSectors(MapImage& picture, const std::vector<SectorSpot>& sectors);

}  // namespace slab
