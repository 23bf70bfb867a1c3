// The floor data of a converted level: a sector whose list holds an entry the older engines
// do not know would make them read garbage, so it loses its list.
#include "floordata/walkers.h"
#include "write/convert_tr4.h"

namespace slab {

void DropUnknownFloorData(Level& level) {
  const int32_t numWords = static_cast<int32_t>(level.FloorData.size() / 2);
  for (Room& room : level.Rooms)
    for (Sector& sector : room.Sectors) {
      // An index past the floor data names no list; the sector keeps it as it is.
      const int32_t index = static_cast<int16_t>(sector.FDIndex);
      if (index <= 0 || index > numWords) continue;
      if (!ListEndsSoundly(level, sector.FDIndex)) sector.FDIndex = 0;
    }
}

}  // namespace slab
