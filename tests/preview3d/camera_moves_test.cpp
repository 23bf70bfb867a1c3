// The main window's camera under the mouse, F and Home, and glides: what a user sees must stay
// put where they hold it, and the camera must never flip or turn inside out.
#include "preview3d/camera_moves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "preview3d/room_framing.h"

namespace slab {
namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr double kAspect = static_cast<double>(kWidth) / kHeight;

OrbitCamera Placed(double heading, double tilt, double distance) {
  OrbitCamera camera;
  camera.TargetX = 10, camera.TargetY = -2, camera.TargetZ = 20;
  camera.AngleA = heading, camera.AngleB = tilt, camera.Distance = distance;
  PlaceOrbitEye(camera);
  return camera;
}

ScreenPoint Seen(const OrbitCamera& camera, Vec3 point) {
  const auto at = ProjectPoint(camera, kWidth, kHeight, point);
  EXPECT_TRUE(at);
  return at.value_or(ScreenPoint{-1e9, -1e9});
}

TEST(CameraMoves, DragsTurnAboutTheTargetAndNeverPastTheVertical) {
  OrbitCamera camera = Placed(6.2, 0.5, 4);
  OrbitDrag(camera, 20, 30);  // past a full turn: wrapped
  EXPECT_NEAR(camera.AngleA, 6.4 - kOrbitTurn, 1e-9);
  EXPECT_NEAR(camera.AngleB, 0.8, 1e-9);
  EXPECT_EQ(std::tuple(camera.TargetX, camera.TargetY, camera.TargetZ, camera.Distance),
            std::tuple(10.0, -2.0, 20.0, 4.0));
  for (double dy : {5000.0, -5000.0}) {
    OrbitDrag(camera, -900, dy);
    EXPECT_EQ(camera.AngleB, dy > 0 ? kMaxTilt : -kMaxTilt);
    EXPECT_GE(camera.AngleA, 0);
    EXPECT_LT(camera.AngleA, kOrbitTurn);
    // Looking from above or below, the target stays in front of the eye.
    EXPECT_NEAR(Seen(camera, {10, -2, 20}).X, kWidth / 2.0, 1e-3);
  }
}

TEST(CameraMoves, APanCarriesThePointLookedAtWithThePointer) {
  for (double tilt : {0.0, 0.7, -1.2}) {
    OrbitCamera camera = Placed(1.0, tilt, 6);
    PanDrag(camera, 40, -25, kHeight);
    const ScreenPoint moved = Seen(camera, {10, -2, 20});
    EXPECT_NEAR(moved.X, kWidth / 2.0 + 40, 1e-2) << tilt;
    EXPECT_NEAR(moved.Y, kHeight / 2.0 - 25, 1e-2) << tilt;
    EXPECT_EQ(std::tuple(camera.AngleA, camera.AngleB, camera.Distance),
              std::tuple(1.0, tilt, 6.0));
  }
}

TEST(CameraMoves, DollyingKeepsThePointWhereItIsSeenAndTheDistanceInBounds) {
  OrbitCamera camera = Placed(2.0, 0.6, 8);
  const Vec3 point{12, -3, 18};
  const ScreenPoint before = Seen(camera, point);
  DollyAbout(camera, point, 0.5);
  EXPECT_NEAR(camera.Distance, 4, 1e-9);
  const ScreenPoint after = Seen(camera, point);
  EXPECT_NEAR(after.X, before.X, 1e-2);
  EXPECT_NEAR(after.Y, before.Y, 1e-2);
  EXPECT_EQ(std::tuple(camera.AngleA, camera.AngleB), std::tuple(2.0, 0.6));
  for (int i = 0; i < 100; ++i) DollyAbout(camera, point, 0.5);
  EXPECT_NEAR(camera.Distance, kLeastDistance, 1e-9);  // never through the point
  const ScreenPoint near = Seen(camera, point);
  EXPECT_NEAR(near.X, before.X, 1e-1);
  for (int i = 0; i < 100; ++i) DollyAbout(camera, point, 2);
  EXPECT_NEAR(camera.Distance, kMostDistance, 1e-9);
  DollyAbout(camera, point, 0);  // no step at all
  EXPECT_NEAR(camera.Distance, kMostDistance, 1e-9);
}

TEST(CameraMoves, FlyingMovesEyeAndTargetTogetherAndLookingTurnsAboutTheEye) {
  OrbitCamera camera = Placed(0.3, 0.4, 5);
  const OrbitCamera before = camera;
  FlyStep(camera, 1, 0);
  EXPECT_NEAR(
      std::hypot(camera.EyeX - before.EyeX, camera.EyeY - before.EyeY, camera.EyeZ - before.EyeZ),
      1, 1e-6);
  EXPECT_NEAR(std::hypot(camera.TargetX - before.TargetX, camera.TargetY - before.TargetY,
                         camera.TargetZ - before.TargetZ),
              1, 1e-6);
  const OrbitCamera flown = camera;
  LookDrag(camera, 50, -20);
  EXPECT_NEAR(camera.EyeX, flown.EyeX, 1e-9);
  EXPECT_NEAR(camera.EyeY, flown.EyeY, 1e-9);
  EXPECT_NEAR(camera.EyeZ, flown.EyeZ, 1e-9);
  EXPECT_NE(camera.AngleA, flown.AngleA);
}

TEST(CameraMoves, FittedPointsAllShowAndOneNearlyTouchesAnEdge) {
  const std::vector<Vec3> points{{8, -3, 17}, {13, 4, 22}, {9, -2, 25}, {12, 1, 16}};
  for (double heading : {0.0, 1.7, 4.0})
    for (double tilt : {0.0, 0.9, 1.5}) {
      OrbitCamera camera = Placed(heading, tilt, 0.5);
      FitPoints(camera, points, kAspect, 0.2);
      double widest = 0;
      for (const Vec3 p : points) {
        const ScreenPoint at = Seen(camera, p);
        EXPECT_TRUE(at.X >= 0 && at.X <= kWidth && at.Y >= 0 && at.Y <= kHeight)
            << heading << " " << tilt;
        widest =
            std::max({widest, std::abs(2 * at.X / kWidth - 1), std::abs(2 * at.Y / kHeight - 1)});
      }
      EXPECT_GT(widest, 0.85) << "could come nearer";
    }
}

TEST(CameraMoves, AGlideEasesFromOneCameraToTheOtherTheShortWayRound) {
  CameraGlide glide{Placed(6.2, 0.3, 4), Placed(0.1, 0.5, 6), 1000};
  LookAt(glide.To, {14, -1, 24});
  EXPECT_EQ(GlideAt(glide, 900).TargetX, glide.From.TargetX);
  EXPECT_EQ(GlideAt(glide, 1000).AngleA, glide.From.AngleA);
  const OrbitCamera half = GlideAt(glide, 1000 + kGlideMs / 2);
  EXPECT_NEAR(half.TargetX, 12, 1e-9);
  EXPECT_NEAR(half.Distance, 5, 1e-9);
  // Between 6.2 and 0.1 the short way crosses zero, not the half turn.
  EXPECT_TRUE(half.AngleA > 6.1 || half.AngleA < 0.2) << half.AngleA;
  const OrbitCamera end = GlideAt(glide, 1000 + kGlideMs);
  EXPECT_EQ(std::tuple(end.TargetX, end.AngleA, end.EyeY),
            std::tuple(glide.To.TargetX, glide.To.AngleA, glide.To.EyeY));
}

Level TwoThingsLevel() {
  Level level;
  Room room;
  room.Info = {2048, 4096, 1024, -2048};
  room.NumXSectors = 4, room.NumZSectors = 3;
  room.Sectors.assign(12, Sector{0, 0, 255, 0xFE, 255, 0x81});  // floors 512 down (0xFE)
  room.SectorAt(2, 1).Floor = kWallMarker;
  room.StaticMeshes.push_back(RoomStatic{3072, -512, 5120, 0, 0, 0});
  room.Vertices = {{0, -3072, 0}, {0, 2048, 0}};
  level.Rooms = {room};
  level.Items.push_back(Item{0, 0, 4096, -1024, 6144});
  level.AIObjects.push_back(AIObject{0, 0, 5120, 0, 7168});
  return level;
}

TEST(CameraMoves, TheSelectionsBoxIsTheChosenThingsElseTheSectors) {
  const Level level = TwoThingsLevel();
  CameraSelection selection{0, std::pair{1, 1}, 0, 0};
  auto centre = [&](const CameraSelection& s) {
    const auto box = SelectionBox(level, s);
    EXPECT_TRUE(box);
    return box ? box->Centre() : Vec3{};
  };
  EXPECT_NEAR(centre(selection).X, 4, 1e-6);  // the item first
  EXPECT_NEAR(centre(selection).Y, 1.5, 1e-6);
  selection.Entity = 1;  // numbered after the items: the AI object
  EXPECT_NEAR(centre(selection).Z, 7, 1e-6);
  selection.Entity = 2;  // none such: the static mesh
  EXPECT_NEAR(centre(selection).X, 3, 1e-6);
  selection.Static = 5;  // none such: the sector, at its floor
  EXPECT_NEAR(centre(selection).X, 3.5, 1e-6);
  EXPECT_NEAR(centre(selection).Y, 0.5 + 0.5, 1e-6);
  selection.Sector = std::pair{2, 1};  // a wall stands on the room's floor
  EXPECT_NEAR(SectorPoint(level, 0, 2, 1)->Y, -1, 1e-6);
  selection.Sector = std::pair{9, 9};
  EXPECT_FALSE(SelectionBox(level, selection));
  EXPECT_FALSE(SelectionBox(level, CameraSelection{3, std::pair{0, 0}, -1, -1}));
}

TEST(CameraMoves, TheRoomsBoxReachesItsHighestAndLowestVertex) {
  const auto box = RoomBox(TwoThingsLevel(), 0);
  ASSERT_TRUE(box);
  EXPECT_EQ(std::tuple(box->Min.X, box->Min.Y, box->Min.Z), std::tuple(2.0f, -2.0f, 4.0f));
  EXPECT_EQ(std::tuple(box->Max.X, box->Max.Y, box->Max.Z), std::tuple(6.0f, 3.0f, 7.0f));
  EXPECT_FALSE(RoomBox(TwoThingsLevel(), 1));
}

}  // namespace
}  // namespace slab
