// Every level-wide list on the sample level and the composed levels of each game, where every
// row is known: the items, triggers, rooms, lights, cameras, statics and sounds lists, their sort
// order, filters and the sector tooltip (every real level is checked in real_level_tables_test).
#include "map/level_tables.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "floordata/sector_contents.h"
#include "floordata/sector_panel.h"
#include "level/text.h"
#include "map/place_texts.h"
#include "map/sector_tooltip.h"
#include "map/trigger_index.h"
#include "map_fixture.h"
#include "tools/compose_tr45.h"

namespace slab {
namespace {

using Cells = std::vector<std::string>;

class Tables : public test::MapFixture {
 protected:
  void Open(const std::vector<uint8_t>& bytes, const std::string& name) {
    auto loaded = test::LoadBytes(bytes, name);
    ASSERT_TRUE(loaded->Result.Loaded) << loaded->FirstMessage();
    doc.GameVersion = loaded->GameVersion;
    doc.CurrentLevel = std::move(loaded->Result.Lvl);
  }
  void Open(const test::DraftLevel& draft) {
    Open(test::ComposeClassic(draft).Bytes, "sample.tr2");
  }
  // Appends a floor-data list and points sector (a, b) of the room at it.
  void AppendList(int room, int a, int b, const std::vector<uint16_t>& words) {
    At(room, a, b).FDIndex = static_cast<uint16_t>(level().FloorData.size() / 2);
    for (uint16_t w : words) {
      level().FloorData.push_back(static_cast<uint8_t>(w & 0xFF));
      level().FloorData.push_back(static_cast<uint8_t>(w >> 8));
    }
  }
  static std::vector<Cells> CellsOf(const auto& rows) {
    std::vector<Cells> out;
    for (const auto& row : rows) out.push_back(row.Cells);
    return out;
  }
};

// The showcase (a third-game level), its corridor (room 1) a water room with an alternate.
TEST_F(Tables, RoomRowsCountWhatEachRoomHolds) {
  test::DraftLevel draft = test::ShowcaseDraft();
  draft.Rooms[1].AlternateRoom = 2;
  draft.Rooms[1].AlternateGroup = 4;
  draft.Rooms[1].Flags = 0x0001 | 0x0020 | 0x0080 | 0x0400;
  draft.Rooms[2].AlternateGroup = 9;  // no alternate: its group means nothing
  Open(draft);
  const auto rows = BuildRoomRows(level(), doc.GameVersion);
  ASSERT_EQ(rows.size(), 4u);
  // Hall: Lara, the door, the switch and the block; three statics; switch, pad and heavy
  // triggers. Corridor: the tiger and the anti-pad; its monkey-swing sectors trigger nothing.
  EXPECT_EQ(rows[0].Cells,
            (Cells{"0", "0", "0", "8 x 8", "0", "-12", "", "-", "-", "4", "3", "1", "2", "3"}));
  EXPECT_EQ(rows[1].Cells,
            (Cells{"1", "6", "2", "6 x 4", "0", "-8", "water, outside, quicksand, 0x0400", "2", "4",
                   "1", "0", "1", "2", "1"}));
  EXPECT_EQ(rows[2].Cells[static_cast<int>(RoomColumn::Group)], "-");
  EXPECT_EQ(rows[3].Cells[static_cast<int>(RoomColumn::TriggerSectors)], "2");
  EXPECT_EQ(rows[1].Target, (ListTarget{.Room = 1}));

  EXPECT_EQ(MatchingRows(rows, RoomFilter{.Text = "", .HasTriggers = true}),
            (std::vector{0, 1, 3}));
  EXPECT_EQ(MatchingRows(rows, RoomFilter{.Text = "", .Water = true}), std::vector{1});
  EXPECT_EQ(MatchingRows(rows, RoomFilter{.Text = "", .HasAlternate = true}), std::vector{1});
  EXPECT_EQ(MatchingRows(rows, RoomFilter{.Text = "8 X 8"}), (std::vector{0, 3}));
  EXPECT_EQ(MatchingRows(rows, RoomFilter{.Text = "8 x 8", .HasTriggers = true, .Water = true}),
            std::vector<int>{});
}

// Each game keeps its lights its own way; every kind reads in words.
TEST_F(Tables, LightRowsOfEveryGame) {
  const int kind = static_cast<int>(LightColumn::Kind);
  auto lightCells = [&](size_t row) {
    const auto rows = BuildLightRows(level(), doc.GameVersion);
    return Cells(rows.at(row).Cells.begin() + kind, rows.at(row).Cells.end());
  };
  Open(test::ComposeClassic(test::SampleDraft(Game::TR1)).Bytes, "sample.phd");
  EXPECT_EQ(lightCells(0), (Cells{"Point", "intensity 6144", "fade 6144"}));
  const auto tr1 = BuildLightRows(level(), doc.GameVersion);
  ASSERT_EQ(tr1.size(), 4u);
  // The hall's light stands at (4096, 4096), on the corner of four sectors: the nearest centre.
  EXPECT_EQ(Cells(tr1[0].Cells.begin(), tr1[0].Cells.begin() + kind),
            (Cells{"0", "0", "4,4", "4096", "-2048", "4096"}));
  EXPECT_EQ(tr1[0].Target, (ListTarget{.Room = 0, .SectorX = 4, .SectorZ = 4, .Light = 0}));
  EXPECT_EQ(tr1[3].Target.Room, 3);

  Open(test::ComposeClassic(test::SampleDraft(Game::TR2)).Bytes, "sample.tr2");
  EXPECT_EQ(lightCells(0), (Cells{"Point", "intensity 6144 / 6144", "fade 6144 / 6144"}));

  // The third game's colour and kind sit in the bytes the second game reads as intensities.
  test::DraftLevel tr3 = test::SampleDraft(Game::TR3);
  RoomLight point = tr3.Rooms[0].Lights[0];
  point.Intensity1 = 0x2010;
  point.Intensity2 = 0x0130;
  point.Fade1 = 5000;
  point.Fade2 = 8000;
  RoomLight sun = point;
  sun.Intensity2 = 0x00FF;
  tr3.Rooms[0].Lights = {point, sun};
  Open(tr3);
  EXPECT_EQ(lightCells(0), (Cells{"Point", "#102030", "fade 8000"}));
  EXPECT_EQ(lightCells(1), (Cells{"Sun", "#1020FF", "-"}));

  test::Tr4Draft tr4 = test::SampleTr4Draft();
  RoomLight spot = tr4.Data.Rooms[0].Lights[0];
  spot.LightType = 0x0002;
  RoomLight fog = spot;
  fog.LightType = 0x0104;
  tr4.Data.Rooms[0].Lights.push_back(spot);
  tr4.Data.Rooms[0].Lights.push_back(fog);
  Open(test::ComposeTR4(tr4).Bytes, "sample.tr4");
  EXPECT_EQ(lightCells(0), (Cells{"Point", "#0A141E, intensity 31", "in 1.5, out 2.5"}));
  EXPECT_EQ(lightCells(1),
            (Cells{"Spot", "#0A141E, intensity 31", "in 1.5, out 2.5, length 3.5, cut-off 4.5"}));
  EXPECT_EQ(lightCells(2)[0], "Fog bulb");

  test::Tr5Draft tr5Draft = test::SampleTr5Draft();
  // The kind is the low byte; real files leave a filler byte after it.
  tr5Draft.Rooms[0].Base.Lights[1].LightType = static_cast<int16_t>(0xCD01);
  Open(test::ComposeTR5(tr5Draft).Bytes, "sample.trc");
  const auto tr5 = BuildLightRows(level(), doc.GameVersion);
  ASSERT_FALSE(tr5.empty());
  EXPECT_EQ(tr5[0].Cells[static_cast<int>(LightColumn::X)], "1.5");  // the float position
  EXPECT_EQ(lightCells(0)[0], "Spot");
  EXPECT_EQ(lightCells(0)[1], "r 0.5, g 0, b 0");
  EXPECT_NE(lightCells(0)[2].find("range 2048"), std::string::npos) << lightCells(0)[2];
  EXPECT_EQ(lightCells(1)[0], "Point");
  EXPECT_EQ(lightCells(1)[2].find("range"), std::string::npos) << lightCells(1)[2];
}

// Camera 0 is the switch's camera and, here, also a corridor trigger's; camera 1 is a sink
// whose room field holds the current's strength; camera 2 is named by no trigger.
TEST_F(Tables, CameraRowsTellSinksFromCameras) {
  OpenShowcase();
  Camera sink{7 * 1024 + 2560, -512, 2 * 1024 + 1536, 5, 0};
  level().Cameras.push_back(sink);
  level().Cameras.push_back({100, 0, 100, 30, 0x0001});
  AppendList(1, 2, 2,
             {test::Fn(kFdTrigger, 0, true), 0, test::Act(2, 1), test::Act(kActionCamera, 0),
              test::Act(2, 1, true)});
  const auto rows = BuildCameraRows(level());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].Cells, (Cells{"0", "Fixed camera", "0", "3,6", "3072", "-2048", "6144",
                                  "0x0000", "0 [2,5], 1 [2,2]"}));
  EXPECT_EQ(rows[1].Kind, CameraKind::Sink);
  // Named twice by one sector, listed once.
  EXPECT_EQ(rows[1].Cells, (Cells{"1", "Sink", "1", "3,1", "9728", "-512", "3584",
                                  "0x0000, strength 5", "1 [2,2]"}));
  EXPECT_EQ(rows[1].Target, (ListTarget{.Room = 1, .SectorX = 3, .SectorZ = 1, .Camera = 1}));
  EXPECT_EQ(rows[2].Cells[1], "Camera");
  EXPECT_EQ(rows[2].Cells[2], "30");  // a camera's room is its own field, even one not there
  EXPECT_EQ(rows[2].Target.Room, -1);
  EXPECT_EQ(MatchingRows(rows, "sink"), std::vector{1});
  EXPECT_EQ(MatchingRows(rows, "1 [2,2]"), (std::vector{0, 1}));
}

