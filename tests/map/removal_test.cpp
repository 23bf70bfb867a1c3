// Removing items and AI objects from the sample level, duplicating them, and adding and
// removing static meshes: every trigger action keeps acting on the same item, lists are
// rewritten only where the item itself was named, and undo gives back the saved bytes.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "floordata/walkers.h"
#include "map/draw_room.h"
#include "map/edit_commands.h"
#include "map/floor_edits.h"
#include "map/item_removal.h"
#include "map/static_edits.h"
#include "map/trigger_index.h"
#include "map_fixture.h"
#include "write/write_level.h"

namespace slab {
namespace {

using test::Act;
using test::Fn;

// Every trigger action of the level with its sector; an object or target action by the item
// it names (object id and position), any other by its parameter.
using ActionKey = std::tuple<int, int, int, int, int, int, int32_t, int32_t>;
std::vector<ActionKey> Actions(const Level& level) {
  std::vector<ActionKey> keys;
  for (int r = 0; r < static_cast<int>(level.Rooms.size()); ++r) {
    const Room& room = level.Rooms[r];
    for (int a = 0; a < room.NumXSectors; ++a)
      for (int b = 0; b < room.NumZSectors; ++b)
        for (const TriggerEntry& e : GetTriggerList(level, room.SectorAt(a, b).FDIndex)) {
          const bool item = e.Action == kActionObject || e.Action == kActionTarget;
          if (!item || static_cast<size_t>(e.Param) >= level.Items.size()) {
            keys.emplace_back(r, a, b, e.TriggerType, e.Action, e.Param, 0, 0);
            continue;
          }
          const Item& named = level.Items[e.Param];
          keys.emplace_back(r, a, b, e.TriggerType, e.Action, named.ObjectID, named.X, named.Z);
        }
  }
  return keys;
}

std::vector<uint16_t> ListWords(const Level& level, uint16_t fdIndex) {
  const std::vector<uint8_t> bytes = CopySectorFloorData(level, fdIndex);
  std::vector<uint16_t> words;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    words.push_back(static_cast<uint16_t>(bytes[i] | bytes[i + 1] << 8));
  return words;
}

class RemovalTest : public test::MapFixture {
 protected:
  // The sample, with four more hall sectors whose lists name the tiger: beside a climbable
  // wall; before a camera and a kill square; after the boulder; as the keyhole of a key
  // trigger that also opens the door.
  void SetUp() override {
    OpenShowcase();
    auto list = [&](int a, int b, std::vector<uint16_t> words) {
      std::vector<uint8_t> bytes;
      for (uint16_t w : words) bytes.insert(bytes.end(), {uint8_t(w & 0xFF), uint8_t(w >> 8)});
      At(0, a, b).FDIndex = static_cast<uint16_t>(AppendFloorData(level(), bytes));
    };
    const int tiger = test::kShowcaseTiger;
    list(1, 2, {Fn(kFdClimb, 2), Fn(kFdTrigger, 0, true), 0x3E00, Act(0, tiger, true)});
    list(1, 3, {Fn(kFdTrigger), 0x3E00, Act(0, tiger), Act(1, 0), 0x8000, Fn(kFdKill, 0, true)});
    list(1, 4,
         {Fn(kFdTrigger), 0x3E00, Act(0, test::kShowcaseBoulder), Act(6, tiger, true),
          Fn(kFdKill, 0, true)});
    list(1, 5, {Fn(kFdTrigger, 3, true), 0x3E00, Act(0, tiger), Act(0, test::kShowcaseDoor, true)});
    state.Triggers = BuildTriggerIndex(level());
    saved = Saved();
  }

  std::vector<uint8_t> Saved() const {
    return EncodeClassicLevel(doc.CurrentLevel, doc.GameVersion);
  }

  CommandOutcome Remove(int entity, bool withActions) {
    state.SelectedEntity = entity;
    return RemoveEntityCommand(doc, state, history, withActions);
  }

