// Which rooms of the whole level the 3D view draws: through portals from the current room
// first, the rest only where the view takes them in, and the flip map's side shown.
#include "preview3d/room_culling.h"

#include <gtest/gtest.h>

#include <vector>

namespace slab {
namespace {

// A 4 x 4-sector room at sector (x, z), a sector high.
Room Box(int x, int z) {
  Room room;
  room.Info = {x * 1024, z * 1024, 0, -1024};
  room.NumXSectors = 4, room.NumZSectors = 4;
  room.Sectors.assign(16, Sector{});
  return room;
}
// A doorway in the room's wall at its local x = 4 (or 0) into `to`.
void Door(Room& room, int to, int x) {
  Portal portal;
  portal.AdjoiningRoom = static_cast<uint16_t>(to);
  const int16_t px = static_cast<int16_t>(x * 1024);
  portal.Vertices = {px, 0, 0, px, -1024, 0, px, -1024, 4096, px, 0, 4096};
  room.Portals.push_back(portal);
}

// Rooms 0, 1, 2 in a row along X joined by doors; 3 far behind the eye; 4 is room 1's
// alternate, joined alike; 5 ahead, joined to nothing.
Level Row() {
  Level level;
  level.Rooms = {Box(0, 0), Box(4, 0), Box(8, 0), Box(-60, 0), Box(4, 0), Box(20, 0)};
  for (int alt : {1, 4}) {
    Door(level.Rooms[static_cast<size_t>(alt)], 0, 0);
    Door(level.Rooms[static_cast<size_t>(alt)], 2, 4);
  }
  Door(level.Rooms[0], 1, 4);
  Door(level.Rooms[2], 1, 0);
  for (Room& room : level.Rooms) room.AlternateRoom = -1;
  level.Rooms[1].AlternateRoom = 4;
  return level;
}

Mat4 LookingAlongX(float fromX) {
  return Multiply(ViewMatrix({fromX, 0.5f, 2}, {fromX + 10, 0.5f, 2}),
                  ProjectionMatrix(kNearPlane, kFarPlane, kFieldOfView, 4.0f / 3));
}

TEST(RoomCulling, TheFlipMapShowsOneSideOfEachPairAndTheCurrentRoomAsItself) {
  const Level level = Row();
  EXPECT_EQ(LevelRooms(level, 0, false), (std::vector<int>{0, 1, 2, 3, 5}));
  EXPECT_EQ(LevelRooms(level, 0, true), (std::vector<int>{0, 4, 2, 3, 5}));
  EXPECT_EQ(LevelRooms(level, 4, false), (std::vector<int>{0, 4, 2, 3, 5}));
  EXPECT_EQ(LevelRooms(level, 1, true), (std::vector<int>{0, 1, 2, 3, 5}));
  EXPECT_TRUE(LevelRooms(Level{}, 0, false).empty());
}

TEST(RoomCulling, RoomsThroughPortalsComeFirstAndRoomsOutOfViewAreLeftOut) {
  const Level level = Row();
  // From inside room 0 looking along +X: 1 and 2 through the doors, 5 ahead; 3 is behind.
  EXPECT_EQ(RoomsInView(level, 0, false, LookingAlongX(1), {1, 0.5f, 2}),
            (std::vector<int>{0, 1, 2, 5}));
  EXPECT_EQ(RoomsInView(level, 0, true, LookingAlongX(1), {1, 0.5f, 2}),
            (std::vector<int>{0, 4, 2, 5}));
  // From inside room 2 looking on, with room 0 current: its door is behind the eye, so room
  // 1 is left out; room 2 round the eye and 5 ahead come after, in their order. The current
  // room always comes, even behind the eye.
  EXPECT_EQ(RoomsInView(level, 0, false, LookingAlongX(11), {11, 0.5f, 2}),
            (std::vector<int>{0, 2, 5}));
  // A door looked at from outside still leads on: the current room's portal is in view.
  EXPECT_EQ(RoomsInView(level, 2, false, LookingAlongX(-10), {-10, 0.5f, 2}),
            (std::vector<int>{2, 1, 0, 5}));
  EXPECT_TRUE(RoomsInView(level, 9, false, LookingAlongX(1), {1, 0.5f, 2}).size() <= 4);
}

TEST(RoomCulling, ABoxIsOutOnlyWhenWhollyBeyondOneSide) {
  const Mat4 view = LookingAlongX(0);
  EXPECT_TRUE(BoxInView({5, 0, 1}, {6, 1, 3}, view));       // ahead
  EXPECT_FALSE(BoxInView({-6, 0, 1}, {-5, 1, 3}, view));    // behind
  EXPECT_TRUE(BoxInView({-5, -1, -5}, {5, 1, 5}, view));    // round the eye
  EXPECT_FALSE(BoxInView({200, 0, 0}, {201, 1, 1}, view));  // past the far plane
  EXPECT_FALSE(BoxInView({5, 0, 40}, {6, 1, 41}, view));    // off to one side
}

}  // namespace
}  // namespace slab