TEST_F(Tables, StaticAndSoundRows) {
  OpenShowcase();
  names.Statics[10] = "Plant";
  const auto statics = BuildStaticRows(level(), doc.GameVersion, names);
  ASSERT_EQ(statics.size(), 4u);
  EXPECT_EQ(statics[1].Cells,
            (Cells{"1", "0", "5,5", "5632", "0", "5632", "10", "Plant", "90\u00B0"}));
  EXPECT_EQ(statics[1].Target, (ListTarget{.Room = 0, .SectorX = 5, .SectorZ = 5, .Static = 1}));
  EXPECT_EQ(statics[3].Cells[1], "3");
  EXPECT_EQ(statics[0].Cells[7], "Mesh 0");

  level().SoundSources.push_back({-5000, 0, -5000, 3, 0x40});
  const auto sounds = BuildSoundRows(level());
  ASSERT_EQ(sounds.size(), 2u);
  EXPECT_EQ(sounds[0].Cells, (Cells{"0", "0", "4,4", "4096", "-1024", "4096", "0", "0x0080"}));
  EXPECT_EQ(sounds[1].Cells, (Cells{"1", "-", "-", "-5000", "0", "-5000", "3", "0x0040"}));
  EXPECT_EQ(sounds[1].Target, ListTarget{});
}

