#include "map/trigger_index.h"

#include "floordata/walkers.h"

namespace slab {

TriggerIndex BuildTriggerIndex(const Level& level) {
  TriggerIndex index(level.Items.size());
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    const int numA = room.NumXSectors, numB = room.NumZSectors;
    const size_t stored = room.Sectors.size();
    for (int b = 0; b < numB; ++b)
      for (int a = 0; a < numA; ++a) {
        const size_t at = static_cast<size_t>(a) * numB + b;
        if (at >= stored) continue;
        const uint16_t fdIndex = room.Sectors[at].FDIndex;
        if (fdIndex == 0) continue;
        const TriggerLocation here{static_cast<int>(r), a, b};
        for (const TriggerEntry& entry : GetTriggerList(level, fdIndex)) {
          if (entry.Action != kActionObject && entry.Action != kActionTarget) continue;
          if (static_cast<size_t>(entry.Param) >= index.size()) continue;
          // A sector that names an item twice is still one place to visit; its entry is
          // the last one appended so far, since sectors are visited in order.
          std::vector<TriggerLocation>& list = index[entry.Param];
          if (list.empty() || !(list.back() == here)) list.push_back(here);
        }
      }
  }
  return index;
}

}  // namespace slab
