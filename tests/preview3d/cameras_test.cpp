#include <gtest/gtest.h>

#include <cmath>
#include <vector>

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

TEST(ViewerCamera, StartsAboveThePlayerUnlessAWallOrNothingIsThere) {
  // Room 0 is all wall; room 1 (at sector 4, 2; 5 x 4) is open but for its outer ring, with
  // its floor two clicks up; the player items stand in room 1.
  Level level;
  level.Rooms = {RoomAt(0, 0, 3, 3, 0, -2048), RoomAt(4096, 2048, 5, 4, 0, -4096)};
  for (Room& room : level.Rooms)
    for (Sector& s : room.Sectors) s.Floor = 0x81;
  for (int a = 1; a < 4; ++a)
    for (int b = 1; b < 3; ++b) level.Rooms[1].SectorAt(a, b).Floor = static_cast<uint8_t>(-2);
  struct Case {
    const char* What;
    std::vector<Item> Items;
    double X, Y, Z;
  };
  const Item open{0, 1, 6144 + 100, -512, 4096 + 100};  // sector (2, 2)
  const Item inWall{0, 1, 4096 + 10, -512, 2048 + 10};  // sector (0, 0)
  const Item elsewhere{0, 7, 6144, 0, 4096};            // no such room
  // The open sector nearest room 1's centre (2.5, 2) is (2, 1) (the first of the two).
  const double fallbackY = 0.5 + 0.75;
  for (const Case& c :
       std::vector<Case>{{"on an open sector",
                          {{5, 1, 1, 1, 1}, open, inWall},
                          6244 / 1024.0,
                          1.25,
                          4196 / 1024.0},
                         {"in a wall", {inWall, open}, 4 + 2.5, fallbackY, 2 + 1.5},
                         {"in no room", {elsewhere}, 6.5, fallbackY, 3.5},
                         {"no player", {{5, 1, 6144, 0, 4096}}, 6.5, fallbackY, 3.5}}) {
    level.Items = c.Items;
    const ViewCamera camera = StartCamera(level);
    EXPECT_NEAR(camera.X, c.X, 0.001) << c.What;
    EXPECT_NEAR(camera.Y, c.Y, 0.001) << c.What;
    EXPECT_NEAR(camera.Z, c.Z, 0.001) << c.What;
    EXPECT_EQ(camera.Yaw, 0) << c.What;
  }
  // Nowhere to stand at all: the origin.
  for (Sector& s : level.Rooms[1].Sectors) s.Floor = 0x81;
  const ViewCamera nowhere = StartCamera(level);
  EXPECT_EQ(nowhere.X, 0);
  EXPECT_EQ(nowhere.Y, 0);
  EXPECT_EQ(StartCamera(Level{}).Z, 0);
}

TEST(ViewerCamera, MouseLookAndWheel) {
  ViewCamera c;
  ViewerMouseLook(c, 100, 0);  // a drag to the right turns right: the yaw goes down
  EXPECT_NEAR(c.Yaw, kFullTurn - 0.5f, 1e-4);
  ViewerMouseLook(c, -100, -1000);  // and back, looking up as far as it goes
  EXPECT_NEAR(c.Yaw, 0, 1e-4);
  EXPECT_FLOAT_EQ(c.Pitch, 1.4f);
  ViewerMouseLook(c, 0, 280);
  EXPECT_NEAR(c.Pitch, 0, 1e-6);

  ViewerWheel(c, 2);  // two notches forward along +X
  EXPECT_NEAR(c.X, 1, 1e-6);
  c.Yaw = kFullTurn / 4;
  c.Pitch = -0.5f;
  ViewerWheel(c, -1);  // back and up along the line of sight
  EXPECT_NEAR(c.Y, 0.5 * std::sin(0.5), 1e-6);
  EXPECT_NEAR(c.Z, -0.5 * std::cos(0.5), 1e-5);
  // The view follows the pitch: a point ahead and below sits at the view's centre.
  const auto p = TransformPoint({static_cast<float>(c.X), static_cast<float>(c.Y - std::sin(0.5)),
                                 static_cast<float>(c.Z + std::cos(0.5))},
                                ViewerViewMatrix(c));
  EXPECT_NEAR(p[0], 0, 1e-4);
  EXPECT_NEAR(p[1], 0, 1e-4);
  EXPECT_NEAR(p[2], 1, 1e-4);
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
