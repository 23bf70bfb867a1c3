// Every real level: the one-pass trigger index equals the nested loops' result, every room
// draws, and every list builds with rows that agree with what an independent reader found in
// the file (expected.json beside the levels).
#include <gtest/gtest.h>

#include "map/level_tables.h"
#include "map/selection.h"
#include "map/trigger_index.h"
#include "nested_trigger_index.h"
#include "support/expected.h"
#include "support/real_levels.h"

namespace slab {
namespace {

int64_t Sum(const nlohmann::json& rooms, const char* key) {
  int64_t sum = 0;
  for (const auto& room : rooms) sum += room.value(key, int64_t{0});
  return sum;
}

TEST(MapRealLevels, TriggerIndexRoomsAndEveryListAgreeWithTheIndependentCounts) {
  SLAB_REQUIRE_REAL_LEVELS();
  const ObjectNames names;
  int checked = 0;
  for (const auto& file : test::RealLevels({""})) {
    SCOPED_TRACE(file.string());
    auto loaded = test::LoadFile(file);
    if (!loaded->Result.Loaded) continue;  // the refused file is the reader's business
    Document doc;
    doc.GameVersion = loaded->GameVersion;
    doc.CurrentLevel = std::move(loaded->Result.Lvl);
    doc.LevelLoaded = true;
    const Level& level = doc.CurrentLevel;
    const Game game = doc.GameVersion;
    EXPECT_EQ(BuildTriggerIndex(level), test::NestedTriggerIndex(level));

    MapState state;
    ShowOpenedLevel(doc, state);
    // Every room draws (the sanitizer build checks the picture's writes); what its sectors
    // show is the floor-data sweep's business.
    for (int r = 0; r < static_cast<int>(level.Rooms.size()); ++r)
      ASSERT_TRUE(ChooseRoom(doc, state, r)) << "room " << r;
    EXPECT_FALSE(doc.Modified);

    const nlohmann::json* expected = test::ExpectedEntry(file);
    ASSERT_NE(expected, nullptr);
    const nlohmann::json& e = *expected;
    const nlohmann::json rooms = e.value("rooms", nlohmann::json::array());

    std::map<ListKind, LevelTable> tables;
    for (const ListKindName& k : kListKinds) {
      tables[k.Kind] = BuildLevelTable(level, game, names, k.Kind);
      for (const ListRow& row : tables[k.Kind].Rows) {
        ASSERT_EQ(row.Cells.size(), tables[k.Kind].Titles.size()) << k.Name;
        // Every target leads somewhere that is there.
        const ListTarget& t = row.Target;
        if (t.Room < 0) continue;
        ASSERT_LT(static_cast<size_t>(t.Room), level.Rooms.size()) << k.Name;
        const Room& room = level.Rooms[static_cast<size_t>(t.Room)];
        EXPECT_TRUE(!t.HasSector() || room.HasSector(t.SectorX, t.SectorZ)) << k.Name;
        EXPECT_LT(t.Static, static_cast<int>(room.StaticMeshes.size())) << k.Name;
        EXPECT_LT(t.Light, static_cast<int>(room.Lights.size())) << k.Name;
      }
    }
    auto count = [&](ListKind kind) { return static_cast<int64_t>(tables[kind].Rows.size()); };
    EXPECT_EQ(count(ListKind::Rooms), e.value("NumRooms", -1));
    EXPECT_EQ(count(ListKind::Lights), Sum(rooms, "NumLights"));
    EXPECT_EQ(count(ListKind::Statics), Sum(rooms, "NumStaticMeshes"));
    EXPECT_EQ(count(ListKind::Cameras), e.value("NumCameras", -1));
    EXPECT_EQ(count(ListKind::Sounds), e.value("NumSoundSources", -1));
    EXPECT_EQ(count(ListKind::Items), e.value("NumItems", -1) + e.value("NumAIObjects", 0));
    EXPECT_EQ(count(ListKind::Triggers), e.value("trigger_actions", -1));

    // Per room, the counts the rooms list shows.
    const auto& roomRows = tables[ListKind::Rooms].Rows;
    for (size_t r = 0; r < roomRows.size() && r < rooms.size(); ++r) {
      const auto& cells = roomRows[r].Cells;
      EXPECT_EQ(cells[static_cast<int>(RoomColumn::Lights)],
                std::to_string(rooms[r].value("NumLights", -1)))
          << "room " << r;
      EXPECT_EQ(cells[static_cast<int>(RoomColumn::Portals)],
                std::to_string(rooms[r].value("NumPortals", -1)))
          << "room " << r;
      EXPECT_EQ(cells[static_cast<int>(RoomColumn::Size)],
                std::to_string(rooms[r].value("NumXSectors", -1)) + " x " +
                    std::to_string(rooms[r].value("NumZSectors", -1)))
          << "room " << r;
    }
    // Sectors with a trigger, summed over the rooms.
    int64_t triggerSectors = 0;
    for (const ListRow& row : roomRows)
      triggerSectors += std::stoll(row.Cells[static_cast<int>(RoomColumn::TriggerSectors)]);
    EXPECT_EQ(triggerSectors, e.value("sectors_with_trigger", -1));
    ++checked;
  }
  EXPECT_GT(checked, 15);
}

}  // namespace
}  // namespace slab
