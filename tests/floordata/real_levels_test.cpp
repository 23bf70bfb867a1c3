// Every real level: the walkers and the sector panel over every sector, and the trigger
// counts against what an independent reader found.
#include "support/real_levels.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "floordata/sector_panel.h"
#include "floordata/walkers.h"
#include "level/load_level.h"
#include "support/expected.h"

namespace slab {
namespace {

class FloorDataRealLevel : public testing::TestWithParam<std::filesystem::path> {};

TEST(FloorDataRealLevels, FolderPresent) {
  SLAB_REQUIRE_REAL_LEVELS();
  EXPECT_FALSE(test::RealLevels({""}).empty());
}

TEST_P(FloorDataRealLevel, WalkersAndTriggerCounts) {
  const std::filesystem::path& file = GetParam();
  const nlohmann::json* entry = test::ExpectedEntry(file);
  if (!entry || !entry->contains("sectors_with_trigger") ||
      !(*entry)["sectors_with_trigger"].is_number())
    GTEST_SKIP() << "no trigger counts for " << file << " in expected.json";
  RecordingSink messages;
  const LoadResult loaded = LoadLevel(file, messages);
  Game gameVersion = loaded.DetectedGame.value_or(Game::None);
  if (!loaded.Loaded)
    GTEST_SKIP() << file << " does not load yet: "
                 << (messages.Shown.empty() ? "" : messages.Shown.front());
  const Level& level = loaded.Lvl;

  const TriggerCounts counts = CountLevelTriggers(level);
  EXPECT_EQ(counts.SectorsWithTrigger, (*entry)["sectors_with_trigger"].get<int64_t>());
  EXPECT_EQ(counts.TriggerActions, (*entry)["trigger_actions"].get<int64_t>());

  // Every operation on every sector stays inside FloorData (the sanitizer build checks the
  // reads) and the operations agree with each other.
  const ObjectNames names;
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    const Room& room = level.Rooms[r];
    for (int a = 0; a < room.NumXSectors; ++a)
      for (int b = 0; b < room.NumZSectors; ++b) {
        if (!room.HasSector(a, b)) continue;
        const uint16_t index = room.SectorAt(a, b).FDIndex;
        const auto list = GetTriggerList(level, index);
        EXPECT_EQ(GetFirstTrigger(level, index) == kNoTrigger, list.empty());
        const int door = GetDoor(level, index);
        EXPECT_GE(door, -1);
        EXPECT_LE(door, 255);
        (void)GetSectorFlags(level, index);
        const auto bytes = CopySectorFloorData(level, index);
        EXPECT_EQ(bytes.size() % 2, 0u);
        if (!list.empty()) {
          ASSERT_FALSE(bytes.empty());
          const TriggerEntry& first = list.front();
          if (first.Action == kActionObject || first.Action == kActionTarget) {
            EXPECT_TRUE(SectorHasObjectTrigger(level, index, first.Param));
          }
        }
        const auto panel =
            ShowSector(level, gameVersion, names, static_cast<int>(r), a, b, true, true);
        ASSERT_TRUE(panel);
        if (!list.empty()) {
          ASSERT_TRUE(panel->Triggers.TriggerData);
          EXPECT_EQ(panel->Triggers.TriggerData->Lines.size(), list.size());
        }
      }
  }
}

std::string TestName(const testing::TestParamInfo<std::filesystem::path>& info) {
  std::string name = std::filesystem::relative(info.param, test::RealLevelsDir()).string();
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(FloorDataRealLevel);
INSTANTIATE_TEST_SUITE_P(Levels, FloorDataRealLevel, testing::ValuesIn(test::RealLevels({""})),
                         TestName);

}  // namespace
}  // namespace slab
