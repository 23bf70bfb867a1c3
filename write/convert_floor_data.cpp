// The floor data of a converted level: a sector whose list holds an entry the older engines
// do not know would make them read garbage, so it loses its list.
#include "write/convert_tr4.h"

namespace slab {

namespace {


// Words of each entry but the trigger; 0 for codes the older engines do not know.
int EntryWords(int code) {
  if (code == 1 || code == 2 || code == 3 || (code >= 7 && code <= 18)) return 2;
  if (code == 5 || code == 6 || (code >= 19 && code <= 21)) return 1;
  return 0;
}

// Whether the list at index ends properly: every entry known and inside the floor data,
// the last one marked. A trigger is stepped over as its whole action list, as the floor-data
// decoder reads it: setup word, then action words up to the one marked last, camera and
// fly-by actions with one more word that carries the mark.
bool ListIsSound(const std::vector<uint8_t>& bytes, size_t index) {
  const size_t count = bytes.size() / 2;
  auto word = [&](size_t i) { return static_cast<uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8); };
  size_t pos = index;
  while (pos < count) {
    const uint16_t function = word(pos);
    const int code = function & 0x1F;
    if (code == 4) {
      size_t action = pos + 2;
      while (true) {
        if (action >= count) return false;
        const uint16_t a = word(action);
        const int kind = (a & 0x3C00) >> 10;
        uint16_t endWord = a;
        if (kind == 1 || kind == 12) {
          if (++action >= count) return false;
          endWord = word(action);
        }
        ++action;
        if (endWord & kFloorDataEnd) break;
      }
      pos = action;
    } else {
      const int length = EntryWords(code);
      if (length == 0 || pos + length > count) return false;
      pos += static_cast<size_t>(length);
    }
    if (function & kFloorDataEnd) return true;
  }
  return false;
}

}  // namespace

void DropUnknownFloorData(Level& level) {
  const int32_t numWords = static_cast<int32_t>(level.FloorData.size() / 2);
  for (Room& room : level.Rooms)
    for (Sector& sector : room.Sectors) {
      const int32_t index = static_cast<int16_t>(sector.FDIndex);
      if (index <= 0 || index > numWords) continue;
      if (!ListIsSound(level.FloorData, static_cast<size_t>(index))) sector.FDIndex = 0;
    }
}

}  // namespace slab
