// The showcase's triggers as the 3D view marks them: lines from a trigger to what it names and
// to an item from what triggers it, trigger floors tinted, markers named under the pointer.
#include "preview3d/trigger_links.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "preview3d/camera_markers.h"
#include "preview3d/scene_units.h"
#include "support/real_levels.h"
#include "tools/compose_classic.h"
#include "tools/showcase_level.h"

namespace slab {
namespace {

class TriggerLinks : public testing::Test {
 protected:
  void SetUp() override {
    loaded_ = test::LoadBytes(test::ComposeClassic(test::ShowcaseDraft()).Bytes, "s.tr2");
    ASSERT_TRUE(loaded_->Result.Loaded);
  }
  const Level& Lvl() { return loaded_->Result.Lvl; }
  // The middle of a sector's floor of the hall, worked out from the room's records.
  Vec3 HallFloor(int x, int z) {
    const Room& hall = Lvl().Rooms[0];
    const auto floor = static_cast<int8_t>(hall.SectorAt(x, z).Floor);
    return {hall.Info.X / 1024.0f + x + 0.5f, -floor / 4.0f, hall.Info.Z / 1024.0f + z + 0.5f};
  }
  static void ExpectNear(Vec3 a, Vec3 b) {
    EXPECT_NEAR(a.X, b.X, 1e-4);
    EXPECT_NEAR(a.Y, b.Y, 1e-4);
    EXPECT_NEAR(a.Z, b.Z, 1e-4);
  }
  decltype(test::LoadBytes({}, "")) loaded_;
};

TEST_F(TriggerLinks, ASwitchTriggerLeadsToTheSwitchTheDoorAndTheCamera) {
  const auto lines = TriggerLinesFrom(Lvl(), 0, 2, 5);
  ASSERT_EQ(lines.size(), 3u);
  for (const SceneLine& line : lines) ExpectNear(line.From, HallFloor(2, 5));
  const Item& sw = Lvl().Items[test::kShowcaseSwitch];
  const Item& door = Lvl().Items[test::kShowcaseDoor];
  ExpectNear(lines[0].To, ScenePosition(sw.X, sw.Y - 512, sw.Z));
  ExpectNear(lines[1].To, ScenePosition(door.X, door.Y - 512, door.Z));
  const Camera& camera = Lvl().Cameras[0];
  ExpectNear(lines[2].To, ScenePosition(camera.X, camera.Y, camera.Z));
  // No trigger, no sector, no room: no lines.
  EXPECT_TRUE(TriggerLinesFrom(Lvl(), 0, 3, 3).empty());
  EXPECT_TRUE(TriggerLinesFrom(Lvl(), 0, 99, 0).empty());
  EXPECT_TRUE(TriggerLinesFrom(Lvl(), 42, 0, 0).empty());
}

TEST_F(TriggerLinks, AnItemIsReachedFromEveryTriggerThatNamesIt) {
  // The hall's door: from the hall's switch and from the yard's trigger.
  const auto lines = TriggerLinesTo(Lvl(), test::kShowcaseDoor);
  ASSERT_EQ(lines.size(), 2u);
  ExpectNear(lines[0].From, HallFloor(2, 5));
  const Room& yard = Lvl().Rooms[3];
  EXPECT_NEAR(lines[1].From.X, yard.Info.X / 1024.0f + 4.5f, 1e-4);
  EXPECT_NEAR(lines[1].From.Z, yard.Info.Z / 1024.0f + 2.5f, 1e-4);
  EXPECT_TRUE(TriggerLinesTo(Lvl(), test::kShowcaseLara).empty());
  EXPECT_TRUE(TriggerLinesTo(Lvl(), -1).empty());
  EXPECT_TRUE(TriggerLinesTo(Lvl(), 10000).empty());
}

TEST_F(TriggerLinks, OnlyTheFloorsOfTriggerSectorsAreTintedAndTheSelectionStaysRed) {
  RoomFaceList list;
  BuildRoomFaces(Lvl(), loaded_->Result.TextureTiles, 0, SelectedSector{4, 1}, list);
  TintTriggerFloors(Lvl(), 0, 0xC000C0, list);
  int tinted = 0, red = 0;
  for (const PreparedFace& face : list.Faces) {
    const uint32_t colour = face.Vertices[0].Colour & 0xFFFFFF;
    if (colour == 0xDF7FDF) {
      ++tinted;
      // On one of the hall's trigger squares: the switch's and the heavy trigger.
      const int x = static_cast<int>(face.Vertices[0].X), z = static_cast<int>(face.Vertices[0].Z);
      EXPECT_TRUE((x == 2 || x == 3 || x == 6 || x == 7) && (z == 5 || z == 6 || z == 7))
          << x << "," << z;
      EXPECT_GT(face.Vertices[0].Y, -3.0f);  // a floor, not the ceiling above it
    }
    red += colour == (kRed & 0xFFFFFF);
  }
  EXPECT_EQ(tinted, 2);  // the pad trigger's floor at (4, 1) is the selection: red
  EXPECT_GT(red, 0);
}

TEST_F(TriggerLinks, LinesBehindTheEyeAreCutAtIt) {
  OrbitCamera camera;
  camera.TargetX = 0, camera.TargetY = 0, camera.TargetZ = 10;
  camera.AngleA = 0, camera.AngleB = 0, camera.Distance = 10;
  PlaceOrbitEye(camera);  // at the origin, looking along +Z
  const auto whole = ProjectSegment(camera, 200, 100, {-1, 0, 5}, {1, 0, 5});
  ASSERT_TRUE(whole);
  EXPECT_NEAR(whole->From.X, 90, 1e-3);
  EXPECT_NEAR(whole->To.X, 110, 1e-3);
  EXPECT_FALSE(ProjectSegment(camera, 200, 100, {0, 0, -1}, {1, 0, -5}));
  const auto cut = ProjectSegment(camera, 200, 100, {0, 1, -5}, {0, 1, 5});
  ASSERT_TRUE(cut);
  EXPECT_NEAR(cut->To.Y, 40, 1e-3);
  EXPECT_LT(cut->From.Y, -100);  // toward the eye the line leaves the top of the view
}

TEST_F(TriggerLinks, ThePointerNamesTheMarkerItRestsOn) {
  OrbitCamera camera;
  const Camera& record = Lvl().Cameras[0];
  const Vec3 at = ScenePosition(record.X, record.Y, record.Z);
  camera.TargetX = at.X, camera.TargetY = at.Y, camera.TargetZ = at.Z;
  camera.Distance = 4, camera.AngleB = 0.5;
  PlaceOrbitEye(camera);
  const auto markers = CameraMarkers(Lvl());
  EXPECT_EQ(MarkerNameAt(Lvl(), 0, markers, camera, 400, 300, 203, 148), "Fixed camera 0");
  EXPECT_EQ(MarkerNameAt(Lvl(), 0, markers, camera, 400, 300, 215, 150), "");
  const RoomLight& light = Lvl().Rooms[0].Lights.at(0);
  const Vec3 lit = ScenePosition(light.X, light.Y, light.Z);
  camera.TargetX = lit.X, camera.TargetY = lit.Y, camera.TargetZ = lit.Z;
  PlaceOrbitEye(camera);
  EXPECT_EQ(MarkerNameAt(Lvl(), 0, markers, camera, 400, 300, 200, 150), "Light 0 of room 0");
  EXPECT_NE(MarkerNameAt(Lvl(), 1, markers, camera, 400, 300, 200, 150), "Light 0 of room 0");
}

}  // namespace
}  // namespace slab
