#include "map/trigger_index.h"

#include <algorithm>

#include "floordata/walkers.h"

namespace slab {

TriggerIndex BuildTriggerIndex(const Level& level) {
  TriggerIndex index(level.Items.size());
  std::vector<int> targets;
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    for (int b = 0; b < room.NumZSectors; ++b)
      for (int a = 0; a < room.NumXSectors; ++a) {
        if (!room.HasSector(a, b)) continue;
        const uint16_t fdIndex = room.SectorAt(a, b).FDIndex;
        if (fdIndex == 0) continue;
        targets.clear();
        for (const TriggerEntry& entry : GetTriggerList(level, fdIndex))
          if ((entry.Action == kActionObject || entry.Action == kActionTarget) &&
              static_cast<size_t>(entry.Param) < index.size())
            targets.push_back(entry.Param);
        // A sector that names an item twice is still one place to visit.
        std::sort(targets.begin(), targets.end());
        targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
        for (int item : targets) index[item].push_back({static_cast<int>(r), a, b});
      }
  }
  return index;
}

}  // namespace slab
