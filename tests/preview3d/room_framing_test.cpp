#include "preview3d/room_framing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <span>
#include <vector>

#include "level/load_level.h"
#include "level/messages.h"
#include "preview3d/key_codes.h"
#include "support/real_levels.h"
#include "tools/showcase_level.h"

namespace slab {
namespace {

// A room of xs x zs sectors at (4, 7) whose inner sectors have floors of their own heights
// (one click lower per step along A) and a ceiling above each, wound as the games wind them:
// floors turn clockwise seen from above, ceilings seen from below. The outer ring is walls.
Level ComposedRoom(int xs, int zs) {
  Room room;
  room.Info = {4096, 7168, 512, -3072};
  room.NumXSectors = static_cast<int16_t>(xs);
  room.NumZSectors = static_cast<int16_t>(zs);
  room.Sectors.assign(static_cast<size_t>(xs * zs), Sector{0, 0, 255, 0x81, 255, 0x81});
  auto vertex = [&](int a, int b, int y) {
    room.Vertices.push_back(
        {static_cast<int16_t>(a * 1024), static_cast<int16_t>(y), static_cast<int16_t>(b * 1024)});
    return static_cast<int16_t>(room.Vertices.size() - 1);
  };
  for (int a = 1; a < xs - 1; ++a)
    for (int b = 1; b < zs - 1; ++b) {
      const int floor = 256 * (2 - a % 3);
      room.SectorAt(a, b).Floor = static_cast<uint8_t>(floor / 256);
      room.Rectangles.push_back({{vertex(a, b, floor), vertex(a, b + 1, floor),
                                  vertex(a + 1, b + 1, floor), vertex(a + 1, b, floor)}});
      room.Rectangles.push_back({{vertex(a + 1, b, -3072), vertex(a + 1, b + 1, -3072),
                                  vertex(a, b + 1, -3072), vertex(a, b, -3072)}});
    }
  Level level;
  level.Rooms = {Room{}, room};
  level.Rooms[0].Info = {0, 0, 0, -1024};
  return level;
}

// Every corner of every face drawn when seen along the line of sight (front faces, and
// double-sided ones) lies inside the view; returns how near the edges the farthest comes
// (0 at the centre, 1 on an edge).
double ExpectFramed(const OrbitCamera& camera, const Room& room, int width, int height) {
  const double fx = camera.TargetX - camera.EyeX, fy = camera.TargetY - camera.EyeY,
               fz = camera.TargetZ - camera.EyeZ;
  double widest = 0;
  auto check = [&](std::span<const int16_t> indices, bool doubleSided) {
    std::vector<Vec3> corners;
    for (int16_t i : indices) {
      if (i < 0 || static_cast<size_t>(i) >= room.Vertices.size()) return;
      const RoomVertex& v = room.Vertices[static_cast<size_t>(i)];
      corners.push_back({static_cast<float>((room.Info.X + v.X) / 1024.0),
                         static_cast<float>(-v.Y / 1024.0),
                         static_cast<float>((room.Info.Z + v.Z) / 1024.0)});
    }
    const double ax = corners[1].X - corners[0].X, ay = corners[1].Y - corners[0].Y,
                 az = corners[1].Z - corners[0].Z, bx = corners[2].X - corners[0].X,
                 by = corners[2].Y - corners[0].Y, bz = corners[2].Z - corners[0].Z;
    const double facing =
        (ay * bz - az * by) * fx + (az * bx - ax * bz) * fy + (ax * by - ay * bx) * fz;
    if (!doubleSided && facing >= 0) return;
    for (const Vec3& corner : corners) {
      const auto p = ProjectPoint(camera, width, height, corner);
      ASSERT_TRUE(p) << "a corner behind the eye";
      EXPECT_TRUE(p->X >= 0 && p->X <= width && p->Y >= 0 && p->Y <= height)
          << p->X << ", " << p->Y << " outside " << width << " x " << height;
      widest = std::max({widest, std::abs(2 * p->X / width - 1), std::abs(2 * p->Y / height - 1)});
    }
  };
  for (const RoomQuad& q : room.Rectangles) check(q.Vertices, (q.Texture & 0x8000) != 0);
  for (const RoomTriangle& t : room.Triangles) check(t.Vertices, false);
  return widest;
}

TEST(FrameRoom, TheWholeRoomFitsAtEveryHeadingAndShape) {
  const Level level = ComposedRoom(7, 12);
  const Room& room = level.Rooms[1];
  for (double heading : {0.0, 1.0, 2.5, 4.4})
    for (auto [width, height] : {std::pair{400, 400}, {800, 300}, {300, 700}}) {
      OrbitCamera camera;
      camera.AngleA = heading;
      ASSERT_TRUE(FrameRoom(camera, level, 1, static_cast<double>(width) / height));
      SCOPED_TRACE(testing::Message() << "heading " << heading << ", " << width << " x " << height);
      EXPECT_DOUBLE_EQ(camera.TargetX, 4 + 3.5);
      EXPECT_DOUBLE_EQ(camera.TargetZ, 7 + 6);
      EXPECT_DOUBLE_EQ(camera.TargetY, -0.5);  // the room's floor, YBottom
      EXPECT_EQ(camera.AngleA, heading);
      EXPECT_GT(camera.EyeY, 3.5);  // over the ceiling, which is culled from above
      EXPECT_GT(ExpectFramed(camera, room, width, height), 0.6) << "could come nearer";
    }
  OrbitCamera untouched;
  EXPECT_FALSE(FrameRoom(untouched, level, 2, 1));
  EXPECT_FALSE(FrameRoom(untouched, level, -1, 1));
  EXPECT_FALSE(untouched.RoomFramed);
}

TEST(FrameRoom, KeptByEachFrameUntilAFocusOrAnotherRoom) {
  const Level level = ComposedRoom(7, 12);
  OrbitCamera camera;
  ASSERT_TRUE(FrameRoom(camera, level, 1, 1));
  const double eyeX = camera.EyeX, distance = camera.Distance;
  UpdateOrbitCamera(camera, level, 1, 2, 2);
  EXPECT_DOUBLE_EQ(camera.TargetX, 7.5);
  EXPECT_DOUBLE_EQ(camera.EyeX, eyeX);
  OrbitCameraKey(camera, kKeyPageDown, 0);  // farther than the keys go: not pulled back to 20
  EXPECT_GE(camera.Distance, distance);

  OrbitCameraClick(camera, 2, 3, true);
  UpdateOrbitCamera(camera, level, 1, 2, 3);
  EXPECT_DOUBLE_EQ(camera.TargetX, 4 + 2.5);
  EXPECT_FALSE(camera.RoomFramed);

  ASSERT_TRUE(FrameRoom(camera, level, 1, 1));
  UpdateOrbitCamera(camera, level, 0, 0, 0);  // the room changed without a new framing
  EXPECT_FALSE(camera.RoomFramed);
}

TEST(PickFloorSector, TheCentreOfEachFloorPicksItsSector) {
  const Level level = ComposedRoom(7, 12);
  const Room& room = level.Rooms[1];
  for (double heading : {0.3, 3.5}) {
    OrbitCamera camera;
    camera.AngleA = heading;
    ASSERT_TRUE(FrameRoom(camera, level, 1, 640.0 / 480));
    for (int a = 1; a < room.NumXSectors - 1; ++a)
      for (int b = 1; b < room.NumZSectors - 1; ++b) {
        const float floor = -(256.0f * static_cast<float>(2 - a % 3)) / 1024;
        const auto p = ProjectPoint(
            camera, 640, 480, {4.5f + static_cast<float>(a), floor, 7.5f + static_cast<float>(b)});
        ASSERT_TRUE(p);
        EXPECT_EQ(PickFloorSector(camera, level, 1, 640, 480, p->X, p->Y), (SectorPick{a, b}))
            << "heading " << heading << " sector " << a << ", " << b;
      }
    // Above the room (the top edge, looking over it) and in a room without faces: nothing.
    EXPECT_FALSE(PickFloorSector(camera, level, 1, 640, 480, 320, 0.5));
    EXPECT_FALSE(PickFloorSector(camera, level, 0, 640, 480, 320, 240));
    EXPECT_FALSE(PickFloorSector(camera, level, 1, 0, 480, 320, 240));
  }
  // From below the floors, only ceilings face the eye: nothing is picked.
  OrbitCamera below;
  FrameRoom(below, level, 1, 1);
  below.AngleB = -1.0;
  PlaceOrbitEye(below);
  EXPECT_FALSE(PickFloorSector(below, level, 1, 400, 400, 200, 200));
}

// The sample level's faces are all double-sided, its floors wound facing down: each open
// sector with a floor is picked at its centre, from the framed view of every room.
TEST(PickFloorSector, DoubleSidedFloorsOfTheSampleLevel) {
  const auto path = std::filesystem::path(testing::TempDir()) / "slab_pick_level.tr2";
  test::WriteShowcaseLevel(path);
  RecordingSink sink;
  const LoadResult result = LoadLevel(path, sink);
  std::filesystem::remove(path);
  ASSERT_TRUE(result.Loaded);
  const Level& level = result.Lvl;
  int tried = 0;
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    OrbitCamera camera;
    ASSERT_TRUE(FrameRoom(camera, level, static_cast<int>(r), 1.5));
    for (int a = 0; a < room.NumXSectors; ++a)
      for (int b = 0; b < room.NumZSectors; ++b) {
        const Sector& s = room.SectorAt(a, b);
        if (s.Floor == 0x81 || s.RoomBelow != 255) continue;
        const auto p = ProjectPoint(camera, 600, 400,
                                    {static_cast<float>(room.Info.X / 1024.0 + a + 0.5),
                                     static_cast<float>(-static_cast<int8_t>(s.Floor) / 4.0),
                                     static_cast<float>(room.Info.Z / 1024.0 + b + 0.5)});
        ASSERT_TRUE(p);
        EXPECT_EQ(PickFloorSector(camera, level, static_cast<int>(r), 600, 400, p->X, p->Y),
                  (SectorPick{a, b}))
            << "room " << r << " sector " << a << ", " << b;
        ++tried;
      }
  }
  EXPECT_GT(tried, 20);
}

// Real rooms: framing fits them, and the centre of a flat floor quad, picked from the framed
// view, names the sector under it unless a nearer floor hides it.
TEST(RoomFramingRealLevels, FramedRoomsFitAndFloorsPickTheirSectors) {
  SLAB_REQUIRE_REAL_LEVELS();
  int picked = 0, tried = 0;
  for (const auto& path : test::RealLevels({"tr1/", "tr4/"})) {
    RecordingSink sink;
    const LoadResult result = LoadLevel(path, sink);
    if (!result.Loaded) continue;
    const Level& level = result.Lvl;
    for (size_t r = 0; r < level.Rooms.size(); r += 5) {
      const Room& room = level.Rooms[r];
      OrbitCamera camera;
      if (!FrameRoom(camera, level, static_cast<int>(r), 1.5)) continue;
      SCOPED_TRACE(testing::Message() << path << " room " << r);
      ExpectFramed(camera, room, 600, 400);
      for (const RoomQuad& q : room.Rectangles) {
        const auto& v = room.Vertices;
        if (std::any_of(q.Vertices.begin(), q.Vertices.end(),
                        [&](int16_t i) { return i < 0 || static_cast<size_t>(i) >= v.size(); }))
          continue;
        const RoomVertex &c0 = v[q.Vertices[0]], &c2 = v[q.Vertices[2]];
        if (c0.Y != c2.Y || c0.Y != v[q.Vertices[1]].Y || c0.Y != v[q.Vertices[3]].Y) continue;
        const int a = (c0.X + c2.X) / 2 / 1024, b = (c0.Z + c2.Z) / 2 / 1024;
        if (!room.HasSector(a, b) || static_cast<int8_t>(room.SectorAt(a, b).Floor) * 256 != c0.Y)
          continue;
        const auto p =
            ProjectPoint(camera, 600, 400,
                         {static_cast<float>((room.Info.X + (c0.X + c2.X) / 2) / 1024.0),
                          static_cast<float>(-c0.Y / 1024.0),
                          static_cast<float>((room.Info.Z + (c0.Z + c2.Z) / 2) / 1024.0)});
        ASSERT_TRUE(p);
        ++tried;
        picked += PickFloorSector(camera, level, static_cast<int>(r), 600, 400, p->X, p->Y) ==
                          SectorPick{a, b}
                      ? 1
                      : 0;
      }
    }
  }
  EXPECT_GT(tried, 200);
  EXPECT_GT(picked * 100, tried * 95) << picked << " of " << tried;
}

}  // namespace
}  // namespace slab
