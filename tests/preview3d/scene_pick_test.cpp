// Picking in the 3D view: composed faces of an item, a sprite, a static mesh and a room, each
// aimed at through the projection drawing uses; and the sample level's meshes as the view
// builds them.
#include "preview3d/scene_pick.h"

#include <gtest/gtest.h>

#include "preview3d/room_framing.h"
#include "tools/compose_classic.h"
#include "support/real_levels.h"
#include "tools/showcase_level.h"

namespace slab {
namespace {

constexpr int kWidth = 640, kHeight = 480;

// A square in the plane z (sector units) from (x0, y0) to (x1, y1), its front towards -Z (the
// eye's side here) or, turned round, towards +Z.
MeshFace Square(float x0, float y0, float x1, float y1, float z, bool towardsEye = true) {
  MeshFace face;
  face.VertexCount = 5;
  const std::array<std::array<float, 2>, 4> front{{{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}}};
  for (size_t k = 0; k < 5; ++k) {
    const auto& c = front[towardsEye ? k % 4 : (4 - k % 4) % 4];
    face.Vertices[k] = LitVertex{c[0], c[1], z};
  }
  return face;
}

// Room 0: 6 x 6 sectors of floor at height 0 (Y down in the file), one quad per sector, wound
// clockwise seen from above. A static mesh (id 7) stands at (2.5, 3.5) in sectors.
class ScenePicking : public testing::Test {
 protected:
  void SetUp() override {
    Room room;
    room.NumXSectors = room.NumZSectors = 6;
    room.Sectors.assign(36, Sector{0, 0xFFFF, 255, 0, 255, 0xF0});
    for (int x = 0; x < 6; ++x)
      for (int z = 0; z < 6; ++z) {
        const auto at = static_cast<int16_t>(room.Vertices.size());
        for (auto [dx, dz] : {std::pair{0, 0}, {0, 1}, {1, 1}, {1, 0}})
          room.Vertices.push_back(
              {static_cast<int16_t>((x + dx) * 1024), 0, static_cast<int16_t>((z + dz) * 1024)});
        room.Rectangles.push_back({{at, static_cast<int16_t>(at + 1), static_cast<int16_t>(at + 2),
                                    static_cast<int16_t>(at + 3)},
                                   0});
      }
    room.StaticMeshes = {{2560, 0, 3584, 0, 0, 0, 7}};
    level.Rooms = {room};
    level.StaticMeshDefs = {{.ID = 5}, {.ID = 7, .Mesh = 1}};
    // The static: a square half a sector wide and tall, facing the eye, on its own origin.
    statics = {{}, {Square(-0.25f, 0, 0.25f, 0.5f, 0)}};
    camera.TargetX = 2.5, camera.TargetY = 0.25, camera.TargetZ = 3.5;
    camera.AngleA = 0;  // looking along +Z, at the squares' fronts
    camera.AngleB = 0.2;
    camera.Distance = 4;
    PlaceOrbitEye(camera);
  }

  ScenePick PickAt(Vec3 point) {
    const auto p = ProjectPoint(camera, kWidth, kHeight, point);
    EXPECT_TRUE(p);
    return p ? PickInScene(camera, Scene(), kWidth, kHeight, p->X, p->Y) : ScenePick{};
  }
  PickScene Scene() { return {&level, 0, rooms, statics, &items}; }

