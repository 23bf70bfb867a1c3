// Edits made on the sample through the editor's own commands (and by hand where the editor has
// no command yet) come out of the comparison as exactly those differences, each described in
// full, with the place a list of changes leads to.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "compare_fixture.h"
#include "floordata/walkers.h"
#include "tools/compose_tr45.h"
#include "write/convert_tr4.h"

namespace slab {
namespace {

using Lines = std::vector<std::string>;

class CompareTest : public test::CompareFixture {};

TEST_F(CompareTest, EditorCommandsGiveExactlyTheirDifferences) {
  ChooseRoomAndSector(0, 2, 2);  // Lara
  ASSERT_TRUE(FlagCommand(doc, state, history, ItemFlagBox::Active2));
  ASSERT_TRUE(OcbCommand(doc, state, history, "-7"));
  ASSERT_TRUE(RotateCommand(doc, state, history));
  ASSERT_TRUE(TypeCommand(doc, state, history, 1));  // the second moveable: the door
  ASSERT_TRUE(MoveCommand(doc, state, history, MoveKey::Right));
  ASSERT_TRUE(AddItemCommand(doc, state, history));
  Choose(3, 6);
  ASSERT_TRUE(WallCommand(doc, state, history, true));
  ChooseRoomAndSector(3, 3, 3);
  ASSERT_TRUE(MinecartCommand(doc, state, history, MinecartMode::Left, messages));

  const LevelDiff diff = Diff();
  EXPECT_EQ(
      Report(diff),
      (Lines{
          "room 0, sector 3,6: changed (wall)", "  became a wall (was floor 0, ceiling -12 clicks)",
          "room 0, sector 3,2, item 0 (Door): changed (type, position, angle, flags, intensity 2)",
          "  type 0 (Lara) -> 131 (Door)", "  position (2560, 0, 2560) -> (3584, 0, 2560)",
          "  sector 2,2 -> 3,2", "  angle 16384 (90 deg) -> 24576 (135 deg)",
          "  flags 0x0000 -> 0x0800 (mask 3 set)", "  intensity 2 -1 -> -7",
          "room 0, sector 2,2, item 8 (Lara): added",
          "  is type 0 (Lara), room 0, sector 2,2, position (2560, 0, 2560), angle 0 (0 "
          "deg), flags 0x0000, intensity 2 -1, intensity -1",
          "room 3, sector 3,3: changed (floor data)", "  added: minecart left turn"}));
  // Where a list of the changes leads: the room, the sector, the entity to choose.
  const Change& lara = diff.Changes[1];
  EXPECT_EQ(std::tie(lara.Room, lara.A, lara.B, lara.OldIndex, lara.NewIndex, lara.Entity),
            std::make_tuple(0, 3, 2, 0, 0, 0));
  const Change& wall = diff.Changes[0];
  EXPECT_EQ(std::tie(wall.Room, wall.A, wall.B, wall.Entity), std::make_tuple(0, 3, 6, -1));
  // The minecart's list went to the end of the floor data: noted, not a difference.
  EXPECT_EQ(diff.Notes.size(), 1u);
  for (const SectionDiff& section : diff.Sections) EXPECT_TRUE(section.Equal) << section.Name;
  EXPECT_FALSE(diff.Equal());

  // Undone, the level is equal to the one opened again.
  while (UndoCommand(doc, state, history)) {
  }
  EXPECT_TRUE(Diff().Equal()) << DiffReport(Diff(), false);
}

// Removes an item as a removal closes the gap: every trigger action naming a later item is
// renumbered, except in the list of sector (a, b) of room `keep`, left naming the old numbers.
void RemoveItem(Level& level, int item, int keep, int keepA, int keepB) {
  level.Items.erase(level.Items.begin() + item);
  std::set<uint16_t> done;  // lists shared by several sectors are renumbered once
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    for (int a = 0; a < room.NumXSectors; ++a)
      for (int b = 0; b < room.NumZSectors; ++b) {
        const uint16_t index = room.SectorAt(a, b).FDIndex;
        if (!done.insert(index).second || (static_cast<int>(r) == keep && a == keepA && b == keepB))
          continue;
        for (const FloorEntry& entry : GetFloorList(level, index).Entries)
          for (size_t k = 0; k < entry.Actions.size(); ++k) {
            const TriggerEntry& action = entry.Actions[k];
            if ((action.Action != kActionObject && action.Action != kActionTarget) ||
                action.Param <= item)
              continue;
            uint8_t& low = level.FloorData[2 * (index + entry.ActionAt[k])];
            --low;  // the parameter sits in the low bits; none of these is a multiple of 256
          }
      }
  }
}

TEST_F(CompareTest, AnItemRemovedFromTheMiddleIsOneRemovalWithItsTriggersRenumbered) {
  RemoveItem(level(), test::kShowcaseSwitch, 3, 6, 6);  // the shotgun's pickup keeps old numbers
  // The switch's own trigger names the switch first: that action now names the tiger.
  EXPECT_EQ(Report(Diff()),
            (Lines{"room 0, sector 2,5: changed (trigger actions)",
                   "  trigger action changed: SWITCH for OBJECT 2 (Switch) -> SWITCH for OBJECT 2 "
                   "(Tiger)",
                   "room 0, sector 4,1: renumbered (item numbers)",
                   "  trigger action renumbered: PAD for OBJECT 3 (Tiger) -> PAD for OBJECT 2 "
                   "(Tiger)",
                   "room 0, sector 6,6: renumbered (item numbers)",
                   "  trigger action renumbered: HEAVY for OBJECT 5 (Boulder) -> HEAVY for OBJECT "
                   "4 (Boulder)",
                   "room 0, sector 2,5, item 2 (Switch): removed",
                   "  was type 129 (Switch), room 0, sector 2,5, position (2560, 0, 5632), angle 0 "
                   "(0 deg), flags 0x0000, intensity 2 -1, intensity -1",
                   "room 1, sector 1,2: renumbered (item numbers)",
                   "  trigger action renumbered: ANTITRIGGER for OBJECT 3 (Tiger) -> ANTITRIGGER "
                   "for OBJECT 2 (Tiger)",
                   "room 3, sector 4,2: renumbered (item numbers)",
                   "  trigger action renumbered: TRIGGER for OBJECT 6 (Door 2) -> TRIGGER for "
                   "OBJECT 5 (Door 2)",
                   "room 3, sector 6,6: changed (trigger actions)",
                   "  trigger action changed: PICKUP for OBJECT 4 (Shotgun) -> PICKUP for OBJECT 4 "
                   "(Boulder)"}));
}

TEST_F(CompareTest, FloorDataRewrittenInAnotherOrderIsEqualInItsSectors) {
  // Every list copied anew, the last sector's first, each sector pointing at its copy.
  Level& l = level();
  std::vector<uint8_t> words{0, 0};
  for (size_t r = l.Rooms.size(); r-- > 0;)
    for (size_t s = l.Rooms[r].Sectors.size(); s-- > 0;) {
      Sector& sector = l.Rooms[r].Sectors[s];
      const std::vector<uint8_t> list = CopySectorFloorData(opened, sector.FDIndex);
      if (list.empty()) continue;
      sector.FDIndex = static_cast<uint16_t>(words.size() / 2);
      words.insert(words.end(), list.begin(), list.end());
    }
  ASSERT_NE(words, l.FloorData);
  l.FloorData = words;
  const LevelDiff diff = Diff();
  EXPECT_TRUE(diff.Equal()) << DiffReport(diff, false);
  EXPECT_EQ(diff.Notes.size(), 1u);
}

TEST_F(CompareTest, StaticMeshesPairByPositionThenId) {
  std::vector<RoomStatic>& statics = level().Rooms[0].StaticMeshes;
  // The plant at (1, 1), the furniture at (5, 5), the plant at (1, 6): reordered, the
  // furniture's id changed in its place, the second plant moved, one more added.
  const RoomStatic plant = statics[0], plant2 = statics[2];
  RoomStatic furniture = statics[1], moved = plant2, added = plant;
  furniture.ObjectID = 0;
  moved.X += 1024;
  added.X = added.Z = 3 * 1024 + 512;
  added.ObjectID = 10;
  statics = {furniture, plant, moved, added};
  const std::string mesh0 = StaticName(names, 0, Game::TR3);
  const std::string mesh10 = StaticName(names, 10, Game::TR3);
  EXPECT_EQ(Report(Diff()),
            (Lines{"room 0, sector 5,5, static 1 -> 0 (" + mesh0 + "): changed (id)",
                   "  id 10 (" + mesh10 + ") -> 0 (" + mesh0 + ")",
                   "room 0, sector 2,6, static 2 (" + mesh0 + "): changed (position)",
                   "  position (1536, 0, 6656) -> (2560, 0, 6656)",
                   "room 0, sector 3,3, static 3 (" + mesh10 + "): added",
                   "  is id 10 (" + mesh10 +
                       ") at (3584, 0, 3584), rotation 0, intensity 15855, "
                       "intensity 2 15855"}));
}

TEST_F(CompareTest, SectionsNameTheEntriesThatDiffer) {
  level().Textile16[5] ^= 1;
  level().ObjectTextures[3].Attribute ^= 1;
  level().Frames[7] = 99;
  level().Cameras.push_back({});
  const LevelDiff diff = Diff();
  EXPECT_TRUE(diff.Changes.empty());
  const int64_t textures = static_cast<int64_t>(opened.ObjectTextures.size());
  EXPECT_EQ(DiffReport(diff, true),
            "texture pages: 1 -> 1, pages differ: 0\n"
            "frames: 12 -> 12, entries differ: 7\n"
            "object textures: " +
                std::to_string(textures) + " -> " + std::to_string(textures) +
                ", entries differ: 3\n"
                "cameras: 1 -> 2, differs\n");
}

TEST(CompareGames, AFourthGameLevelAgainstItsConversionListsTheConvertersChanges) {
  test::Tr4Draft draft = test::SampleTr4Draft();
  draft.Data.MeshPointers.clear();  // the sample's mesh words are no meshes to convert
  draft.Data.Items.push_back(draft.Data.Items.front());
  draft.Data.Items.back().ObjectID = 160;  // a pick-up the second game numbers 138
  auto loaded = test::LoadBytes(test::ComposeTR4(draft).Bytes, "sample.tr4");
  ASSERT_TRUE(loaded->Result.Loaded) << loaded->FirstMessage();
  const Level& original = loaded->Result.Lvl;
  RecordingSink report;
  const Level converted = ConvertTR4Model(original, Game::TR2, SpriteWad{}, report);
  const ObjectNames names;
  const LevelDiff diff = CompareLevels(original, Game::TR4, converted, Game::TR2, names);

  std::vector<std::string> items;
  for (const Change& change : diff.Changes)
    if (change.Subject == ChangeSubject::Item || change.Subject == ChangeSubject::AIObject)
      items.push_back(ChangeHeadline(change) + ": " + change.Details.front());
  const size_t last = original.Items.size() - 1;
  EXPECT_EQ(items, (std::vector<std::string>{
                       "room 0, item " + std::to_string(last) + ": changed (type): type 160 -> 138",
                       "room 0, AI 0: removed: was type 1, room 0, sector none, position (1, 2, "
                       "3), angle 90 (0.49 deg), flags 0x0005, OCB 4"}));
  EXPECT_TRUE(diff.Sections.empty());
  EXPECT_FALSE(diff.Equal());
  const std::vector<std::string>& skipped = diff.NotCompared;
  EXPECT_NE(std::find(skipped.begin(), skipped.end(), "texture pages"), skipped.end());
  EXPECT_NE(std::find(skipped.begin(), skipped.end(), "animations"), skipped.end());
  EXPECT_NE(DiffReport(diff, false).find("not compared (the games differ): version word, page "),
            std::string::npos);
}

}  // namespace
}  // namespace slab
