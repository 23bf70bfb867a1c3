// Game units as the 3D scene holds them: sectors (game units / kSectorUnits), with the game's
// downward Y turned upward.
#pragma once

#include "level/level.h"
#include "preview3d/matrix.h"

namespace slab {

inline float SceneUnits(double units) { return static_cast<float>(units / kSectorUnits); }

inline Vec3 ScenePosition(double x, double y, double z) {
  return {SceneUnits(x), -SceneUnits(y), SceneUnits(z)};
}

}  // namespace slab