  Level level;
  std::vector<MeshFaceList> statics;
  std::vector<int> rooms{0};
  ItemFaces items;
  OrbitCamera camera;
};

TEST_F(ScenePicking, NearestFrontFaceWinsBackFacesAreIgnored) {
  const Vec3 staticCentre{2.5f, 0.25f, 3.5f};
  EXPECT_EQ(PickAt(staticCentre), (ScenePick{PickKind::Static, -1, 0, 0}));
  // An item's face before the static hides it.
  items.Faces = {Square(2.2f, 0, 2.8f, 0.6f, 2.9f)};
  items.FaceEntities = {4};
  EXPECT_EQ(PickAt(staticCentre), (ScenePick{PickKind::Item, 4}));
  // Seen from behind, the device culls it, and so does the pick.
  items.Faces = {Square(2.2f, 0, 2.8f, 0.6f, 2.9f, false)};
  EXPECT_EQ(PickAt(staticCentre).Kind, PickKind::Static);
  // The static turned its back on the eye: the floor behind it is chosen.
  statics[1] = {Square(-0.25f, 0, 0.25f, 0.5f, 0, false)};
  const ScenePick floor = PickAt(staticCentre);
  EXPECT_EQ(floor.Kind, PickKind::Sector);
  EXPECT_GT(floor.SectorZ, 3);
}

TEST_F(ScenePicking, RoomFacesHideWhatIsBehindThem) {
  // A wall across the room between the eye and the static, facing the eye.
  Room& room = level.Rooms[0];
  const auto at = static_cast<int16_t>(room.Vertices.size());
  for (auto [x, y] : {std::pair{0, 0}, {0, -2048}, {6144, -2048}, {6144, 0}})
    room.Vertices.push_back({static_cast<int16_t>(x), static_cast<int16_t>(y), 3000});
  room.Rectangles.push_back({{at, static_cast<int16_t>(at + 1), static_cast<int16_t>(at + 2),
                              static_cast<int16_t>(at + 3)},
                             0});
  const Vec3 staticCentre{2.5f, 0.25f, 3.5f};
  const auto p = ProjectPoint(camera, kWidth, kHeight, staticCentre);
  ASSERT_TRUE(p);
  // What is left is the floor pick, which walls do not hide.
  const ScenePick pick = PickInScene(camera, Scene(), kWidth, kHeight, p->X, p->Y);
  const auto sector = PickFloorSector(camera, level, 0, kWidth, kHeight, p->X, p->Y);
  ASSERT_TRUE(sector);
  EXPECT_EQ(pick, (ScenePick{PickKind::Sector, -1, 0, -1, sector->X, sector->Z}));
  // Turned away, the wall is culled and hides nothing.
  std::swap(room.Rectangles.back().Vertices[1], room.Rectangles.back().Vertices[3]);
  EXPECT_EQ(PickAt(staticCentre).Kind, PickKind::Static);
  // A room not shown hides nothing and shows nothing.
  rooms.clear();
  EXPECT_EQ(PickAt(staticCentre).Kind, PickKind::Sector);
}

TEST_F(ScenePicking, FloorsSpritesAndNames) {
  EXPECT_EQ(PickAt({1.5f, 0, 1.5f}), (ScenePick{PickKind::Sector, -1, 0, -1, 1, 1}));
  // A sprite turns to the camera wherever it is looked from.
  ItemSprite sprite;
  sprite.X = 4.5f, sprite.Y = 0, sprite.Z = 3.5f;
  sprite.Face = Square(-0.2f, 0, 0.2f, 0.4f, 0);
  sprite.Entity = 9;
  items.Sprites = {sprite};
  for (double turn : {0.0, 0.8, 2.5}) {
    camera.AngleA = turn;
    PlaceOrbitEye(camera);
    EXPECT_EQ(PickAt({4.5f, 0.2f, 3.5f}), (ScenePick{PickKind::Item, 9})) << turn;
  }
  // Outside the drawing area's size nothing is aimed at.
  EXPECT_EQ(PickInScene(camera, Scene(), 0, kHeight, 10, 10), ScenePick{});
  EXPECT_EQ(PickInScene(camera, PickScene{}, kWidth, kHeight, 10, 10), ScenePick{});

  level.Items.resize(3);
  level.Items[2].ObjectID = 12;
  level.AIObjects.resize(1);
  level.AIObjects[0].ObjectID = 3;
  ObjectNames names;
  names.Objects[12][GameNumber(Game::TR4)] = "Door";
  names.Statics[7] = "Plant";
  EXPECT_EQ(PickName(level, Game::TR4, names, {PickKind::Item, 2}), "Item 2 - 12 Door");
  EXPECT_EQ(PickName(level, Game::TR4, names, {PickKind::Item, 3}), "AI 0 - 3");
  EXPECT_EQ(PickName(level, Game::TR4, names, {PickKind::Item, 4}), "");
  EXPECT_EQ(PickName(level, Game::TR4, names, {PickKind::Static, -1, 0, 0}),
            "Static mesh 0 of room 0 - Plant");
  EXPECT_EQ(PickName(level, Game::TR4, names, {PickKind::Static, -1, 0, 1}), "");
  EXPECT_EQ(PickName(level, Game::TR4, names, {PickKind::Sector, -1, 0, -1, 0, 4}),
            "Room 0, Sector 0,4");
  EXPECT_EQ(PickName(level, Game::TR4, names, {}), "");

  // Where each leads: the room and the sector under the item, AI object or static.
  level.Items[2].Room = 0, level.Items[2].X = 1536, level.Items[2].Z = 4700;
  level.AIObjects[0].X = 9000;  // beyond the room's six sectors
  EXPECT_EQ(PlaceOfPick(level, {PickKind::Item, 2}), (PickPlace{0, 1, 4}));
  EXPECT_EQ(PlaceOfPick(level, {PickKind::Item, 3}), (PickPlace{0}));
  EXPECT_EQ(PlaceOfPick(level, {PickKind::Static, -1, 0, 0}), (PickPlace{0, 2, 3}));
  EXPECT_EQ(PlaceOfPick(level, {PickKind::Sector, -1, 0, -1, 5, 0}), (PickPlace{0, 5, 0}));
  level.Items[1].Room = 4;  // a room the level lacks
  for (const ScenePick& nowhere : {ScenePick{PickKind::Item, 1}, ScenePick{PickKind::Item, 4},
                                   ScenePick{PickKind::Static, -1, 0, 1}, ScenePick{}})
    EXPECT_FALSE(PlaceOfPick(level, nowhere));
}

// The sample's hall seen from high above: its meshes, built as the view builds them, are each
// picked where they stand.
TEST(ScenePickingSample, ItemsAndStaticsOfTheHall) {
  auto loaded = test::LoadBytes(test::ComposeClassic(test::ShowcaseDraft()).Bytes, "s.tr2");
  ASSERT_TRUE(loaded->Result.Loaded);
  const Level& level = loaded->Result.Lvl;
  const Game game = loaded->GameVersion;
  const auto tiles = loaded->Result.TextureTiles;
  RecordingSink messages;
  const auto statics = BuildStaticMeshes(level, tiles, game, messages);
  const auto moveables = BuildMoveableMeshes(level, tiles, game, messages);
  const std::vector<int> rooms{0};
  const ItemFaces items = BuildItemFaces(level, moveables, rooms, game, level.NumTextiles);
  ASSERT_FALSE(items.Faces.empty());
  OrbitCamera camera;
  camera.TargetX = camera.TargetZ = 4;
  camera.AngleA = 0;
  camera.AngleB = 1.45;
  camera.Distance = 7;
  PlaceOrbitEye(camera);
  const PickScene scene{&level, 0, rooms, statics, &items};
  auto pickAbove = [&](int32_t x, int32_t y, int32_t z) {
    // Just above its origin, which stands on the floor.
    const auto p =
        ProjectPoint(camera, kWidth, kHeight, {x / 1024.f, -(y - 80) / 1024.f, z / 1024.f});
    EXPECT_TRUE(p);
    return p ? PickInScene(camera, scene, kWidth, kHeight, p->X, p->Y) : ScenePick{};
  };
  for (int entity : {test::kShowcaseLara, test::kShowcaseDoor, test::kShowcaseBlock}) {
    const Item& item = level.Items[static_cast<size_t>(entity)];
    EXPECT_EQ(pickAbove(item.X, item.Y, item.Z), (ScenePick{PickKind::Item, entity})) << entity;
  }
  for (int i : {0, 2}) {  // the plants; the furniture stands under the block
    const RoomStatic& s = level.Rooms[0].StaticMeshes[static_cast<size_t>(i)];
    EXPECT_EQ(pickAbove(s.X, s.Y, s.Z), (ScenePick{PickKind::Static, -1, 0, i})) << i;
  }
  // Seen low over the near wall, which the sample draws from both sides, Lara is behind it:
  // the floor under the pointer is chosen, as the picture shows the wall there.
  camera.AngleA = 0.3;
  ASSERT_TRUE(FrameRoom(camera, level, 0, static_cast<double>(kWidth) / kHeight));
  const Item& lara = level.Items[test::kShowcaseLara];
  EXPECT_EQ(pickAbove(lara.X, lara.Y, lara.Z).Kind, PickKind::Sector);
}

}  // namespace
}  // namespace slab