// The items and triggers lists lead where their rows say; the trigger filter reads the action
// and object texts too.
TEST_F(Tables, ItemAndTriggerRowsLeadToTheirSectors) {
  OpenShowcase();
  names.Objects[129][GameNumber(Game::TR3)] = "Wall Switch";
  level().Items[test::kShowcaseTiger].X += 40000;  // far off its room's grid
  const auto items = BuildItemRows(level(), doc.GameVersion, names, {});
  EXPECT_EQ(RowTarget(level(), items[test::kShowcaseDoor]),
            (ListTarget{.Room = 0, .SectorX = 6, .SectorZ = 4, .Entity = test::kShowcaseDoor}));
  EXPECT_EQ(RowTarget(level(), items[test::kShowcaseTiger]),
            (ListTarget{.Room = 1, .Entity = test::kShowcaseTiger}));
  const auto triggers = BuildTriggerRows(level(), doc.GameVersion, names);
  for (const char* text : {"wall switch", "camera 0"}) {
    const auto found = MatchingRows(triggers, ListFilter{text});
    ASSERT_EQ(found.size(), 1u) << text;
    EXPECT_EQ(RowTarget(triggers[static_cast<size_t>(found[0])]).SectorZ, 5) << text;
  }
  const auto bySwitch = MatchingRows(triggers, ListFilter{"wall switch"});
  EXPECT_EQ(RowTarget(triggers[static_cast<size_t>(bySwitch[0])]),
            (ListTarget{.Room = 0, .SectorX = 2, .SectorZ = 5, .Entity = test::kShowcaseSwitch}));
}

