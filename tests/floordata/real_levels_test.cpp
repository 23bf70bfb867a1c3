// Every real level: the walkers and the sector panel over every sector, and the trigger
// counts against what an independent reader found.
#include "support/real_levels.h"

#include <gtest/gtest.h>

#include "floordata/sector_panel.h"
#include "floordata/walkers.h"
#include "support/expected.h"

namespace slab {
namespace {

class FloorDataRealLevel : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(FloorDataRealLevel, WalkersAndTriggerCounts) {
  SLAB_REQUIRE_REAL_LEVELS();
  const ObjectNames names;
  const std::filesystem::path& file = GetParam();
  {
    const nlohmann::json* entry = test::ExpectedEntry(file);
    const auto loaded = test::LoadFile(file);
    if (!loaded->Result.Loaded) return;  // the refused file is the reader's business
    const Level& level = loaded->Result.Lvl;
    ASSERT_TRUE(entry && (*entry)["sectors_with_trigger"].is_number());
    const TriggerCounts counts = CountLevelTriggers(level);
    EXPECT_EQ(counts.SectorsWithTrigger, (*entry)["sectors_with_trigger"].get<int64_t>());
    EXPECT_EQ(counts.TriggerActions, (*entry)["trigger_actions"].get<int64_t>());

    // Every operation on every sector stays inside FloorData (the sanitizer build checks the
    // reads) and the operations agree with each other and with the panel.
    for (size_t r = 0; r < level.Rooms.size(); ++r) {
      const Room& room = level.Rooms[r];
      for (int a = 0; a < room.NumXSectors; ++a)
        for (int b = 0; b < room.NumZSectors; ++b) {
          if (!room.HasSector(a, b)) continue;
          const uint16_t index = room.SectorAt(a, b).FDIndex;
          const auto list = GetTriggerList(level, index);
          EXPECT_EQ(GetFirstTrigger(level, index) == kNoTrigger, list.empty());
          (void)GetDoor(level, index);
          (void)GetSectorFlags(level, index);
          const auto bytes = CopySectorFloorData(level, index);
          EXPECT_TRUE(bytes.size() % 2 == 0 && (list.empty() || !bytes.empty()));
          if (!list.empty() &&
              (list[0].Action == kActionObject || list[0].Action == kActionTarget)) {
            EXPECT_TRUE(SectorHasObjectTrigger(level, index, list[0].Param));
          }
          const auto panel =
              ShowSector(level, loaded->GameVersion, names, static_cast<int>(r), a, b, true, true);
          ASSERT_TRUE(panel);
          EXPECT_EQ(panel->Triggers.TriggerData ? panel->Triggers.TriggerData->Lines.size() : 0,
                    list.size());
        }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(RealLevels, FloorDataRealLevel, test::RealLevelParams({""}),
                         test::RealLevelName);

}  // namespace
}  // namespace slab
