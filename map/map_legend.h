// What the room map's colours mean, taken from the colour table the map is drawn with, so the
// legend cannot drift from the picture.
#pragma once

#include <string>
#include <vector>

#include "floordata/rgb.h"
#include "level/game.h"

namespace slab {

enum class LegendKind {
  Fill,     // a sector's whole square
  Marker,   // the small square inside a sector
  Outline,  // a line drawn over the map
};

struct LegendEntry {
  Rgb Colour;
  LegendKind Kind = LegendKind::Fill;
  std::string Meaning;
};

// Every fill colour in the order the map tries its rules (the first that applies wins), then
// the markers, then the selection outline. The functions 20 and 21 are named as the sector
// panel's buttons name them in that game.
std::vector<LegendEntry> MapLegend(Game gameVersion);

// Black or white, whichever reads better on a swatch of that colour (the larger contrast of
// relative luminances), so the swatch's own text stays legible on blue as on yellow.
Rgb ReadableTextOn(Rgb swatch);
// The contrast ratio of two colours, 1 to 21, as accessibility guidelines measure it.
double ContrastRatio(Rgb a, Rgb b);

}  // namespace slab
