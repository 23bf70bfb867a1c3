// Every real level: the one-pass trigger index equals the nested loops' result, every room
// draws with a table that matches its picture, the lists hold each entity and trigger action
// once, and their filter keeps exactly the rows with a cell holding the text.
#include "support/real_levels.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "floordata/walkers.h"
#include "map/draw_room.h"
#include "map/level_lists.h"
#include "map/selection.h"
#include "map/trigger_index.h"
#include "nested_trigger_index.h"

namespace slab {
namespace {

// The rows a filter must keep, found the plain way.
template <typename Row, typename TypeOf>
void ExpectFilterExact(const std::vector<Row>& rows, const ListFilter& filter, TypeOf typeOf) {
  const std::string needle = LowerText(filter.Text);
  std::vector<int> expected;
  for (size_t i = 0; i < rows.size(); ++i) {
    const bool type = filter.Type == kAnyType || typeOf(rows[i]) == filter.Type;
    const bool text = std::any_of(rows[i].Cells.begin(), rows[i].Cells.end(), [&](auto& cell) {
      return LowerText(cell).find(needle) != std::string::npos;
    });
    if (type && text) expected.push_back(static_cast<int>(i));
  }
  EXPECT_EQ(MatchingRows(rows, filter), expected) << filter.Text << " " << filter.Type;
}

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
    const ObjectNames names;  // ids only: the filter sees what the list shows
    for (int r = 0; r < static_cast<int>(level.Rooms.size()); ++r) {
      const Room& room = level.Rooms[r];
      ASSERT_TRUE(ChooseRoom(doc, state, r)) << "room " << r;
      EXPECT_EQ(state.Map.Width(), MapWidth(room.NumZSectors));
      EXPECT_EQ(state.Map.Height(), MapHeight(room.NumXSectors));
      // The last sector is reachable by a click and shows its panels.
      if (room.NumXSectors > 0 && room.NumZSectors > 0) {
        const int x = 10 * std::min<int>(room.NumZSectors, kMaxMapSectors) - 5;
        const int y = 10 * std::min<int>(room.NumXSectors, kMaxMapSectors) - 5;
        const auto click = SelectSectorAt(doc, state, names, x, y, kLeftButton, 0);
        ASSERT_TRUE(click && click->Panel) << "room " << r;
      }
    }
    EXPECT_FALSE(doc.Modified);

    const auto items = BuildItemRows(level, doc.GameVersion, names, index);
    ASSERT_EQ(items.size(), level.Items.size() + level.AIObjects.size());
    for (size_t i = 0; i < items.size(); ++i) {
      ASSERT_EQ(items[i].Entity, static_cast<int>(i));
      if (i < level.Items.size()) {
        EXPECT_EQ(items[i].Triggers, static_cast<int>(index[i].size()));
      }
    }
    const auto triggers = BuildTriggerRows(level, doc.GameVersion, names);
    EXPECT_EQ(static_cast<int64_t>(triggers.size()), CountLevelTriggers(level).TriggerActions);
    auto objectOf = [](const ItemRow& row) { return row.ObjectID; };
    auto typeOf = [](const TriggerRow& row) { return static_cast<int>(row.Entry.TriggerType); };
    for (const char* text : {"", "1", "12", "mask 11111", "OBJECT", "x"}) {
      ExpectFilterExact(items, {text, kAnyType}, objectOf);
      ExpectFilterExact(triggers, {text, kAnyType}, typeOf);
    }
    if (!items.empty()) ExpectFilterExact(items, {"", items.back().ObjectID}, objectOf);
    if (!triggers.empty())
      ExpectFilterExact(triggers, {"object", triggers.back().Entry.TriggerType}, typeOf);
  }
}

}  // namespace
}  // namespace slab
