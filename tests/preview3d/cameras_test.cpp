// The viewer's free camera and the main window's orbit camera (mouse look and the wheel are
// driven through the viewer window in render_test).
#include <gtest/gtest.h>

#include "preview3d/key_codes.h"
#include "preview3d/orbit_camera.h"
#include "preview3d/viewer_camera.h"

namespace slab {
namespace {

Room RoomAt(int x, int z, int xs, int zs, int yBottom, int yTop, uint8_t floor = 0) {
  Room room;
  room.Info = {x, z, yBottom, yTop};
  room.NumXSectors = static_cast<int16_t>(xs);
  room.NumZSectors = static_cast<int16_t>(zs);
  room.Sectors.assign(static_cast<size_t>(xs * zs), Sector{0, 0, 255, floor, 255, 0});
  return room;
}

TEST(ViewerCamera, StartsAboveThePlayerUnlessAWallOrNothingIsThere) {
  // Room 0 is all wall; room 1 (at sector 4, 2; 5 x 4) is open but for its outer ring, with
  // its floor two clicks up.
  Level level;
  level.Rooms = {RoomAt(0, 0, 3, 3, 0, -2048, 0x81), RoomAt(4096, 2048, 5, 4, 0, -4096, 0x81)};
  for (int a = 1; a < 4; ++a)
    for (int b = 1; b < 3; ++b) level.Rooms[1].SectorAt(a, b).Floor = static_cast<uint8_t>(-2);
  const Item open{0, 1, 6144 + 100, -512, 4096 + 100};  // sector (2, 2)
  const Item inWall{0, 1, 4096 + 10, -512, 2048 + 10};  // sector (0, 0)
  const Item elsewhere{0, 7, 6144, 0, 4096};            // no such room
  const Item notPlayer{5, 1, 6144, 0, 4096};
  // Else above the open sector nearest room 1's centre (2.5, 2): (2, 1), the first of two.
  const std::array<double, 3> fallback{6.5, 0.5 + 0.75, 3.5};
  for (auto [items, x, y, z] :
       {std::tuple{std::vector{notPlayer, open, inWall}, 6244 / 1024.0, 1.25, 4196 / 1024.0},
        {std::vector{inWall, open}, fallback[0], fallback[1], fallback[2]},
        {std::vector{elsewhere}, fallback[0], fallback[1], fallback[2]},
        {std::vector{notPlayer}, fallback[0], fallback[1], fallback[2]}}) {
    level.Items = items;
    const ViewCamera camera = StartCamera(level);
    EXPECT_NEAR(camera.X, x, 0.001);
    EXPECT_NEAR(camera.Y, y, 0.001);
    EXPECT_NEAR(camera.Z, z, 0.001);
  }
  for (Sector& s : level.Rooms[1].Sectors) s.Floor = 0x81;  // nowhere to stand: the origin
  EXPECT_EQ(std::tuple(StartCamera(level).X, StartCamera(level).Y), std::tuple(0.0, 0.0));
}

TEST(ViewerCamera, RoomOfTheEyeLeavesOutTheOuterRing) {
  Level level;
  level.Rooms = {RoomAt(4096, 0, 5, 5, 0, -2048), RoomAt(0, 0, 8, 8, 0, -4096)};
  // Room 0's inner boundary (also inside room 1); room 0's outer ring; above room 0; none.
  for (auto [x, y, room] : {std::tuple{5.0, 1.0, 0}, {4.5, 1.0, 1}, {5.0, 2.5, 1}, {0.5, 1.0, -1}})
    EXPECT_EQ(CameraRoom(level, ViewCamera{x, y, 2}), room) << x << ", " << y;
}

TEST(Cameras, KeysStopAtTheirLimitsAndWrap) {
  ViewCamera c;
  ViewerKey(c, kKeyRight);
  EXPECT_NEAR(c.Yaw, kFullTurn - 0.1f, 1e-5);
  EXPECT_FALSE(ViewerKey(c, 'Q'));

  OrbitCamera o;
  for (int i = 0; i < 9; ++i) OrbitCameraKey(o, kKeyPageUp, 0);
  EXPECT_NEAR(o.Distance, 0.2, 1e-9);
  for (int i = 0; i < 60; ++i) OrbitCameraKey(o, kKeyPageDown, 0);
  EXPECT_EQ(o.Distance, 20);
  o.AngleA = 6.25;
  OrbitCameraKey(o, kKeyLeft, 0);
  EXPECT_NEAR(o.AngleA, 0.07, 1e-9);
  OrbitCameraKey(o, kKeyDown, 0);
  EXPECT_NEAR(o.AngleB, 6.18, 1e-9);
  EXPECT_FALSE(OrbitCameraKey(o, kKeyLeft, 2));  // Ctrl moves the selection instead
  EXPECT_NEAR(o.AngleA, 0.07, 1e-9);
}

TEST(OrbitCamera, AltClickFocusesAndTheTargetSitsOnTheFloor) {
  Level level;
  level.Rooms = {RoomAt(4096, 8192, 5, 6, 0, -2048)};
  level.Rooms[0].SectorAt(2, 3).Floor = static_cast<uint8_t>(-8);  // two sectors up
  OrbitCamera c;
  OrbitCameraClick(c, 2, 3, false);
  EXPECT_EQ(c.FocusX, 0);
  OrbitCameraClick(c, 2, 3, true);
  UpdateOrbitCamera(c, level, 0, 2, 3);
  EXPECT_EQ(std::tuple(c.TargetX, c.TargetY, c.TargetZ), std::tuple(6.5, 2.0, 11.5));
  // Angles 0: the eye Distance before the target on -Z, at its height.
  EXPECT_EQ(std::tuple(c.EyeX, c.EyeY, c.EyeZ), std::tuple(6.5, 2.0, 11.5 - 3));

  c.FocusX = 9;  // no such sector: the focus resets and the camera stays
  UpdateOrbitCamera(c, level, 0, 2, 3);
  EXPECT_EQ(std::tuple(c.FocusX, c.FocusZ, c.TargetX), std::tuple(1, 1, 6.5));
}

}  // namespace
}  // namespace slab