  EditHistory history;
  std::vector<uint8_t> saved;
};

TEST_F(RemovalTest, FirstMiddleAndLastItemGoWithEveryOtherActionOnItsItem) {
  const std::vector<ActionKey> before = Actions(level());
  const std::vector<uint8_t> floorData = level().FloorData;
  // The tiger's actions, gone with it: two single-action triggers, one on each side of a
  // kept action, and the key trigger it is the keyhole of, with its door action.
  auto tigerGone = [&] {
    std::vector<ActionKey> left;
    for (const ActionKey& k : before) {
      const auto [r, a, b, type, action, id, x, z] = k;
      const bool tigerSector = (r == 0 && a == 4 && b == 1) || (r == 1 && a == 1 && b == 2);
      const bool keyTrigger = r == 0 && a == 1 && b == 5;
      if (!tigerSector && !keyTrigger && id != level().Items[test::kShowcaseTiger].ObjectID)
        left.push_back(k);
    }
    return left;
  };
  const std::vector<ActionKey> afterTiger = tigerGone();
  const struct {
    int Item;
    bool WithActions;
    const std::vector<ActionKey>& Left;
    int Renumbered, Removed;
  } cases[] = {{test::kShowcaseLara, false, before, 14, 0},
               {test::kShowcaseTiger, true, afterTiger, 4, 7},
               {test::kShowcaseBlock, false, before, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE("item " + std::to_string(c.Item));
    const size_t items = level().Items.size();
    const CommandOutcome done = Remove(c.Item, c.WithActions);
    ASSERT_TRUE(done) << done.Status;
    const auto& removed = std::get<EntityRemoved>(done.Done->Change);
    EXPECT_EQ(std::tie(removed.RenumberedActions, removed.RemovedActions),
              std::tie(c.Renumbered, c.Removed));
    EXPECT_EQ(level().Items.size(), items - 1);
    EXPECT_EQ(Actions(level()), c.Left);
    EXPECT_EQ(state.SelectedEntity, -1);
    EXPECT_EQ(state.Triggers, BuildTriggerIndex(level()));
    if (c.Item == test::kShowcaseBlock) {
      EXPECT_EQ(level().FloorData, floorData);
    }
    const std::vector<uint8_t> after = Saved();

    ASSERT_TRUE(UndoCommand(doc, state, history));
    EXPECT_EQ(Saved(), saved);
    EXPECT_EQ(state.Triggers, BuildTriggerIndex(level()));
    ASSERT_TRUE(RedoCommand(doc, state, history));
    EXPECT_EQ(Saved(), after);
    ASSERT_TRUE(UndoCommand(doc, state, history));
  }
}

TEST_F(RemovalTest, TheItemsOwnActionsGoOnlyWhenTheUserAgrees) {
  const int tiger = test::kShowcaseTiger;
  const RemovalPlan plan = PlanEntityRemoval(level(), tiger);
  ASSERT_TRUE(plan.Allowed());
  ASSERT_EQ(plan.Naming.size(), 6u);
  const std::string question = RemovalQuestion(level(), doc.GameVersion, names, plan);
  // Every action that goes is named: the key trigger goes whole, with the action that
  // followed its keyhole.
  for (const char* line :
       {"Item 3 is named by 6 trigger actions:\n", "Room 0, sector 1,3: TRIGGER for OBJECT 3 ()\n",
        "Room 0, sector 1,5: KEY for OBJECT 3 (), with the whole trigger\n    and with it: OBJECT "
        "1 ()\n",
        "\nRemove Item 3 and these 7 actions?"})
    EXPECT_NE(question.find(line), std::string::npos) << line << question;

  // Refused without the user's yes: nothing changes.
  EXPECT_EQ(Remove(tiger, false).Status, NamedByText(plan));
  EXPECT_EQ(Saved(), saved);
  EXPECT_EQ(history.Size(), 0u);

  const size_t end = level().FloorData.size() / 2;
  const uint16_t yard = At(3, 4, 2).FDIndex;
  ASSERT_TRUE(Remove(tiger, true));
  // Only the sectors that named the tiger point elsewhere, to copies after the old end.
  EXPECT_EQ(At(3, 4, 2).FDIndex, yard);
  EXPECT_EQ(At(0, 1, 2).FDIndex, end);
  // The climbable wall stays and now ends the list.
  EXPECT_EQ(ListWords(level(), At(0, 1, 2).FDIndex),
            (std::vector<uint16_t>{Fn(kFdClimb, 2, true)}));
  // The camera keeps its second word, whose end bit ends the trigger; the kill square stays.
  EXPECT_EQ(
      ListWords(level(), At(0, 1, 3).FDIndex),
      (std::vector<uint16_t>{Fn(kFdTrigger), 0x3E00, Act(1, 0), 0x8000, Fn(kFdKill, 0, true)}));
  // The boulder, renumbered, is now the trigger's last action.
  EXPECT_EQ(ListWords(level(), At(0, 1, 4).FDIndex),
            (std::vector<uint16_t>{Fn(kFdTrigger), 0x3E00, Act(0, test::kShowcaseBoulder - 1, true),
                                   Fn(kFdKill, 0, true)}));
  EXPECT_EQ(GetSectorFlags(level(), At(0, 1, 3).FDIndex), kFlagKill);
  // A key trigger without its keyhole, and triggers left with no action, leave no list.
  for (auto [r, a, b] : {std::tuple{0, 1, 5}, {0, 4, 1}, {1, 1, 2}})
    EXPECT_EQ(At(r, a, b).FDIndex, 0) << r << " " << a << " " << b;
}

TEST_F(RemovalTest, AddOnDataAfterTheLevelAllowsOnlyTheLastItem) {
  level().TrailingBlock = {'N', 'G', 0, 0};
  const CommandOutcome middle = Remove(test::kShowcaseDoor, true);
  EXPECT_FALSE(middle);
  EXPECT_EQ(middle.Status,
            "Item 1 can't be removed: this level carries the level-editor add-on's data after the "
            "level, which names items by their number. Only the last item, Item 7, can be "
            "removed.");
  EXPECT_EQ(level().Items.size(), 8u);
  EXPECT_TRUE(Remove(test::kShowcaseBlock, false));
}

TEST_F(RemovalTest, AFullFloorDataTakesNoCopyButStillRenumbers) {
  level().FloorData.resize(2 * kFloorDataFull);
  const std::vector<uint8_t> full = Saved();
  const CommandOutcome refused = Remove(test::kShowcaseTiger, true);
  EXPECT_EQ(refused.Status, kFloorDataFullMessage);
  EXPECT_EQ(Saved(), full);
  EXPECT_TRUE(Remove(test::kShowcaseLara, false));
}

class EntityEditsTest : public test::MapFixture {
 protected:
  EntityEditsTest() {
    AddRoom(5, 5, 1024, 2048);
    At(0, 2, 3).Floor = 0xFE;
    // Triggers name the two items; the AI objects are named by nothing.
    ListAt(0, 1, 1, {Fn(kFdTrigger, 0, true), 0x3E00, Act(0, 0), Act(0, 1, true)});
    AddItemAt(0, 2, 2, 7);
    AddItemAt(0, 2, 2, 8);
    AddAIAt(0, 2, 2, 9);
    AddAIAt(0, 3, 3, 10);
    SelectRoom(doc, state, 0);
    state.Triggers = BuildTriggerIndex(level());
  }
  EditHistory history;
};

TEST_F(EntityEditsTest, DuplicatesAreChosenCopiesAndChosenEntitiesFollowRemovals) {
  Item& source = level().Items[1];
  source.Angle = 0x4000, source.Flags = 0x3E00, source.OCB = 12, source.Intensity1 = 4000;
  ASSERT_TRUE(Choose(2, 2, 1));
  state.SelectedSectorZ = 3;  // the sector the copy goes to
  ASSERT_TRUE(DuplicateCommand(doc, state, history));
  ASSERT_EQ(level().Items.size(), 3u);
  const Item& copy = level().Items[2];
  const Item& original = level().Items[1];
  EXPECT_EQ(std::tie(copy.ObjectID, copy.Angle, copy.Flags, copy.OCB, copy.Intensity1),
            std::tie(original.ObjectID, original.Angle, original.Flags, original.OCB,
                     original.Intensity1));
  EXPECT_EQ(std::tie(copy.Room, copy.X, copy.Y, copy.Z),
            std::make_tuple(int16_t{0}, 1024 + 2 * 1024 + 512, -512, 2048 + 3 * 1024 + 512));
  EXPECT_EQ(state.SelectedEntity, 2);

  // The AI object at (3, 3) is entity 4 now; its copy 5. Removing item 0 moves both down.
  ASSERT_TRUE(Choose(3, 3));
  ASSERT_TRUE(DuplicateCommand(doc, state, history));
  EXPECT_EQ(level().AIObjects.at(2).ObjectID, 10);
  EXPECT_EQ(state.SelectedEntity, 5);
  state.SelectedEntity = 0;
  ASSERT_TRUE(RemoveEntityCommand(doc, state, history, true));
  state.SelectedEntity = 3;  // the AI object at (3, 3)
  ASSERT_TRUE(UndoCommand(doc, state, history));
  EXPECT_EQ(state.SelectedEntity, 4);
  state.SelectedEntity = 5;  // the AI copy, which undo takes away
  ASSERT_TRUE(UndoCommand(doc, state, history));
  EXPECT_EQ(state.SelectedEntity, -1);

  // An AI object goes from its own list alone.
  const std::vector<uint8_t> floorData = level().FloorData;
  state.SelectedEntity = 3;  // AI 0
  ASSERT_TRUE(RemoveEntityCommand(doc, state, history, false));
  EXPECT_EQ(level().AIObjects.size(), 1u);
  EXPECT_EQ(level().AIObjects[0].ObjectID, 10);
  EXPECT_EQ(level().FloorData, floorData);
}

class StaticEditsTest : public test::MapFixture {
 protected:
  void SetUp() override { OpenShowcase(); }
  EditHistory history;
};

TEST_F(StaticEditsTest, AddedStaticsStandOnTheSectorAndGoAgainToTheSavedBytes) {
  const auto saved = EncodeClassicLevel(level(), doc.GameVersion);
  const auto choices = StaticMeshChoices(level(), doc.GameVersion, names);
  ASSERT_EQ(choices.size(), 2u);
  EXPECT_EQ(std::tie(choices[1].Id, choices[1].Text),
            std::make_tuple(10, std::string("10 Mesh 10")));
  EXPECT_EQ(StaticAddCommand(doc, state, history, names, 0).Status, kNoSectorStatus);
  // A wall has no floor to stand on.
  uint8_t& cornerFloor = level().Rooms[0].SectorAt(0, 0).Floor;
  const uint8_t cornerBefore = std::exchange(cornerFloor, kWallMarker);
  ASSERT_FALSE(Choose(0, 0));
  EXPECT_EQ(StaticAddCommand(doc, state, history, names, 0).Status, kWallStaticStatus);
  cornerFloor = cornerBefore;

  // The hall's statics share their intensities (a grey as a 15-bit colour); the corridor has none,
  // so its ambient counts, as the third game's statics take it: darkness 5000 of 8191 is grey 99,
  // 12 of 31 in each channel, and the second ambient word plays no part.
  Room& hall = level().Rooms[0];
  Room& corridor = level().Rooms[1];
  const Room hallBefore = hall, corridorBefore = corridor;
  constexpr int16_t kGrey = 15 << 10 | 15 << 5 | 15, kDarkGrey = 12 << 10 | 12 << 5 | 12;
  hall.SectorAt(3, 2).Floor = 0xFC;
  ASSERT_FALSE(Choose(3, 2));
  ASSERT_TRUE(StaticAddCommand(doc, state, history, names, 1));
  const auto here = SectorStatics(level(), doc.GameVersion, names, 0, 3, 2);
  ASSERT_EQ(here.size(), 1u);
  EXPECT_EQ(here[0].Text, "Mesh 10");
  const RoomStatic& added = hall.StaticMeshes[static_cast<size_t>(here[0].Index)];
  EXPECT_EQ(std::tie(added.X, added.Y, added.Z, added.Rotation, added.Intensity1, added.Intensity2,
                     added.ObjectID),
            std::make_tuple(3 * 1024 + 512, -1024, 2 * 1024 + 512, uint16_t{0}, kGrey, kGrey,
                            uint16_t{10}));

  ChooseRoom(doc, state, 1);
  ASSERT_FALSE(Choose(3, 1));
  corridor.AmbientIntensity1 = 5000, corridor.AmbientIntensity2 = 6000;
  ASSERT_TRUE(StaticAddCommand(doc, state, history, names, 0));
  ASSERT_EQ(corridor.StaticMeshes.size(), 1u);
  EXPECT_EQ(std::tie(corridor.StaticMeshes[0].Intensity1, corridor.StaticMeshes[0].Intensity2),
            std::make_tuple(kDarkGrey, kDarkGrey));
  EXPECT_EQ(StaticRemoveCommand(doc, state, history, names, 1).Status, kNoStaticMeshStatus);
  ASSERT_TRUE(StaticRemoveCommand(doc, state, history, names, 0));
  EXPECT_TRUE(corridor.StaticMeshes.empty());

  hall.SectorAt(3, 2).Floor = hallBefore.SectorAt(3, 2).Floor;
  corridor.AmbientIntensity1 = corridorBefore.AmbientIntensity1;
  corridor.AmbientIntensity2 = corridorBefore.AmbientIntensity2;
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(UndoCommand(doc, state, history));
  EXPECT_EQ(EncodeClassicLevel(level(), doc.GameVersion), saved);
}

// From the third game on, a static's first intensity is a 15-bit colour: a room without
// statics gives its ambient light in that form.
TEST(NewStaticIntensities, AmbientLightInTheGamesOwnForm) {
  Level level;
  level.Rooms.resize(1);
  Room& room = level.Rooms[0];
  room.AmbientIntensity1 = 0;  // a darkness: 0 is full light
  EXPECT_EQ(NewStaticIntensities(level, Game::TR3, 0),
            std::make_pair(int16_t{0x7FFF}, int16_t{0x7FFF}));
  room.AmbientIntensity1 = 8191;
  EXPECT_EQ(NewStaticIntensities(level, Game::TR3, 0).first, 0);
  // Fourth game: the room colour's bytes are blue, green, red.
  room.AmbientIntensity1 = 0x4020, room.AmbientIntensity2 = 0x00F8;
  EXPECT_EQ(NewStaticIntensities(level, Game::TR4, 0), std::make_pair(int16_t{0x7D04}, int16_t{0}));
  room.StaticMeshes = {{.Intensity1 = 1, .Intensity2 = 2}, {.Intensity1 = 3}, {.Intensity1 = 3}};
  EXPECT_EQ(NewStaticIntensities(level, Game::TR4, 0), std::make_pair(int16_t{3}, int16_t{0}));
}

}  // namespace
}  // namespace slab
