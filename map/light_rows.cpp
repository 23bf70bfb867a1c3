// The lights list: each game keeps its lights in its own way, so kind, colour and reach are
// read per game.
#include <cmath>
#include <cstdio>

#include "map/level_tables.h"
#include "map/table_rows.h"

namespace slab {
namespace {

using table_rows::FloatText;

std::string RgbText(unsigned r, unsigned g, unsigned b) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", r & 0xFF, g & 0xFF, b & 0xFF);
  return text;
}

// The kinds of the fourth and fifth game, by their type number.
std::string KindName(int type) {
  static const char* const kKinds[] = {"Sun", "Point", "Spot", "Shadow", "Fog bulb"};
  if (type >= 0 && type < 5) return kKinds[type];
  return "Type " + std::to_string(type);
}

struct LightTexts {
  std::string Kind, Colour, Reach;
};

LightTexts TextsOf(const RoomLight& l, Game gameVersion) {
  switch (gameVersion) {
    case Game::TR1:
      return {"Point", "intensity " + std::to_string(l.Intensity1),
              "fade " + std::to_string(l.Fade1)};
    case Game::TR2:
      return {"Point",
              "intensity " + std::to_string(l.Intensity1) + " / " + std::to_string(l.Intensity2),
              "fade " + std::to_string(l.Fade1) + " / " + std::to_string(l.Fade2)};
    case Game::TR3: {
      // Read with the second game's layout: the two intensities hold the colour's red, green
      // and blue bytes and the kind (0 a sun, 1 a point); the second fade holds a point
      // light's fade, the rest a sun's direction.
      const auto i1 = static_cast<uint16_t>(l.Intensity1);
      const auto i2 = static_cast<uint16_t>(l.Intensity2);
      const std::string colour = RgbText(i1 & 0xFF, i1 >> 8, i2 & 0xFF);
      const int type = i2 >> 8;
      if (type == 0) return {"Sun", colour, "-"};
      return {type == 1 ? "Point" : "Type " + std::to_string(type), colour,
              "fade " + std::to_string(l.Fade2)};
    }
    case Game::TR4: {
      const int type = l.LightType & 0xFF;
      LightTexts t{KindName(type),
                   RgbText(l.Colour[0], l.Colour[1], l.Colour[2]) + ", intensity " +
                       std::to_string(l.Intensity),
                   "in " + FloatText(l.In) + ", out " + FloatText(l.Out)};
      if (type == 0) t.Reach = "-";
      if (type == 2)
        t.Reach += ", length " + FloatText(l.Length) + ", cut-off " + FloatText(l.CutOff);
      return t;
    }
    case Game::TR5: {
      // The kind is the low byte; the byte after it is padding.
      const int type = l.LightType & 0xFF;
      LightTexts t{
          KindName(type),
          "r " + FloatText(l.Red) + ", g " + FloatText(l.Green) + ", b " + FloatText(l.Blue),
          "in " + FloatText(l.In) + ", out " + FloatText(l.Out)};
      if (type == 0) t.Reach = "-";
      if (type == 2) t.Reach += ", range " + FloatText(l.Range);
      return t;
    }
    default:
      return {"-", "-", "-"};
  }
}

}  // namespace

const std::vector<std::string>& LightColumnTitles() {
  static const std::vector<std::string> titles = {"Index", "Room", "Sector", "X",    "Y",
                                                  "Z",     "Kind", "Colour", "Reach"};
  return titles;
}

std::vector<ListRow> BuildLightRows(const Level& level, Game gameVersion) {
  std::vector<ListRow> rows;
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const auto& lights = level.Rooms[r].Lights;
    for (size_t i = 0; i < lights.size(); ++i) {
      const RoomLight& l = lights[i];
      // The fifth game's position is its float one; the integer one is a second copy.
      const bool floats = gameVersion == Game::TR5;
      const double x = floats ? l.FX : l.X, y = floats ? l.FY : l.Y, z = floats ? l.FZ : l.Z;
      auto coordinate = [&](double v) {
        return floats ? FloatText(v) : std::to_string(static_cast<int64_t>(v));
      };
      ListRow row;
      const bool finite =
          std::isfinite(x) && std::isfinite(z) && std::abs(x) < 1e12 && std::abs(z) < 1e12;
      row.Target = finite ? table_rows::TargetAt(level, static_cast<int>(r), std::llround(x),
                                                 std::llround(z))
                          : ListTarget{};
      row.Target.Room = static_cast<int>(r);
      row.Target.Light = static_cast<int>(i);
      LightTexts texts = TextsOf(l, gameVersion);
      row.Cells = {
          std::to_string(i),     std::to_string(r),       table_rows::SectorCell(row.Target),
          coordinate(x),         coordinate(y),           coordinate(z),
          std::move(texts.Kind), std::move(texts.Colour), std::move(texts.Reach)};
      FillRowSearch(row);
      rows.push_back(std::move(row));
    }
  }
  return rows;
}

}  // namespace slab