TEST(CompareCells, NumbersByValueTextByCharacter) {
  const std::pair<const char*, const char*> ascending[] = {
      {"Item 9", "Item 10"}, {"-2", "1"},          {"-10", "-2"}, {"1,4", "1,10"},
      {"-1,5", "0,0"},       {"abc", "abd"},       {"", "a"},     {"-", "0"},
      {"2 x 8", "10 x 1"},   {"0x0040", "0x0100"}, {"9", "10a"},  {"x-1", "x-2"}};
  for (auto [a, b] : ascending) {
    EXPECT_LT(CompareCells(a, b), 0) << a << " < " << b;
    EXPECT_GT(CompareCells(b, a), 0) << b << " > " << a;
  }
  for (auto [a, b] : {std::pair{"007", "7"}, {"-0", "0"}, {"2,5", "2,5"}})
    EXPECT_EQ(CompareCells(a, b), 0) << a << " = " << b;

  std::vector<ListRow> rows(4);
  const char* cells[] = {"10", "9", "-3", "9"};
  for (size_t i = 0; i < rows.size(); ++i) rows[i].Cells = {"x", cells[i]};
  EXPECT_EQ(SortedRows(rows, 1, true), (std::vector{2, 1, 3, 0}));
  EXPECT_EQ(SortedRows(rows, 1, false), (std::vector{0, 1, 3, 2}));  // ties keep their order
  EXPECT_EQ(SortedRows(rows, 7, true), (std::vector{0, 1, 2, 3}));   // no such column
}

TEST_F(Tables, WhereAnEntityStandsAndHeightsAsPeopleReadThem) {
  OpenShowcase();
  const int door = test::kShowcaseDoor;
  level().Items[door].Angle = -16384;
  const auto place = PlaceOfEntity(level(), door);
  ASSERT_TRUE(place);
  EXPECT_EQ(place->Text(), "Room 0, Sector 6,4, X " + std::to_string(level().Items[door].X) +
                               ", Y " + std::to_string(level().Items[door].Y) + ", Z " +
                               std::to_string(level().Items[door].Z) + ", Facing 270\u00B0");
  level().AIObjects.push_back({39, 42, 1, 2, 3, 0, 0, 0x14000});
  const auto ai = PlaceOfEntity(level(), static_cast<int>(level().Items.size()));
  ASSERT_TRUE(ai);
  EXPECT_EQ(ai->Text(), "Room 42 (not in the level), X 1, Y 2, Z 3, Facing 90\u00B0");
  EXPECT_FALSE(PlaceOfEntity(level(), static_cast<int>(level().Items.size()) + 1));
  EXPECT_FALSE(PlaceOfEntity(level(), -1));

  for (auto [angle, text] : {std::pair{16384, "90"},
                             {0x2000, "45"},
                             {0x2AAA, "60"},
                             {100, "0.5"},
                             {65535, "0"},
                             {0, "0"},
                             {-1, "0"},
                             {0x6000, "135"}})
    EXPECT_EQ(DegreesText(angle), std::string(text) + "\u00B0") << angle;
  for (auto [byte, text] : {std::pair{254, "-2 clicks (-512)"},
                            {1, "1 click (256)"},
                            {255, "-1 click (-256)"},
                            {0, "0 clicks (0)"},
                            {127, "127 clicks (32512)"},
                            {128, "-128 clicks (-32768)"}})
    EXPECT_EQ(HeightText(static_cast<uint8_t>(byte)), text) << byte;

  // The panel keeps the byte, the tooltip reads it as a height.
  At(0, 3, 2).Floor = 254;
  const std::string tip = SectorTooltip(level(), doc.GameVersion, names, 0, 3, 2);
  EXPECT_NE(tip.find("Floor -2 clicks (-512), Ceiling "), std::string::npos) << tip;
}

