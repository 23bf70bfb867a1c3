// The level-wide item and trigger lists, their filter and the sector tooltip: on the showcase
// level, where every row is known, and on every real level, where the rows must agree with
// the floor-data walkers and the sector panels.
#include "map/level_lists.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "floordata/sector_contents.h"
#include "floordata/sector_panel.h"
#include "level/load_level.h"
#include "map/sector_tooltip.h"
#include "map/trigger_index.h"
#include "support/compose_classic.h"
#include "support/real_levels.h"
#include "tools/showcase_level.h"

namespace slab {
namespace {

using test::kShowcaseDoor;
using test::kShowcaseSwitch;
using test::kShowcaseTiger;

ObjectNames ShowcaseNames() {
  ObjectNames names;
  names.Objects[0][GameNumber(Game::TR2)] = "Lara";
  names.Objects[106][GameNumber(Game::TR2)] = "Door 1";
  names.Objects[104][GameNumber(Game::TR2)] = "Wall Switch";
  names.Objects[39][GameNumber(Game::TR2)] = "Tiger";
  names.Objects[64][GameNumber(Game::TR2)] = "Slamming Door";
  return names;
}

class ShowcaseLists : public testing::Test {
 protected:
  void SetUp() override {
    RecordingSink messages;
    const auto bytes = test::ComposeClassic(test::ShowcaseDraft()).Bytes;
    LoadResult loaded = LoadLevelFromBytes(bytes, "showcase.tr2", messages);
    version_ = loaded.DetectedGame.value_or(version_);
    ASSERT_TRUE(loaded.Loaded);
    level_ = std::move(loaded.Lvl);
    triggers_ = BuildTriggerIndex(level_);
  }
  std::vector<ItemRow> Items() const { return BuildItemRows(level_, version_, names_, triggers_); }
  std::vector<TriggerRow> Triggers() const { return BuildTriggerRows(level_, version_, names_); }

