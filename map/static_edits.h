// The Static Meshes panel: the level's static meshes to choose from, the ones standing on the
// selected sector, and the records that adding one places.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "floordata/object_names.h"
#include "level/level.h"

namespace slab {

// CurMesh: one line per static mesh of the level, in the level's order ("10 Furniture 0").
struct StaticMeshChoice {
  int Id = 0;
  std::string Text;
};
std::vector<StaticMeshChoice> StaticMeshChoices(const Level& level, Game gameVersion,
                                                const ObjectNames& names);

// StaticID: the static meshes at the centre of sector (a, b), by their place in the room's
// list, each with its name.
struct SectorStatic {
  int Index = 0;
  std::string Text;
};
std::vector<SectorStatic> SectorStatics(const Level& level, Game gameVersion,
                                        const ObjectNames& names, int room, int a, int b);

// The two intensities of a static added to the room: the pair most of its statics use (the
// one counted to the top first on a tie), or, in a room without statics, its ambient light in the
// form the game's statics take (a darkness up to the second game, a 15-bit colour from the third
// on).
std::pair<int16_t, int16_t> NewStaticIntensities(const Level& level, Game gameVersion, int room);

// The static mesh at position `choice` of CurMesh, at the centre of sector (a, b) on its
// floor, facing 0. Nothing for a sector or choice that does not exist.
std::optional<RoomStatic> NewStatic(const Level& level, Game gameVersion, int room, int a, int b,
                                    int choice);

}  // namespace slab
