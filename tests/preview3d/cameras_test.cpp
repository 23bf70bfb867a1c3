#include <gtest/gtest.h>

#include "preview3d/key_codes.h"
#include "preview3d/matrix.h"
#include "preview3d/orbit_camera.h"
#include "preview3d/viewer_camera.h"

namespace slab {
namespace {

Room RoomAt(int x, int z, int xs, int zs, int yBottom, int yTop) {
  Room room;
  room.Info = {x, z, yBottom, yTop};
  room.NumXSectors = static_cast<int16_t>(xs);
  room.NumZSectors = static_cast<int16_t>(zs);
  room.Sectors.resize(static_cast<size_t>(xs * zs));
  return room;
}

TEST(ViewerCamera, StartsAboveTheFirstPlayerItem) {
  Level level;
  EXPECT_EQ(StartCamera(level).X, 0);
  level.Items = {{5, 0, 1, 1, 1}, {0, 0, 2048, -512, 1024}, {0, 0, 9999, 0, 0}};
  const ViewCamera c = StartCamera(level);
  EXPECT_DOUBLE_EQ(c.X, 2);
  EXPECT_DOUBLE_EQ(c.Y, 1.25);
  EXPECT_DOUBLE_EQ(c.Z, 1);
  EXPECT_EQ(c.Yaw, 0);
}

TEST(ViewerCamera, RoomOfTheEyeLeavesOutTheOuterRing) {
  Level level;
  level.Rooms = {RoomAt(4096, 0, 5, 5, 0, -2048), RoomAt(0, 0, 8, 8, 0, -4096)};
  ViewCamera c;
  c.X = 5;  // room 0's inner boundary; also inside room 1
  c.Z = 2;
  c.Y = 1;
  EXPECT_EQ(CameraRoom(level, c), 0);
  c.X = 4.5;  // room 0's outer ring, room 1's interior
  EXPECT_EQ(CameraRoom(level, c), 1);
  c.Y = 2.5;  // above room 0 and inside room 1's height
  c.X = 5;
  EXPECT_EQ(CameraRoom(level, c), 1);
  c.X = 0.5;
  EXPECT_EQ(CameraRoom(level, c), -1);
  EXPECT_EQ(RoomText(-1), "Not in any room");
  EXPECT_EQ(RoomText(3), "Room: 3");
}

TEST(ViewerCamera, KeysAndTheYawWrap) {
  ViewCamera c;
  for (int i = 0; i < 63; ++i) ViewerKey(c, kKeyLeft);
  EXPECT_NEAR(c.Yaw, 0.0168, 1e-3);
  ViewCamera r;
  ViewerKey(r, kKeyRight);
  EXPECT_NEAR(r.Yaw, kFullTurn - 0.1f, 1e-5);

  ViewCamera m;
  ViewerKey(m, kKeyUp);
  EXPECT_DOUBLE_EQ(m.X, 0.18);
  ViewerKey(m, kKeyDown);
  EXPECT_DOUBLE_EQ(m.X, 0.09);  // backward is half a step
  ViewerKey(m, kKeyA);
  ViewerKey(m, kKeyA);
  ViewerKey(m, kKeyZ);
  EXPECT_NEAR(m.Y, 0.2, 1e-12);
  EXPECT_FALSE(ViewerKey(m, 'Q'));
}

TEST(ViewMatrix, LeftHandedNothingMirrored) {
  // Looking along +X from the origin, +Z lies to the left and +Y up on the screen.
  ViewCamera c;
  const Mat4 vp =
      Multiply(ViewerViewMatrix(c), ProjectionMatrix(kNearPlane, kFarPlane, kFieldOfView, 1.0f));
  const auto left = TransformPoint({5, 0, 1}, vp);
  const auto up = TransformPoint({5, 1, 0}, vp);
  EXPECT_LT(left[0] / left[3], 0);
  EXPECT_GT(up[1] / up[3], 0);
}

TEST(OrbitCamera, KeyLimitsAndWraps) {
  OrbitCamera c;
  for (int i = 0; i < 9; ++i) OrbitCameraKey(c, kKeyPageUp, 0);
  EXPECT_NEAR(c.Distance, 0.2, 1e-9);
  for (int i = 0; i < 60; ++i) OrbitCameraKey(c, kKeyPageDown, 0);
  EXPECT_EQ(c.Distance, 20);
  c.AngleA = 6.25;
  OrbitCameraKey(c, kKeyLeft, 0);
  EXPECT_NEAR(c.AngleA, 0.07, 1e-9);
  OrbitCameraKey(c, kKeyRight, 0);
  EXPECT_NEAR(c.AngleA, 6.25, 1e-9);
  OrbitCameraKey(c, kKeyDown, 0);
  EXPECT_NEAR(c.AngleB, 6.18, 1e-9);
  EXPECT_FALSE(OrbitCameraKey(c, kKeyLeft, 2));  // Ctrl moves the selection instead
  EXPECT_NEAR(c.AngleA, 6.25, 1e-9);
}

TEST(OrbitCamera, AltClickFocusesAndTheTargetSitsOnTheFloor) {
  Level level;
  level.Rooms = {RoomAt(4096, 8192, 5, 6, 0, -2048)};
  level.Rooms[0].SectorAt(2, 3).Floor = static_cast<uint8_t>(-8);  // two sectors up
  OrbitCamera c;
  OrbitCameraClick(c, 2, 3, false);
  EXPECT_EQ(c.FocusA, 0);
  OrbitCameraClick(c, 2, 3, true);
  UpdateOrbitCamera(c, level, 0, 2, 3);
  EXPECT_DOUBLE_EQ(c.TargetX, 6.5);
  EXPECT_DOUBLE_EQ(c.TargetZ, 11.5);
  EXPECT_DOUBLE_EQ(c.TargetY, 2);
  // Angles 0: the eye Distance before the target on -Z, at its height.
  EXPECT_DOUBLE_EQ(c.EyeX, 6.5);
  EXPECT_DOUBLE_EQ(c.EyeY, 2);
  EXPECT_DOUBLE_EQ(c.EyeZ, 11.5 - 3);

  c.FocusA = 9;  // no such sector: the focus resets and the camera stays
  UpdateOrbitCamera(c, level, 0, 2, 3);
  EXPECT_EQ(c.FocusA, 1);
  EXPECT_EQ(c.FocusB, 1);
  EXPECT_DOUBLE_EQ(c.TargetX, 6.5);

  Level empty;
  OrbitCamera untouched;
  untouched.OrbitMode = false;
  UpdateOrbitCamera(untouched, empty, 0, 0, 0);
  EXPECT_FALSE(untouched.OrbitMode);
}

}  // namespace
}  // namespace slab