  Game version_ = Game::None;
  Level level_;
  ObjectNames names_ = ShowcaseNames();
  TriggerIndex triggers_;
};

TEST_F(ShowcaseLists, ItemRowsShowEveryColumn) {
  const auto rows = Items();
  ASSERT_EQ(rows.size(), 8u);
  const Item& door = level_.Items[kShowcaseDoor];
  EXPECT_EQ(rows[kShowcaseDoor].Cells,
            (std::vector<std::string>{"Item 1", "106", "Door 1", "0", "6,4", std::to_string(door.X),
                                      std::to_string(door.Y), std::to_string(door.Z), "-1",
                                      "0x0000 (mask 00000)", "2"}));
  // The tiger stands in the corridor; one pad in the hall and the anti-pad there act on it.
  EXPECT_EQ(rows[kShowcaseTiger].Cells[static_cast<int>(ItemColumn::Sector)], "2,1");
  EXPECT_EQ(rows[kShowcaseTiger].Room, 1);
  for (const ItemRow& row : rows) {
    EXPECT_EQ(row.Triggers, static_cast<int>(triggers_[row.Entity].size())) << row.Entity;
    // The computed sector is the one the panel lists the item on.
    const auto on = EntitiesOnSector(level_, row.Room, row.A, row.B);
    EXPECT_NE(std::find(on.begin(), on.end(), row.Entity), on.end()) << row.Entity;
  }
}

TEST_F(ShowcaseLists, AIObjectsFollowItemsAndAnItemOutsideTheRoomsHasNoSector) {
  level_.AIObjects.push_back({39, 1, 1024 + 512, 0, 2048 + 512, 7, 0x3E, 0});
  level_.Items[kShowcaseSwitch].Room = 99;
  const auto rows = Items();
  ASSERT_EQ(rows.size(), 9u);
  const ItemRow& ai = rows.back();
  EXPECT_TRUE(ai.IsAI);
  EXPECT_EQ(ai.Entity, 8);
  EXPECT_EQ(ai.Cells[0], "AI 0");
  EXPECT_EQ(ai.Cells[static_cast<int>(ItemColumn::Flags)], "0x003E (mask 11111)");
  EXPECT_EQ(ai.Cells[static_cast<int>(ItemColumn::Triggers)], "");
  EXPECT_FALSE(rows[kShowcaseSwitch].HasRoom);
  EXPECT_EQ(rows[kShowcaseSwitch].Cells[static_cast<int>(ItemColumn::Sector)], "-");
}

TEST(ItemFlagsText, ShowsTheBoxesOfItemsAndAIObjects) {
  const struct {
    uint16_t Flags;
    bool IsAI;
    const char* Text;
  } cases[] = {
      {0x3E00, false, "0x3E00 (mask 11111)"},
      {0x8300, false, "0x8300 (mask 10000, invisible, clear body)"},
      {0x0004, true, "0x0004 (mask 01000)"},
      {0x8100, true, "0x8100 (mask 00000)"},  // AI objects have no such boxes
  };
  for (const auto& c : cases) EXPECT_EQ(ItemFlagsText(c.Flags, c.IsAI), c.Text) << c.Text;
}

TEST_F(ShowcaseLists, TriggerRowsSplitThePanelsLines) {
  const auto rows = Triggers();
  EXPECT_EQ(static_cast<int64_t>(rows.size()), CountLevelTriggers(level_).TriggerActions);
  for (const TriggerRow& row : rows)
    EXPECT_EQ(row.Cells[2] + " for " + row.Cells[3],
              TriggerLine(row.Entry, level_, version_, names_));
  // The wall switch at (2, 5) of the hall opens the door and shows camera 0.
  std::vector<std::vector<std::string>> atSwitch;
  for (const TriggerRow& row : rows)
    if (row.Room == 0 && row.A == 2 && row.B == 5) atSwitch.push_back(row.Cells);
  ASSERT_GE(atSwitch.size(), 2u);
  EXPECT_EQ(atSwitch[0], (std::vector<std::string>{"0", "2,5", "SWITCH", "OBJECT 2 (Wall Switch)",
                                                   "104 Wall Switch"}));
  EXPECT_EQ(atSwitch[1],
            (std::vector<std::string>{"0", "2,5", "SWITCH", "OBJECT 1 (Door 1)", "106 Door 1"}));
  EXPECT_EQ(atSwitch[2], (std::vector<std::string>{"0", "2,5", "SWITCH", "CAMERA 0", ""}));
}

TEST_F(ShowcaseLists, FilterKeepsExactlyTheMatchingRows) {
  const auto items = Items();
  const struct {
    const char* Text;
    int Type;
    std::vector<int> Rows;
  } cases[] = {
      {"", kAnyType, {0, 1, 2, 3, 4, 5, 6, 7}},
      {"door", kAnyType, {1, 6}},  // names, any case
      {"DOOR 1", kAnyType, {1}},   // within one cell
      {"", 106, {1}},              // object id
      {"door", 104, {}},           // both must hold
      {"6,4", kAnyType, {1}},      // the sector column
      {"mask 00000", kAnyType, {0, 1, 2, 3, 4, 5, 6, 7}},
      {"nothing like it", kAnyType, {}},
  };
  for (const auto& c : cases) {
    const ListFilter filter{c.Text, c.Type};
    EXPECT_EQ(MatchingRows(items, filter), c.Rows) << c.Text << " " << c.Type;
    for (size_t i = 0; i < items.size(); ++i)
      EXPECT_EQ(RowMatches(items[i], filter),
                std::find(c.Rows.begin(), c.Rows.end(), static_cast<int>(i)) != c.Rows.end());
  }
  const auto triggers = Triggers();
  const auto switches = MatchingRows(triggers, {"", 2});
  ASSERT_FALSE(switches.empty());
  for (int row : switches) EXPECT_EQ(triggers[row].Cells[2], "SWITCH");
  EXPECT_EQ(MatchingRows(triggers, {"switch", kAnyType}), switches);
}

TEST_F(ShowcaseLists, TypeChoicesListEachTypeOnce) {
  const auto items = ItemTypeChoices(Items());
  ASSERT_EQ(items.size(), 8u);  // eight different objects
  EXPECT_EQ(items.front().Text, "0 Lara");
  EXPECT_TRUE(
      std::is_sorted(items.begin(), items.end(), [](auto& l, auto& r) { return l.Type < r.Type; }));
  EXPECT_EQ(items.back().Text, "136");  // no name given
  const auto triggers = TriggerTypeChoices(Triggers());
  ASSERT_FALSE(triggers.empty());
  EXPECT_NE(std::find_if(triggers.begin(), triggers.end(),
                         [](auto& c) { return c.Type == 2 && c.Text == "SWITCH"; }),
            triggers.end());
}

TEST_F(ShowcaseLists, TooltipSaysWhatThePanelsSay) {
  const struct {
    int Room, A, B;
    std::vector<std::string> Parts;
  } cases[] = {
      {0, 2, 5, {"SWITCH for OBJECT 1 (Door 1)", "Timer 0", "1 item", "Item 2 - 104 Wall Switch"}},
      {0, 7, 3, {"Portal 1,"}},
      {0, 3, 3, {"Above 2,"}},
      {0, 5, 5, {"1 Static Mesh", "Item 7 - 67"}},
      {0, 0, 0, {"\nWall\n"}},
      {1, 2, 1, {"Item 3 - 39 Tiger", "Below None"}},
  };
  for (const auto& c : cases) {
    const std::string tip = SectorTooltip(level_, version_, names_, c.Room, c.A, c.B);
    const auto panel = ShowSector(level_, version_, names_, c.Room, c.A, c.B, true, true);
    ASSERT_TRUE(panel);
    const std::string& caption = panel->Sectors.SecInf;  // "Sector Info [Sector 1,4]"
    EXPECT_EQ(tip.substr(0, tip.find('\n')),
              "Room " + std::to_string(c.Room) + ", " +
                  caption.substr(caption.find('[') + 1, caption.find(']') - caption.find('[') - 1));
    for (const std::string& part : c.Parts)
      EXPECT_NE(tip.find(part), std::string::npos) << part << " in\n" << tip;
  }
  EXPECT_EQ(SectorTooltip(level_, version_, names_, 0, 8, 0), "");
  EXPECT_EQ(SectorTooltip(level_, version_, names_, 4, 0, 0), "");
  EXPECT_EQ(SectorTooltip(level_, version_, names_, -1, 0, 0), "");
}

// Every real level: each item and AI object is one row in entity order, each trigger action
// one row, and the filter keeps exactly the rows with a cell holding the text.
class ListsRealLevel : public testing::TestWithParam<std::filesystem::path> {};

TEST_P(ListsRealLevel, EveryEntityAndActionOnceAndFiltersExact) {
  RecordingSink messages;
  LoadResult loaded = LoadLevel(GetParam(), messages);
  Game version = loaded.DetectedGame.value_or(Game::None);
  if (!loaded.Loaded) GTEST_SKIP() << GetParam() << " is refused by the reader";
  const Level& level = loaded.Lvl;
  const ObjectNames names;  // ids only: the filter sees what the list shows
  const auto items = BuildItemRows(level, version, names, BuildTriggerIndex(level));
  ASSERT_EQ(items.size(), level.Items.size() + level.AIObjects.size());
  for (size_t i = 0; i < items.size(); ++i) ASSERT_EQ(items[i].Entity, static_cast<int>(i));
  const auto triggers = BuildTriggerRows(level, version, names);
  EXPECT_EQ(static_cast<int64_t>(triggers.size()), CountLevelTriggers(level).TriggerActions);

  auto check = [](const auto& rows, const ListFilter& filter, auto typeOf) {
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
  };
  auto objectOf = [](const ItemRow& row) { return row.ObjectID; };
  auto typeOf = [](const TriggerRow& row) { return static_cast<int>(row.Entry.TriggerType); };
  for (const char* text : {"", "1", "12", "mask 11111", "OBJECT", "x"}) {
    check(items, {text, kAnyType}, objectOf);
    check(triggers, {text, kAnyType}, typeOf);
  }
  if (!items.empty()) check(items, {"", items.back().ObjectID}, objectOf);
  if (!triggers.empty()) check(triggers, {"object", triggers.back().Entry.TriggerType}, typeOf);
}

INSTANTIATE_TEST_SUITE_P(All, ListsRealLevel, testing::ValuesIn(test::RealLevels({""})));
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ListsRealLevel);

}  // namespace
}  // namespace slab
