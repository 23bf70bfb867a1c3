// Every real level: the one-pass trigger index equals the nested loops' result, every room
// draws, the lists hold each entity and trigger action.
#include "support/real_levels.h"

#include <gtest/gtest.h>

#include "floordata/walkers.h"
#include "map/draw_room.h"
#include "map/level_lists.h"
#include "map/selection.h"
#include "map/trigger_index.h"
#include "nested_trigger_index.h"

namespace slab {
namespace {

TEST(MapRealLevels, TriggerIndexRoomsAndLists) {
  SLAB_REQUIRE_REAL_LEVELS();
  for (const auto& file : test::RealLevels({""})) {
    SCOPED_TRACE(file.string());
    auto loaded = test::LoadFile(file);
    if (!loaded->Result.Loaded) continue;  // the refused file is the reader's business
    Document doc;
    doc.GameVersion = loaded->GameVersion;
    doc.CurrentLevel = std::move(loaded->Result.Lvl);
    doc.LevelLoaded = true;
    const Level& level = doc.CurrentLevel;
    const TriggerIndex index = BuildTriggerIndex(level);
    EXPECT_EQ(index, test::NestedTriggerIndex(level));

    MapState state;
    ShowOpenedLevel(doc, state);
    const ObjectNames names;
    // Every room draws (the sanitizer build checks the picture's writes); what its sectors
    // show is the floor-data sweep's business.
    for (int r = 0; r < static_cast<int>(level.Rooms.size()); ++r)
      ASSERT_TRUE(ChooseRoom(doc, state, r)) << "room " << r;
    EXPECT_FALSE(doc.Modified);

    // Each entity has its row, each trigger action its line.
    EXPECT_EQ(BuildItemRows(level, doc.GameVersion, names, index).size(),
              level.Items.size() + level.AIObjects.size());
    EXPECT_EQ(static_cast<int64_t>(BuildTriggerRows(level, doc.GameVersion, names).size()),
              CountLevelTriggers(level).TriggerActions);
  }
}

}  // namespace
}  // namespace slab
