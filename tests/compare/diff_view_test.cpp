// What the window shows of a comparison: the changes grouped by room and leading to their
// places, the filter, the sectors outlined on the map and the outline itself.
#include "compare/diff_view.h"

#include <gtest/gtest.h>

#include "compare_fixture.h"
#include "map/draw_room.h"

namespace slab {
namespace {

class DiffViewTest : public test::CompareFixture {
 protected:
  // A wall and a rotated item in room 0, a minecart turn in room 3.
  void EditTwoRooms() {
    ChooseRoomAndSector(0, 2, 2);  // Lara
    ASSERT_TRUE(RotateCommand(doc, state, history));
    Choose(3, 6);
    ASSERT_TRUE(WallCommand(doc, state, history, true));
    ChooseRoomAndSector(3, 3, 3);
    ASSERT_TRUE(MinecartCommand(doc, state, history, MinecartMode::Left, messages));
  }

  static std::vector<std::string> Headings(const std::vector<DiffGroup>& groups) {
    std::vector<std::string> headings;
    for (const DiffGroup& g : groups) headings.push_back(g.Heading);
    return headings;
  }
};

TEST_F(DiffViewTest, GroupsByRoomAndLeadsToEachPlace) {
  EditTwoRooms();
  const LevelDiff diff = Diff();
  const std::vector<DiffGroup> groups = DiffGroups(diff);
  // The minecart's list went to the end of the floor data: a note, not a change.
  ASSERT_EQ(Headings(groups),
            (std::vector<std::string>{"Room 0: 2 changes", "Room 3: 1 change", "Notes"}));
  EXPECT_EQ(groups[0].Place, (DiffPlace{0, -1, -1, -1}));
  EXPECT_EQ(groups[0].Lines[0].Text, "room 0, sector 3,6: changed (wall)");
  EXPECT_EQ(groups[0].Lines[0].Place, (DiffPlace{0, 3, 6, -1}));
  EXPECT_EQ(groups[0].Lines[1].Place, (DiffPlace{0, 2, 2, 0}));  // the item is chosen
  EXPECT_EQ(groups[0].Lines[1].Details,
            (std::vector<std::string>{"angle 16384 (90 deg) -> 24576 (135 deg)"}));
  EXPECT_EQ(groups[1].Lines[0].Place, (DiffPlace{3, 3, 3, -1}));
  EXPECT_EQ(groups[2].Lines[0].Place, DiffPlace{});  // a note leads nowhere
  EXPECT_EQ(DiffSummary(diff), "3 changes, 0 sections differ");
  EXPECT_EQ(ChangedRooms(diff), (std::vector<int>{0, 3}));
}

TEST_F(DiffViewTest, FilterKeepsLinesHoldingEveryWord) {
  EditTwoRooms();
  const std::vector<DiffGroup> groups = DiffGroups(Diff());
  EXPECT_EQ(FilterDiffGroups(groups, "").size(), groups.size());
  EXPECT_EQ(FilterDiffGroups(groups, "  ").size(), groups.size());

  // Words match anywhere in the heading, the headline and the details, case ignored.
  const auto minecart = FilterDiffGroups(groups, "ROOM 3 Minecart");
  ASSERT_EQ(Headings(minecart), (std::vector<std::string>{"Room 3: 1 change"}));
  EXPECT_EQ(minecart[0].Lines.size(), 1u);
  const auto angle = FilterDiffGroups(groups, "90 deg");
  ASSERT_EQ(Headings(angle), (std::vector<std::string>{"Room 0: 2 changes"}));
  ASSERT_EQ(angle[0].Lines.size(), 1u);
  EXPECT_EQ(angle[0].Lines[0].Place.Entity, 0);
  // Both words must be there, not either.
  EXPECT_TRUE(FilterDiffGroups(groups, "wall minecart").empty());
}

TEST_F(DiffViewTest, ChangedSectorsAreEachSectorWithAChangeOnceInOrder) {
  ChooseRoomAndSector(0, 3, 6);
  ASSERT_TRUE(WallCommand(doc, state, history, true));
  // Lara's sector walled and an item added on it: two changes on one sector, outlined once.
  Choose(2, 2);
  ASSERT_TRUE(WallCommand(doc, state, history, true));
  ASSERT_TRUE(AddItemCommand(doc, state, history));
  ChooseRoomAndSector(3, 3, 3);
  ASSERT_TRUE(MinecartCommand(doc, state, history, MinecartMode::Left, messages));

  const LevelDiff diff = Diff();
  ASSERT_EQ(diff.Changes.size(), 4u);
  EXPECT_EQ(ChangedSectors(diff, 0), (std::vector<SectorSpot>{{2, 2}, {3, 6}}));
  EXPECT_EQ(ChangedSectors(diff, 3), (std::vector<SectorSpot>{{3, 3}}));
  EXPECT_TRUE(ChangedSectors(diff, 1).empty());
  EXPECT_TRUE(ChangedSectors(diff, 99).empty());
}

// Only what changed there: a trigger merely renumbered with its items, a change of the room
// as a whole or of the level are on no sector.
TEST(ChangedSectors, LeaveOutRenumberedTriggersAndChangesOnNoSector) {
  LevelDiff diff;
  auto add = [&](ChangeKind kind, ChangeSubject subject, int room, int a, int b) {
    Change c;
    c.Kind = kind;
    c.Subject = subject;
    c.Room = room;
    c.A = a;
    c.B = b;
    diff.Changes.push_back(c);
  };
  add(ChangeKind::Changed, ChangeSubject::Room, -1, -1, -1);
  add(ChangeKind::Changed, ChangeSubject::Light, 2, -1, -1);
  add(ChangeKind::Removed, ChangeSubject::Static, 2, 4, 1);
  add(ChangeKind::Renumbered, ChangeSubject::Sector, 2, 1, 1);
  add(ChangeKind::Changed, ChangeSubject::Sector, 2, 1, 3);
  add(ChangeKind::Added, ChangeSubject::AIObject, 5, 0, 0);
  EXPECT_EQ(ChangedSectors(diff, 2), (std::vector<SectorSpot>{{1, 3}, {4, 1}}));
  EXPECT_EQ(ChangedSectors(diff, 5), (std::vector<SectorSpot>{{0, 0}}));
  EXPECT_TRUE(ChangedSectors(diff, -1).empty());
  EXPECT_EQ(ChangedRooms(diff), (std::vector<int>{2, 5}));
}

TEST_F(DiffViewTest, OutlineRingsTheSectorInsideItsOutline) {
  ASSERT_TRUE(ChooseRoom(doc, state, 0));
  Choose(2, 2);  // selected, with an item marker at its centre
  const MapImage before = state.Shown;
  MapImage ringed = state.Shown;
  // Sectors outside the picture are left out, not drawn at its edge.
  OutlineChangedSectors(ringed, {{2, 2}, {-1, 0}, {0, -3}, {5000, 1}});
  for (int y = 0; y < before.Height(); ++y)
    for (int x = 0; x < before.Width(); ++x) {
      const bool ring =
          x >= 20 && x <= 27 && y >= 20 && y <= 27 && (x == 20 || x == 27 || y == 20 || y == 27);
      if (ring)
        EXPECT_EQ(ringed.Pixel(x, y), map_colour::kChanged) << x << "," << y;
      else
        EXPECT_EQ(ringed.Pixel(x, y), before.Pixel(x, y)) << x << "," << y;
    }
  // The selection's blue line and the item marker are still there.
  EXPECT_EQ(ringed.Pixel(19, 24), map_colour::kSelection);
  EXPECT_EQ(ringed.Pixel(24, 24), map_colour::kItemMarker);
}

}  // namespace
}  // namespace slab
