#include "map/map_legend.h"

#include <algorithm>
#include <cmath>

#include "map/box_outlines.h"
#include "map/draw_room.h"

namespace slab {

namespace {

double Luminance(Rgb c) {
  const auto channel = [](uint8_t v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.R) + 0.7152 * channel(c.G) + 0.0722 * channel(c.B);
}

}  // namespace

double ContrastRatio(Rgb a, Rgb b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb ReadableTextOn(Rgb swatch) {
  constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255};
  return ContrastRatio(swatch, kBlack) >= ContrastRatio(swatch, kWhite) ? kBlack : kWhite;
}

std::vector<LegendEntry> MapLegend(Game gameVersion) {
  using namespace map_colour;
  const bool later = gameVersion == Game::TR4 || gameVersion == Game::TR5;
  const std::string f20 = later ? "Trigger Triggerer" : "Minecart Left";
  const std::string f21 = later ? "Clockwise Beatle" : "Minecart Right";
  return {
      {kBlocked, LegendKind::Fill, "Blocked pathfinding box (third and fourth game)"},
      {kMonkey, LegendKind::Fill, "Monkey-swing ceiling"},
      {kMinecartStop, LegendKind::Fill, "Minecart Stop (functions 20 and 21)"},
      {kFunction20, LegendKind::Fill, f20 + " (function 20)"},
      {kFunction21, LegendKind::Fill, f21 + " (function 21)"},
      {kKill, LegendKind::Fill, "Kill square"},
      {kOuterWall, LegendKind::Fill, "Outer wall of the room"},
      {kPortal, LegendKind::Fill, "Portal to another room, or a room above or below"},
      {kTrigger, LegendKind::Fill, "Trigger"},
      {kWall, LegendKind::Fill, "Wall, or a floor as high as its ceiling"},
      {kFloor, LegendKind::Fill, "Open floor"},
      {kItemMarker, LegendKind::Marker,
       "Item or AI object at the sector's centre (upper half when a static mesh is there too)"},
      {kStaticMarker, LegendKind::Marker,
       "Static mesh at the sector's centre (lower half when an item is there too)"},
      {kSelection, LegendKind::Outline, "Selected sector"},
      {kChanged, LegendKind::Outline,
       "Sector that differs from the compared version (while Differences outline them)"},
      {kBoxOutlineColour, LegendKind::Outline,
       "Border of a pathfinding box (drawn while \"Boxes\" is ticked)"},
      {kBoxOutlineColour, LegendKind::Outline,
       "Diagonal: a sector of a blocked pathfinding box (while \"Boxes\" is ticked)"},
  };
}

}  // namespace slab