// Every list of the command line, from the same rows as the docks.
TEST_F(Tables, EveryListAsATable) {
  OpenShowcase();
  for (const ListKindName& k : kListKinds) {
    EXPECT_EQ(ListKindFromName(k.Name), k.Kind);
    const LevelTable table = BuildLevelTable(level(), doc.GameVersion, names, k.Kind);
    for (const ListRow& row : table.Rows)
      EXPECT_EQ(row.Cells.size(), table.Titles.size()) << k.Name;
  }
  EXPECT_FALSE(ListKindFromName("Rooms"));
  const LevelTable items = BuildLevelTable(level(), doc.GameVersion, names, ListKind::Items);
  EXPECT_EQ(items.Rows.size(), level().Items.size());
  EXPECT_EQ(items.Rows[test::kShowcaseDoor].Target.Entity, test::kShowcaseDoor);
  EXPECT_EQ(CellsOf(BuildLevelTable(level(), doc.GameVersion, names, ListKind::Rooms).Rows),
            CellsOf(BuildRoomRows(level(), doc.GameVersion)));
}

using test::kShowcaseSwitch;

class ShowcaseLists : public test::MapFixture {
 protected:
  void SetUp() override {
    OpenShowcase();
    for (auto [id, name] :
         {std::pair{131, "Door 1"}, {129, "Wall Switch"}, {28, "Tiger"}, {132, "Door 2"}})
      names.Objects[id][GameNumber(Game::TR3)] = name;
  }
  std::vector<ItemRow> Items() {
    return BuildItemRows(level(), doc.GameVersion, names, BuildTriggerIndex(level()));
  }
  std::vector<TriggerRow> Triggers() { return BuildTriggerRows(level(), doc.GameVersion, names); }
};

// Each item's sector is the one its panel lists it on, named from 0 as every list names it
// (the caption alone counts from -1); AI objects follow the items; an item outside the rooms
// has no sector.
TEST_F(ShowcaseLists, ItemRowsAndTheirSectors) {
  const RoomInfo& corridor = level().Rooms[1].Info;
  level().AIObjects.push_back(
      {39, 1, corridor.X + 512, 0, corridor.Z + 512, 7, 0x3E, 0});  // a corner
  level().Items[kShowcaseSwitch].Room = 99;
  const auto rows = Items();
  ASSERT_EQ(rows.size(), 9u);
  constexpr auto kSector = static_cast<int>(ItemColumn::Sector);
  EXPECT_EQ(std::tuple(rows[8].IsAI, rows[8].Entity, rows[8].Cells[0], rows[8].Cells[kSector]),
            std::tuple(true, 8, "AI 0", "0,0"));
  EXPECT_EQ(rows[kShowcaseSwitch].Cells[kSector], "-");
  for (const ItemRow& row : rows) {
    if (!row.HasRoom) continue;
    const auto on = EntitiesOnSector(level(), row.Room, row.SectorX, row.SectorZ);
    EXPECT_NE(std::find(on.begin(), on.end(), row.Entity), on.end()) << row.Entity;
    const auto panel =
        ShowSector(level(), doc.GameVersion, names, row.Room, row.SectorX, row.SectorZ, true, true);
    ASSERT_TRUE(panel);
    EXPECT_EQ(row.Cells[kSector], std::to_string(row.SectorX) + "," + std::to_string(row.SectorZ));
    EXPECT_EQ(panel->Sectors.SecInf,
              "Sector Info [Sector " + SectorLabel(row.SectorX, row.SectorZ) + "]");
  }
}

