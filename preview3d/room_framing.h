// Framing a room with the main window's orbit camera, and finding the floor sector under a
// pixel of its 3D view. Free of any toolkit: the view hands over its size and the pixel.
#pragma once

#include <optional>

#include "level/level.h"
#include "preview3d/matrix.h"
#include "preview3d/orbit_camera.h"

namespace slab {

// Points the camera at the whole room, seen from above over its walls: the target is the
// centre of the room's sectors in X and Z at its floor height (YBottom), and the heading is
// kept. The tilt (about 25 to 75 degrees) and the
// distance are the pair that brings the eye nearest while (1) the eye stays half a sector
// above the room's highest face, so no wall drawn from behind hides the room, and (2) every
// corner of every face drawn when seen along the line of sight (floors, the far walls,
// double-sided faces) lies inside the 90-degree view of a drawing area aspect = width /
// height wide, with a small margin; ceilings and near walls are culled, so they need not fit.
// A room without faces fits the box of its sectors from YTop to YBottom. The eye is placed
// at once. The distance may exceed the keys' 20 for a large room. Returns false, changing nothing,
// when the room does not exist or has no sectors.
bool FrameRoom(OrbitCamera& camera, const Level& level, int room, double aspect);

// Where a point (sector units, Y up) appears in a drawing area of width x height: x to the
// right and y down from the top-left corner, in the units of width and height. Nothing when
// the point lies behind the near plane or the area is empty. The same projection as drawing:
// 90 degrees vertically, the camera's eye as PlaceOrbitEye last placed it.
struct ScreenPoint {
  double X = 0, Y = 0;
};
std::optional<ScreenPoint> ProjectPoint(const OrbitCamera& camera, int width, int height,
                                        Vec3 point);

// The sector (0-based column X and row Z) of the room whose floor is seen at (x, y) of a
// drawing area of width x height (coordinates as for ProjectPoint; a pixel's centre is at
// +0.5). The ray from the eye through the point meets the room's own faces: the nearest face
// that looks upwards (a floor or a slope, seen from above; a double-sided face, as the
// bit 0x8000 of its texture word marks it, from either side) decides, and its hit point
// names the sector. Walls and ceilings neither count nor hide a floor. Nothing when no floor is
// hit, when the hit lies outside the room's sectors, or when the room or the area is empty.
struct SectorPick {
  int X = 0, Z = 0;
  bool operator==(const SectorPick&) const = default;
};
std::optional<SectorPick> PickFloorSector(const OrbitCamera& camera, const Level& level, int room,
                                          int width, int height, double x, double y);
// The same with how far along the ray the floor was met, in the units RayThroughPoint's
// direction has (one along the line of sight), to weigh it against other rooms' faces.
struct FloorPick {
  SectorPick Sector;
  double Along = 0;
};
std::optional<FloorPick> PickFloor(const OrbitCamera& camera, const Level& level, int room,
                                   int width, int height, double x, double y);

}  // namespace slab
