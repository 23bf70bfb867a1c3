#include "map/static_edits.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "floordata/sector_contents.h"

namespace slab {
namespace {

// A 15-bit colour (five bits each of red, green and blue, red highest) from 8-bit channels.
int16_t Colour15(int red, int green, int blue) {
  return static_cast<int16_t>((red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3));
}

int16_t AmbientColour(const Room& room, Game gameVersion) {
  if (gameVersion == Game::TR3) {
    // A darkness from 0 (bright) to 8191, as a grey.
    const int darkness = std::clamp<int>(room.AmbientIntensity1, 0, 8191);
    const int grey = static_cast<int>(std::lround((8191 - darkness) * 255.0 / 8191));
    return Colour15(grey, grey, grey);
  }
  // The room colour's bytes, lowest first, are blue, green, red and a spare byte; the fifth
  // game keeps them in four single bytes.
  if (gameVersion == Game::TR5)
    return Colour15(room.ReverbInfo, room.WaterScheme, room.Tr5RoomByte);
  const auto low = static_cast<uint16_t>(room.AmbientIntensity1);
  const auto high = static_cast<uint16_t>(room.AmbientIntensity2);
  return Colour15(high & 0xFF, low >> 8, low & 0xFF);
}

}  // namespace

std::vector<StaticMeshChoice> StaticMeshChoices(const Level& level, Game gameVersion,
                                                const ObjectNames& names) {
  std::vector<StaticMeshChoice> choices;
  for (const StaticMeshDef& def : level.StaticMeshDefs)
    choices.push_back(
        {def.ID, std::to_string(def.ID) + " " + StaticName(names, def.ID, gameVersion)});
  return choices;
}

std::vector<SectorStatic> SectorStatics(const Level& level, Game gameVersion,
                                        const ObjectNames& names, int room, int a, int b) {
  std::vector<SectorStatic> lines;
  for (int index : StaticsOnSector(level, room, a, b))
    lines.push_back(
        {index, StaticName(names, level.Rooms[room].StaticMeshes[index].ObjectID, gameVersion)});
  return lines;
}

std::pair<int16_t, int16_t> NewStaticIntensities(const Level& level, Game gameVersion, int room) {
  const Room& r = level.Rooms[room];
  if (!r.StaticMeshes.empty()) {
    std::map<std::pair<int16_t, int16_t>, int> uses;
    std::pair<int16_t, int16_t> best{};
    int bestUses = 0;
    for (const RoomStatic& s : r.StaticMeshes) {
      const std::pair pair{s.Intensity1, s.Intensity2};
      if (const int n = ++uses[pair]; n > bestUses) best = pair, bestUses = n;
    }
    return best;
  }
  switch (gameVersion) {
    case Game::TR1:
      return {r.AmbientIntensity1, 0};
    case Game::TR2:
      return {r.AmbientIntensity1, r.AmbientIntensity2};
    case Game::TR3: {
      const int16_t colour = AmbientColour(r, gameVersion);
      return {colour, colour};
    }
    default:
      return {AmbientColour(r, gameVersion), 0};
  }
}

std::optional<RoomStatic> NewStatic(const Level& level, Game gameVersion, int room, int a, int b,
                                    int choice) {
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return std::nullopt;
  const Room& r = level.Rooms[room];
  if (!r.HasSector(a, b) || choice < 0 ||
      static_cast<size_t>(choice) >= level.StaticMeshDefs.size())
    return std::nullopt;
  RoomStatic s;
  s.X = r.Info.X + kSectorUnits * a + kSectorUnits / 2;
  s.Z = r.Info.Z + kSectorUnits * b + kSectorUnits / 2;
  // The floor byte counts clicks of 256 units, signed.
  s.Y = static_cast<int8_t>(r.SectorAt(a, b).Floor) * 256;
  s.Rotation = 0;
  std::tie(s.Intensity1, s.Intensity2) = NewStaticIntensities(level, gameVersion, room);
  s.ObjectID = static_cast<uint16_t>(level.StaticMeshDefs[static_cast<size_t>(choice)].ID);
  return s;
}

}  // namespace slab