TEST_F(ShowcaseLists, TriggerRowsSplitThePanelsLines) {
  const auto rows = Triggers();
  for (const TriggerRow& row : rows)
    EXPECT_EQ(row.Cells[2] + " for " + row.Cells[3],
              TriggerLine(row.Entry, level(), doc.GameVersion, names));
  // The wall switch at (2, 5) of the hall opens the door and shows camera 0.
  std::vector<std::vector<std::string>> atSwitch;
  for (const TriggerRow& row : rows)
    if (row.Room == 0 && row.X == 2 && row.Z == 5) atSwitch.push_back(row.Cells);
  // Its sector reads from 0, where the panel's caption says "Sector Info [Sector 1,4]".
  EXPECT_EQ(atSwitch, (std::vector<std::vector<std::string>>{
                          {"0", "2,5", "SWITCH", "OBJECT 2 (Wall Switch)", "129 Wall Switch"},
                          {"0", "2,5", "SWITCH", "OBJECT 1 (Door 1)", "131 Door 1"},
                          {"0", "2,5", "SWITCH", "CAMERA 0", ""}}));
}

// Any case, within one cell, the sector column too; with a type both must hold.
TEST_F(ShowcaseLists, FilterKeepsExactlyTheMatchingRows) {
  const auto items = Items();
  for (auto [text, type, rows] : {std::tuple{"", kAnyType, std::vector{0, 1, 2, 3, 4, 5, 6, 7}},
                                  {"door", kAnyType, {1, 6}},
                                  {"DOOR 1", kAnyType, {1}},
                                  {"", 131, {1}},
                                  {"door", 129, {}},
                                  {"6,4", kAnyType, {1}}})
    EXPECT_EQ(MatchingRows(items, {text, type}), rows) << text << " " << type;
  const auto triggers = Triggers();
  EXPECT_EQ(MatchingRows(triggers, {"switch", kAnyType}), MatchingRows(triggers, {"", 2}));
}

TEST_F(ShowcaseLists, TooltipSaysWhatThePanelsSay) {
  const struct {
    int Room, A, B;
    std::vector<std::string> Parts;
  } cases[] = {
      {0,
       2,
       5,
       {"Room 0, Sector 2,5\n", "SWITCH for OBJECT 1 (Door 1)", "Timer 0", "1 item",
        "Item 2 - 129 Wall Switch"}},
      {0, 5, 5, {"Room 0, Sector 5,5\n", "1 Static Mesh", "Item 7 - 97"}},
      {1, 2, 1, {"Room 1, Sector 2,1\n", "Item 3 - 28 Tiger", "Below None"}},
      {0, 0, 0, {"Room 0, Sector 0,0\n", "\nWall\n"}},
  };
  for (const auto& c : cases) {
    const std::string tip = SectorTooltip(level(), doc.GameVersion, names, c.Room, c.A, c.B);
    EXPECT_EQ(tip.rfind(c.Parts[0], 0), 0u) << tip;
    for (const std::string& part : c.Parts)
      EXPECT_NE(tip.find(part), std::string::npos) << part << " in\n" << tip;
  }
  for (auto [room, a, b] : {std::tuple{0, 8, 0}, {4, 0, 0}, {-1, 0, 0}})
    EXPECT_EQ(SectorTooltip(level(), doc.GameVersion, names, room, a, b), "");
}

}  // namespace
}  // namespace slab
