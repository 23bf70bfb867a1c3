// Every real level of the first four games: ten items spread over the list removed one at a
// time with the actions naming them; each result loads again, lists the triggers it should,
// and writes back byte for byte. A static mesh added and removed gives the level's bytes.
#include <gtest/gtest.h>

#include "floordata/sector_panel.h"
#include "map/edit_commands.h"
#include "map/item_removal.h"
#include "map/static_edits.h"
#include "support/real_levels.h"
#include "write/finish_tr4.h"
#include "write/write_level.h"

namespace slab {
namespace {

// The trigger lines as the triggers command prints them.
std::vector<std::string> TriggerLines(const Level& level, Game game, const ObjectNames& names) {
  std::vector<std::string> lines;
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    for (int a = 0; a < room.NumXSectors; ++a)
      for (int b = 0; b < room.NumZSectors; ++b)
        for (const TriggerEntry& e : GetTriggerList(level, room.SectorAt(a, b).FDIndex))
          lines.push_back("room " + std::to_string(r) + " a " + std::to_string(a) + " b " +
                          std::to_string(b) + ": " + TriggerLine(e, level, game, names));
  }
  return lines;
}

bool NamesItem(const TriggerEntry& e, int item) {
  return (e.Action == kActionObject || e.Action == kActionTarget) && e.Param == item;
}

// The original's trigger lines with the item's actions gone, a trigger with them when
// nothing else is left or when the item is the switch, keyhole or pickup that sets it off,
// and later items one lower. `after` is the level the lines name items of.
std::vector<std::string> ExpectedLines(const Level& before, const Level& after, Game game,
                                       const ObjectNames& names, int item) {
  std::vector<std::string> lines;
  for (size_t r = 0; r < before.Rooms.size(); ++r) {
    const Room& room = before.Rooms[r];
    for (int a = 0; a < room.NumXSectors; ++a)
      for (int b = 0; b < room.NumZSectors; ++b)
        for (const FloorEntry& entry : GetFloorList(before, room.SectorAt(a, b).FDIndex).Entries) {
          std::vector<TriggerEntry> kept;
          for (const TriggerEntry& action : entry.Actions)
            if (!NamesItem(action, item)) kept.push_back(action);
          const int type = entry.Actions.empty() ? 0 : entry.Actions[0].TriggerType;
          if (!entry.Actions.empty() && type >= 2 && type <= 4 && NamesItem(entry.Actions[0], item))
            kept.clear();
          for (TriggerEntry e : kept) {
            if ((e.Action == kActionObject || e.Action == kActionTarget) && e.Param > item)
              --e.Param;
            lines.push_back("room " + std::to_string(r) + " a " + std::to_string(a) + " b " +
                            std::to_string(b) + ": " + TriggerLine(e, after, game, names));
          }
        }
  }
  return lines;
}

// The level as its file holds it; a fourth-game level as the finisher's input, so that two
// levels compare on their uncompressed bytes.
std::vector<uint8_t> Encoded(const Level& level, Game game) {
  return game == Game::TR4 ? EncodeTR4Intermediate(level) : EncodeClassicLevel(level, game);
}

std::unique_ptr<test::Loaded> Reloaded(const std::vector<uint8_t>& encoded, Game game) {
  if (game != Game::TR4) return test::LoadBytes(encoded, "removed.tr2");
  std::vector<uint8_t> finished;
  const SaveResult done = FinishTR4(encoded, finished);
  EXPECT_TRUE(done.Ok()) << done.Reason();
  return test::LoadBytes(finished, "removed.tr4");
}

TEST(RemovalRealLevels, TenItemsEachGoWithTheirActionsAndTheLevelWritesBack) {
  SLAB_REQUIRE_REAL_LEVELS();
  const ObjectNames names;
  int removedActions = 0, renumberedActions = 0;
  for (const auto& file : test::RealLevels({"tr1/", "tr2/", "tr3/", "tr4/"})) {
    SCOPED_TRACE(file.filename().string());
    auto loaded = test::LoadFile(file);
    if (!loaded->Result.Loaded) continue;
    const Level& original = loaded->Result.Lvl;
    const Game game = loaded->GameVersion;
    const int items = static_cast<int>(original.Items.size());
    std::vector<int> chosen;
    for (int k = 0; k < 10 && items > 0; ++k)
      if (int i = k * (items - 1) / 9; chosen.empty() || chosen.back() != i) chosen.push_back(i);
    if (!original.TrailingBlock.empty() && items > 1) {
      // The add-on's data names items by number: only the last may go.
      EXPECT_FALSE(PlanEntityRemoval(original, 0).Allowed());
      chosen = {items - 1};
    }
    for (int item : chosen) {
      SCOPED_TRACE("item " + std::to_string(item));
      Level level = original;
      std::string why;
      const std::optional<EntityRemoved> removed = RemoveEntity(level, item, true, why);
      ASSERT_TRUE(removed) << why;
      removedActions += removed->RemovedActions;
      renumberedActions += removed->RenumberedActions;
      const std::vector<uint8_t> bytes = Encoded(level, game);
      const auto again = Reloaded(bytes, game);
      ASSERT_TRUE(again->Result.Loaded) << again->FirstMessage();
      EXPECT_EQ(again->Messages.Shown, loaded->Messages.Shown);  // what the original said
      const Level& reread = again->Result.Lvl;
      EXPECT_EQ(reread.Items.size(), original.Items.size() - 1);
      EXPECT_EQ(TriggerLines(reread, game, names),
                ExpectedLines(original, reread, game, names, item));
      ASSERT_EQ(Encoded(reread, game), bytes);
    }

    // A static mesh added on an inner sector of the first room and removed again.
    if (original.Rooms.empty() || original.StaticMeshDefs.empty()) continue;
    Document doc;
    doc.CurrentLevel = original;
    doc.GameVersion = game;
    doc.LevelLoaded = true;
    MapState state;
    state.SelectedSectorX = state.SelectedSectorZ = 1;
    state.SectorSelected = true;
    EditHistory history;
    const CommandOutcome added = StaticAddCommand(doc, state, history, names, 0);
    ASSERT_TRUE(added) << added.Status;
    const auto here = SectorStatics(doc.CurrentLevel, game, names, 0, 1, 1);
    ASSERT_FALSE(here.empty());
    ASSERT_TRUE(StaticRemoveCommand(doc, state, history, names, static_cast<int>(here.size()) - 1));
    EXPECT_EQ(Encoded(doc.CurrentLevel, game), Encoded(original, game));
  }
  // The sweep met items that triggers name, and later items that moved.
  EXPECT_GT(removedActions, 0);
  EXPECT_GT(renumberedActions, 0);
}

}  // namespace
}  // namespace slab
