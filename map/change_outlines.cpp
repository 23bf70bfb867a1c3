#include "map/change_outlines.h"

#include "map/draw_room.h"

namespace slab {

void OutlineChangedSectors(MapImage& picture, const std::vector<SectorSpot>& sectors) {
  picture.SetOutlineColour(map_colour::kChanged);
  for (const SectorSpot& s : sectors) {
    if (s.A < 0 || s.B < 0 || s.A >= kMaxMapSectors || s.B >= kMaxMapSectors) continue;
    // The sector's fill runs over these eight pixels each way (DrawRoom's box minus its
    // outline); the ring takes the fill's outermost pixels.
    const int left = kSectorPixels * s.B, right = left + kSectorPixels - 3;
    const int top = kSectorPixels * s.A, bottom = top + kSectorPixels - 3;
    picture.DrawLine(left, top, right, top);
    picture.DrawLine(left, bottom, right, bottom);
    picture.DrawLine(left, top, left, bottom);
    picture.DrawLine(right, top, right, bottom);
  }
}

}  // namespace slab
