// Every real level: the one-pass trigger index equals the nested loops' result, and every
// room draws with a table that matches its picture.
#include "support/real_levels.h"

#include <gtest/gtest.h>

#include "level/load_level.h"
#include "map/draw_room.h"
#include "map/selection.h"
#include "map/trigger_index.h"
#include "nested_trigger_index.h"

namespace slab {
namespace {

class MapRealLevel : public testing::TestWithParam<std::filesystem::path> {};

TEST_P(MapRealLevel, TriggerIndexAndEveryRoom) {
  const std::filesystem::path& file = GetParam();
  RecordingSink messages;
  Document doc;
  LoadResult loaded = LoadLevel(file, messages);
  doc.GameVersion = loaded.DetectedGame.value_or(doc.GameVersion);
  if (!loaded.Loaded) GTEST_SKIP() << file << " is refused by the reader";
  doc.CurrentLevel = std::move(loaded.Lvl);
  doc.LevelLoaded = true;
  const Level& level = doc.CurrentLevel;

  const TriggerIndex index = BuildTriggerIndex(level);
  EXPECT_EQ(index, test::NestedTriggerIndex(level)) << file;

  MapState state;
  ShowOpenedLevel(doc, state);
  const ObjectNames names;
  for (int r = 0; r < static_cast<int>(level.Rooms.size()); ++r) {
    const Room& room = level.Rooms[r];
    ASSERT_TRUE(ChooseRoom(doc, state, r)) << file << " room " << r;
    EXPECT_EQ(state.Map.Width(), MapWidth(room.NumZSectors));
    EXPECT_EQ(state.Map.Height(), MapHeight(room.NumXSectors));
    EXPECT_EQ(state.Table.Width, state.Map.Width() + 1);
    // The last sector is reachable by a click and shows its panels.
    if (room.NumXSectors > 0 && room.NumZSectors > 0) {
      const int x = 10 * std::min<int>(room.NumZSectors, kMaxMapSectors) - 5;
      const int y = 10 * std::min<int>(room.NumXSectors, kMaxMapSectors) - 5;
      const auto click = SelectSectorAt(doc, state, names, x, y, kLeftButton, 0);
      ASSERT_TRUE(click && click->Panel) << file << " room " << r;
    }
  }
  EXPECT_FALSE(doc.Modified);
}

INSTANTIATE_TEST_SUITE_P(All, MapRealLevel, testing::ValuesIn(test::RealLevels({""})));
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(MapRealLevel);

TEST(MapRealLevels, FolderPresent) {
  SLAB_REQUIRE_REAL_LEVELS();
  EXPECT_FALSE(test::RealLevels({""}).empty());
}

}  // namespace
}  // namespace slab
