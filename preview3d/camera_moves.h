// How the main window's 3D camera moves when the user takes it somewhere: mouse drags turn it
// about the point it looks at or slide it, the wheel moves it toward the point under the
// pointer, held-button flying moves eye and target together, and choosing something elsewhere
// glides the target there. Every move keeps the tilt inside kMaxTilt and the distance
// positive, so the view never flips over the top nor turns inside out. Free of any toolkit.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "level/level.h"
#include "preview3d/matrix.h"
#include "preview3d/orbit_camera.h"

namespace slab {

// The nearest and farthest the wheel and F take the eye from the target, in sectors.
inline constexpr double kLeastDistance = 0.2;
inline constexpr double kMostDistance = 60;

// A left drag of (dx, dy) pixels: the level turns with the pointer, as if held.
void OrbitDrag(OrbitCamera& camera, double dx, double dy);
// A right or middle drag: the point under the pointer at the target's depth stays under it.
// height is the view's height in pixels.
void PanDrag(OrbitCamera& camera, double dx, double dy, int height);
// Eye and target move toward `point` (factor < 1) or away from it (> 1), turned as before:
// the point stays where it is seen. The distance stays within kLeastDistance..kMostDistance.
void DollyAbout(OrbitCamera& camera, Vec3 point, double factor);
// A right drag while flying: the camera turns about the eye, as one looks round.
void LookDrag(OrbitCamera& camera, double dx, double dy);
// Eye and target move together: forward along the line of sight, right across it.
void FlyStep(OrbitCamera& camera, double forward, double right);
// The target moves to `point`; heading, tilt and distance stay.
void LookAt(OrbitCamera& camera, Vec3 point);
// The distance at which every point lies inside a view of aspect width / height, with a small
// margin, turned and aimed as the camera is; never less than `least`.
void FitPoints(OrbitCamera& camera, std::span<const Vec3> points, double aspect, double least);

// A box of the level in sector units, Y up.
struct SceneBox {
  Vec3 Min, Max;
  Vec3 Centre() const { return {(Min.X + Max.X) / 2, (Min.Y + Max.Y) / 2, (Min.Z + Max.Z) / 2}; }
};
// The room's box: its sectors from its lowest to its highest vertex (its floor and ceiling
// heights where it has none). Nothing for a room the level lacks.
std::optional<SceneBox> RoomBox(const Level& level, int room);
// Home: the target at the room's middle, far enough back that all of it is in view.
bool FrameWholeRoom(OrbitCamera& camera, const Level& level, int room, double aspect);
// F: the target at the box's middle and the box in view, at least a sector and a half away.
void FrameBox(OrbitCamera& camera, const SceneBox& box, double aspect);

// Where the camera looks for a sector: its middle at its floor's height (the room's floor for
// a wall). Nothing for a sector the room lacks.
std::optional<Vec3> SectorPoint(const Level& level, int room, int x, int z);

// What is selected, for F: the chosen item or AI object (entity), else the chosen static mesh
// of the room, else the selected sector; each as a box around where it stands.
struct CameraSelection {
  int Room = -1;
  std::optional<std::pair<int, int>> Sector;
  int Entity = -1;
  int Static = -1;
};
std::optional<SceneBox> SelectionBox(const Level& level, const CameraSelection& selection);

// A short glide from one camera to another, so a chosen place does not jump into view.
inline constexpr int64_t kGlideMs = 250;
struct CameraGlide {
  OrbitCamera From, To;
  int64_t Start = 0;
};
// The camera at time now (ms): From at Start, To from Start + kGlideMs on, eased between; the
// heading the short way round.
OrbitCamera GlideAt(const CameraGlide& glide, int64_t now);

}  // namespace slab
