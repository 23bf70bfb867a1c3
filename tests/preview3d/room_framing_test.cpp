// Framing a room keeps every face drawn inside the view, and each floor sector of a composed
// room is picked at its centre from the framed view.
#include "preview3d/room_framing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "preview3d/key_codes.h"

namespace slab {
namespace {

constexpr int kWidth = 600, kHeight = 400;

// A room of xs x zs sectors at (4, 7) whose inner sectors have floors of their own heights
// (one click lower per step along X) and a ceiling above each, wound as the games wind them:
// floors turn clockwise seen from above, ceilings seen from below. The outer ring is walls.
Level ComposedRoom(int xs, int zs) {
  Room room;
  room.Info = {4096, 7168, 512, -3072};
  room.NumXSectors = static_cast<int16_t>(xs);
  room.NumZSectors = static_cast<int16_t>(zs);
  room.Sectors.assign(static_cast<size_t>(xs * zs), Sector{0, 0, 255, 0x81, 255, 0x81});
  auto vertex = [&](int x, int z, int y) {
    room.Vertices.push_back(
        {static_cast<int16_t>(x * 1024), static_cast<int16_t>(y), static_cast<int16_t>(z * 1024)});
    return static_cast<int16_t>(room.Vertices.size() - 1);
  };
  for (int x = 1; x < xs - 1; ++x)
    for (int z = 1; z < zs - 1; ++z) {
      const int floor = 256 * (2 - x % 3);
      room.SectorAt(x, z).Floor = static_cast<uint8_t>(floor / 256);
      room.Rectangles.push_back({{vertex(x, z, floor), vertex(x, z + 1, floor),
                                  vertex(x + 1, z + 1, floor), vertex(x + 1, z, floor)}});
      room.Rectangles.push_back({{vertex(x + 1, z, -3072), vertex(x + 1, z + 1, -3072),
                                  vertex(x, z + 1, -3072), vertex(x, z, -3072)}});
    }
  Level level;
  level.Rooms = {Room{}, room};
  level.Rooms[0].Info = {0, 0, 0, -1024};
  return level;
}

// Every corner of every face turned to the eye lies inside the view; returns how near the
// edges the farthest comes (0 at the centre, 1 on an edge).
double ExpectFramed(const OrbitCamera& camera, const Room& room, int width, int height) {
  const double fx = camera.TargetX - camera.EyeX, fy = camera.TargetY - camera.EyeY,
               fz = camera.TargetZ - camera.EyeZ;
  double widest = 0;
  for (const RoomQuad& q : room.Rectangles) {
    std::array<Vec3, 4> c;
    for (size_t k = 0; k < 4; ++k) {
      const RoomVertex& v = room.Vertices[static_cast<size_t>(q.Vertices[k])];
      c[k] = {static_cast<float>((room.Info.X + v.X) / 1024.0), static_cast<float>(-v.Y / 1024.0),
              static_cast<float>((room.Info.Z + v.Z) / 1024.0)};
    }
    const double ax = c[1].X - c[0].X, ay = c[1].Y - c[0].Y, az = c[1].Z - c[0].Z,
                 bx = c[2].X - c[0].X, by = c[2].Y - c[0].Y, bz = c[2].Z - c[0].Z;
    if ((ay * bz - az * by) * fx + (az * bx - ax * bz) * fy + (ax * by - ay * bx) * fz >= 0)
      continue;
    for (const Vec3& corner : c) {
      const auto p = ProjectPoint(camera, width, height, corner);
      EXPECT_TRUE(p) << "a corner behind the eye";
      if (!p) continue;
      EXPECT_TRUE(p->X >= 0 && p->X <= width && p->Y >= 0 && p->Y <= height)
          << p->X << ", " << p->Y << " outside " << width << " x " << height;
      widest = std::max({widest, std::abs(2 * p->X / width - 1), std::abs(2 * p->Y / height - 1)});
    }
  }
  return widest;
}

// Whether the point over the centre of sector (x, z) at floor height y (game units, down),
// seen in a kWidth x kHeight view, picks that sector.
bool PicksItsSector(const OrbitCamera& camera, const Level& level, int room, int x, int z, int y) {
  const RoomInfo& at = level.Rooms[room].Info;
  const auto p =
      ProjectPoint(camera, kWidth, kHeight,
                   {static_cast<float>(at.X / 1024.0 + x + 0.5), static_cast<float>(-y / 1024.0),
                    static_cast<float>(at.Z / 1024.0 + z + 0.5)});
  return p && PickFloorSector(camera, level, room, kWidth, kHeight, p->X, p->Y) == SectorPick{x, z};
}

TEST(FrameRoom, TheWholeRoomFitsAtEveryHeadingAndShape) {
  const Level level = ComposedRoom(7, 12);
  for (double heading : {0.0, 1.0, 2.5, 4.4})
    for (auto [width, height] : {std::pair{400, 400}, {800, 300}, {300, 700}}) {
      OrbitCamera camera;
      camera.AngleA = heading;
      ASSERT_TRUE(FrameRoom(camera, level, 1, static_cast<double>(width) / height));
      SCOPED_TRACE(testing::Message() << "heading " << heading << ", " << width << " x " << height);
      // The centre of the room at its floor (YBottom); the heading kept.
      EXPECT_EQ(std::tuple(camera.TargetX, camera.TargetY, camera.TargetZ, camera.AngleA),
                std::tuple(4 + 3.5, -0.5, 7 + 6.0, heading));
      EXPECT_GT(camera.EyeY, 3.5);  // over the ceiling, which is culled from above
      EXPECT_GT(ExpectFramed(camera, level.Rooms[1], width, height), 0.6) << "could come nearer";
    }
  OrbitCamera untouched;
  EXPECT_FALSE(FrameRoom(untouched, level, 2, 1));
  EXPECT_FALSE(FrameRoom(untouched, level, -1, 1));
  EXPECT_EQ(untouched.TargetX, OrbitCamera{}.TargetX);
}

TEST(FrameRoom, AFramingFartherThanTheKeysGoIsNotPulledBack) {
  const Level level = ComposedRoom(7, 12);
  OrbitCamera camera;
  ASSERT_TRUE(FrameRoom(camera, level, 1, 1));
  const double distance = camera.Distance;
  OrbitCameraKey(camera, kKeyPageDown, 0);
  EXPECT_GE(camera.Distance, distance);
}

TEST(PickFloorSector, TheCentreOfEachFloorPicksItsSector) {
  const Level level = ComposedRoom(7, 12);
  for (double heading : {0.3, 3.5}) {
    OrbitCamera camera;
    camera.AngleA = heading;
    ASSERT_TRUE(FrameRoom(camera, level, 1, static_cast<double>(kWidth) / kHeight));
    for (int x = 1; x < 6; ++x)
      for (int z = 1; z < 11; ++z)
        EXPECT_TRUE(PicksItsSector(camera, level, 1, x, z, 256 * (2 - x % 3)))
            << "heading " << heading << " sector " << x << ", " << z;
    // Above the room (the top edge, looking over it), a room without faces, an empty area.
    EXPECT_FALSE(PickFloorSector(camera, level, 1, kWidth, kHeight, 300, 0.5));
    EXPECT_FALSE(PickFloorSector(camera, level, 0, kWidth, kHeight, 300, 200));
    EXPECT_FALSE(PickFloorSector(camera, level, 1, 0, kHeight, 300, 200));
  }
  // From below the floors, only ceilings face the eye: nothing is picked.
  OrbitCamera below;
  FrameRoom(below, level, 1, 1);
  below.AngleB = -1.0;
  PlaceOrbitEye(below);
  EXPECT_FALSE(PickFloorSector(below, level, 1, 400, 400, 200, 200));
}

// Up and Down stop short of the vertical either way; Left and Right wrap round at 6.28.
TEST(OrbitCameraKey, TheTiltStopsShortOfTheVerticalAndTheTurnWraps) {
  const Level level = ComposedRoom(7, 12);
  OrbitCamera camera;
  for (int i = 0; i < 40; ++i) EXPECT_TRUE(OrbitCameraKey(camera, kKeyUp, 0));
  EXPECT_EQ(camera.AngleB, kMaxTilt);
  PlaceOrbitEye(camera);
  // Above the target, and still on the side the heading puts the eye on (not over the top).
  EXPECT_GT(camera.EyeY, camera.TargetY + 0.99 * camera.Distance);
  EXPECT_GT(camera.EyeX, camera.TargetX);
  for (int i = 0; i < 80; ++i) OrbitCameraKey(camera, kKeyDown, 0);
  EXPECT_EQ(camera.AngleB, -kMaxTilt);

  camera.AngleA = 6.25;
  OrbitCameraKey(camera, kKeyLeft, 0);
  EXPECT_NEAR(camera.AngleA, 0.07, 1e-9);
  OrbitCameraKey(camera, kKeyRight, 0);
  EXPECT_NEAR(camera.AngleA, 6.25, 1e-9);
  EXPECT_FALSE(OrbitCameraKey(camera, kKeyUp, 1));  // a modifier: the keys move items instead
}

}  // namespace
}  // namespace slab
