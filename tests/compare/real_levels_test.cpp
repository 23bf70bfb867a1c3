// Real levels: each equal to itself read again, edits through the editor's commands found
// exactly, and every pair of levels of one game compared.
#include "support/real_levels.h"

#include <gtest/gtest.h>

#include <map>

#include "compare/diff_report.h"
#include "compare/level_diff.h"
#include "floordata/sector_contents.h"
#include "map/edit_commands.h"
#include "map/selection.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kGames = {"tr1/", "tr2/", "tr3/", "tr4/", "tr5/"};

// Each loadable real level once, by path.
const std::map<fs::path, std::unique_ptr<test::Loaded>>& RealLevels() {
  static const auto levels = [] {
    std::map<fs::path, std::unique_ptr<test::Loaded>> loaded;
    for (const fs::path& path : test::RealLevels(kGames)) {
      auto level = test::LoadFile(path);
      if (level->Result.Loaded) loaded.emplace(path, std::move(level));
    }
    return loaded;
  }();
  return levels;
}

TEST(CompareRealLevels, EveryLevelIsEqualToItselfReadAgain) {
  SLAB_REQUIRE_REAL_LEVELS();
  const ObjectNames names;
  for (const auto& [path, loaded] : RealLevels()) {
    const auto again = test::LoadFile(path);
    const LevelDiff diff = CompareLevels(loaded->Result.Lvl, loaded->GameVersion, again->Result.Lvl,
                                         again->GameVersion, names);
    EXPECT_TRUE(diff.Equal() && diff.Notes.empty()) << path << "\n" << DiffReport(diff, false);
  }
}

TEST(CompareRealLevels, EveryPairOfOneGameComparesBothWays) {
  SLAB_REQUIRE_REAL_LEVELS();
  const ObjectNames names;
  for (const auto& [a, first] : RealLevels())
    for (const auto& [b, second] : RealLevels()) {
      if (a == b || first->GameVersion != second->GameVersion) continue;
      const LevelDiff diff = CompareLevels(first->Result.Lvl, first->GameVersion,
                                           second->Result.Lvl, second->GameVersion, names);
      // An encrypted level holds the same level as the file it was made from (of its size).
      const auto bytesA = test::ReadFile(a), bytesB = test::ReadFile(b);
      const bool sameLevel =
          bytesA == bytesB || (first->Result.Lvl.Encrypted != second->Result.Lvl.Encrypted &&
                               bytesA.size() == bytesB.size());
      EXPECT_EQ(diff.Equal(), sameLevel) << a << " against " << b;
      // Every change says where and what.
      for (const Change& change : diff.Changes)
        EXPECT_FALSE(change.Where.empty() || change.Summary.empty()) << a << " " << b;
    }
}

// The level opened as the program opens it, edited through the commands on its first item
// that stands in a room with a free inner sector.
class RealLevelEdits : public testing::Test {
 protected:
  void Open(const test::Loaded& loaded) {
    doc = Document{};
    doc.CurrentLevel = loaded.Result.Lvl;
    doc.GameVersion = loaded.GameVersion;
    doc.LevelLoaded = true;
    state = MapState{};
    history = EditHistory{};
    ShowOpenedLevel(doc, state);
  }

  MapState state;
  Document doc;
  EditHistory history;
  ObjectNames names;
  RecordingSink messages;
};

TEST_F(RealLevelEdits, CommandsOnTheFirstItemAreFoundExactly) {
  SLAB_REQUIRE_REAL_LEVELS();
  int tried = 0;
  for (const auto& [path, loaded] : RealLevels()) {
    const Level& level = loaded->Result.Lvl;
    if (loaded->GameVersion == Game::TR5 || level.Items.empty()) continue;
    Open(*loaded);
    // The first item that stands at a sector's centre, in a room with a sector two steps away.
    int item = -1, a = 0, b = 0;
    for (size_t i = 0; i < level.Items.size() && item < 0; ++i) {
      const Item& it = level.Items[i];
      if (it.Room < 0 || static_cast<size_t>(it.Room) >= level.Rooms.size()) continue;
      const Room& room = level.Rooms[it.Room];
      a = SectorOfPosition(it.X, room.Info.X);
      b = SectorOfPosition(it.Z, room.Info.Z);
      const std::vector<int> here = EntitiesOnSector(level, it.Room, a, b);
      if (here.empty() || here.front() != static_cast<int>(i)) continue;
      if (a + 2 < room.NumXSectors - 1 && room.SectorAt(a + 2, b).Floor != 0x81)
        item = static_cast<int>(i);
    }
    if (item < 0) continue;
    SCOPED_TRACE(path.string());
    ++tried;
    const int room = level.Items[item].Room;
    ASSERT_TRUE(ChooseRoom(doc, state, room));
    state.SelectedSectorX = a, state.SelectedSectorZ = b;
    DrawSelection(state);
    ShowSelectedSector(doc, state, names);
    ASSERT_TRUE(SelectEntity(doc, state, 0));
    // A type from the level's own moveables other than the item's.
    int type = 0;
    while (type < static_cast<int>(level.Moveables.size()) &&
           level.Moveables[type].ObjectID == level.Items[item].ObjectID)
      ++type;
    ASSERT_LT(type, static_cast<int>(level.Moveables.size()));
    const Game game = loaded->GameVersion;
    ASSERT_TRUE(RotateCommand(doc, state, history));
    ASSERT_TRUE(FlagCommand(doc, state, history, ItemFlagBox::Invisible));
    ASSERT_TRUE(TypeCommand(doc, state, history, type));
    // First-game items have no such field in their file.
    if (game != Game::TR1) {
      ASSERT_TRUE(OcbCommand(doc, state, history, "77"));
    }
    ASSERT_TRUE(MoveCommand(doc, state, history, MoveKey::Right));
    ASSERT_TRUE(AddItemCommand(doc, state, history));
    ASSERT_TRUE(MinecartCommand(doc, state, history, MinecartMode::Right, messages));
    state.SelectedSectorX = a + 2;
    DrawSelection(state);
    ASSERT_TRUE(WallCommand(doc, state, history, true));

    const LevelDiff diff = CompareLevels(level, game, doc.CurrentLevel, doc.GameVersion, names);
    std::vector<std::string> found;
    for (const Change& change : diff.Changes)
      found.push_back(std::string(KindWord(change.Kind)) + " " + std::to_string(change.Room) + " " +
                      std::to_string(change.A) + "," + std::to_string(change.B) + " " +
                      std::to_string(change.Entity) + " " + change.Summary);
    const std::string r = std::to_string(room) + " ";
    const std::string added = std::to_string(level.Items.size());
    const std::string ocb = game == Game::TR1 ? "" : game == Game::TR4 ? ", OCB" : ", intensity 2";
    EXPECT_EQ(
        found,
        (std::vector<std::string>{
            "changed " + r + std::to_string(a) + "," + std::to_string(b) + " -1 floor data",
            "changed " + r + std::to_string(a + 2) + "," + std::to_string(b) + " -1 wall",
            "changed " + r + std::to_string(a + 1) + "," + std::to_string(b) + " " +
                std::to_string(item) + " type, position, angle, flags" + ocb,
            "added " + r + std::to_string(a) + "," + std::to_string(b) + " " + added + " added"}))
        << DiffReport(diff, false);
    // The new list went to the end of the floor data.
    EXPECT_EQ(diff.Notes.size(), 1u);
    for (const SectionDiff& section : diff.Sections) EXPECT_TRUE(section.Equal) << section.Name;
  }
  EXPECT_GT(tried, 0);
}

}  // namespace
}  // namespace slab
