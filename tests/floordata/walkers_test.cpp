#include "floordata/walkers.h"

#include <gtest/gtest.h>

#include "floor_data_builder.h"

namespace slab {
namespace {

using test::Act;
using test::Fn;
using test::LevelWithList;

constexpr uint16_t kList = 1;
constexpr uint16_t kEnd = 0x8000;

TEST(Walkers, IndexesWithoutList) {
  // Word 0 would read as a kill entry if index 0 were walked.
  Level level = LevelWithList({Fn(5, 0, true)});
  level.FloorData[0] = 5;
  // Zero, past the floor data, stored negative.
  for (uint16_t index : {0, 2, 0x8001, 0xFFFF}) {
    EXPECT_EQ(GetDoor(level, index), -1);
    EXPECT_EQ(GetFirstTrigger(level, index), kNoTrigger);
    EXPECT_TRUE(GetTriggerList(level, index).empty());
    EXPECT_EQ(GetSectorFlags(level, index), 0);
    EXPECT_FALSE(SectorHasObjectTrigger(level, index, 0));
    EXPECT_TRUE(CopySectorFloorData(level, index).empty());
  }
}

// Each list read by every walker: the portal, the flags, the number of trigger actions and
// how many words the list spans.
TEST(Walkers, WhatEachWalkerTakesFromAList) {
  const struct {
    int Door, Flags;
    size_t Actions, Words;
    std::vector<uint16_t> List;
  } cases[] = {
      // A portal after one-word entries: the room is the low byte.
      {7, kFlagMonkey | kFlagKill | 0x5, 0, 5, {Fn(19), Fn(5), Fn(6, 0x5), Fn(1, 0, true), 0x0107}},
      // Unknown codes end the list.
      {-1, kFlagKill, 0, 1, {Fn(5), 0, Fn(19, 0, true)}},
      {-1, kFlagKill, 0, 1, {Fn(5), 22, Fn(19, 0, true)}},
      // Two-word entries, one with the corner bits of a triangulation over code 4 (0xE4).
      {-1, 0, 1, 7, {Fn(2), 0x1234, Fn(9), 0x0000, 0x00E4 | 0x0200, 0x0005, Act(0, 3, true)}},
      // A trigger without end bit (pad: object 2, target 2), a portal to room 9, a kill and
      // a second trigger (anti-pad: object 7).
      {9,
       kFlagKill,
       3,
       10,
       {Fn(4, 1), 0, Act(0, 2), Act(6, 2, true), Fn(1), 0x0009, Fn(5), Fn(4, 6, true), 0,
        Act(0, 7, true)}},
      // The camera word's own end bit is not consulted, its extra word's is.
      {-1, 0, 2, 6, {Fn(4, 0, true), 0, Act(1, 1, true), 0x0000, Act(12, 4), 0x8000}},
      {-1, kFlagFunction21, 0, 1, {Fn(21, 0, true)}},
      {-1, kFlagFunction20 | kFlagFunction21, 0, 2, {Fn(20), Fn(21, 0, true)}},
      // A stray high bit of the climb entry is no monkey flag; a second kill no carry.
      {-1, 0x3 | kFlagKill, 0, 3, {Fn(6, 0x13), Fn(5), Fn(5, 0, true)}},
  };
  for (const auto& c : cases) {
    const Level level = LevelWithList(c.List);
    EXPECT_EQ(GetDoor(level, kList), c.Door) << c.List.size();
    EXPECT_EQ(GetSectorFlags(level, kList), c.Flags) << c.List.size();
    EXPECT_EQ(GetTriggerList(level, kList).size(), c.Actions) << c.List.size();
    EXPECT_EQ(GetFirstTrigger(level, kList) == kNoTrigger, c.Actions == 0) << c.List.size();
    EXPECT_EQ(CopySectorFloorData(level, kList).size(), 2 * c.Words) << c.List.size();
  }
}

TEST(Walkers, TriggerActionsAndTheirBits) {
  const Level level = LevelWithList({
      Fn(4, 2, true), 0x0105,                    // switch, one-shot, timer 5
      Act(0, 600),                               // parameter 600 keeps nine bits: 88
      Act(3, 4) | 0x4000,                        // bit 14 is no part of the action
      Act(1, 2, true), Act(0, 9, false) | kEnd,  // camera: end bit on its extra word
  });
  const auto list = GetTriggerList(level, kList);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(std::tie(list[0].TriggerType, list[0].Setup, list[0].Param),
            std::make_tuple(2, 0x0105, 88));
  EXPECT_EQ(std::tie(list[1].Action, list[1].Param), std::make_tuple(3, 4));
  EXPECT_EQ(std::tie(list[2].Action, list[2].Param, list[2].Setup), std::make_tuple(1, 2, 0x0105));
  EXPECT_EQ(GetFirstTrigger(level, kList), MakeTriggerCode(2, 88, 0));
}

TEST(Walkers, ObjectTriggerCountsObjectAndTargetActionsOnly) {
  const Level level = LevelWithList({Fn(4, 0, true), 0, Act(9, 5), Act(6, 4), Act(0, 3, true)});
  EXPECT_FALSE(SectorHasObjectTrigger(level, kList, 5));  // flip effect 5
  EXPECT_TRUE(SectorHasObjectTrigger(level, kList, 4) && SectorHasObjectTrigger(level, kList, 3));
}

TEST(Walkers, ListsCutShortByTheEndOfFloorData) {
  // Every walker stops at the last word, whatever the words promise (the sanitizer build
  // checks the reads).
  const std::vector<std::vector<uint16_t>> cut = {
      {Fn(1)},                      // portal without its room word
      {Fn(4, 2)},                   // trigger without setup
      {Fn(4, 2), 0},                // trigger without actions
      {Fn(4, 2), 0, Act(0, 1)},     // action list without end bit
      {Fn(4, 2), 0, Act(1, 1)},     // camera without its extra word
      {Fn(5), Fn(19), Fn(8), 0x1},  // no end bit anywhere
  };
  for (const auto& words : cut) {
    const Level level = LevelWithList(words);
    EXPECT_EQ(GetDoor(level, kList), -1);
    EXPECT_LE(CopySectorFloorData(level, kList).size(), 2 * words.size());
    EXPECT_LE(GetTriggerList(level, kList).size(), 1u);
    (void)GetSectorFlags(level, kList);
    // The entries cover the copied words one after another, a trigger without actions too.
    const FloorList list = GetFloorList(level, kList);
    size_t next = 0;
    for (const FloorEntry& entry : list.Entries) {
      EXPECT_EQ(entry.First, next);
      next += entry.Length;
    }
    EXPECT_EQ(next, list.Words.size());
    EXPECT_EQ(2 * list.Words.size(), CopySectorFloorData(level, kList).size());
  }
}

TEST(Walkers, FloorListSplitsTheWordsIntoEntries) {
  // A portal, a trigger whose camera action carries its extra word, a kill after it.
  const Level level =
      LevelWithList({Fn(1), 7, Fn(4, 1), 0x3E00, Act(0, 2), Act(1, 3), kEnd, Fn(5, 0, true)});
  const FloorList list = GetFloorList(level, kList);
  EXPECT_EQ(list.Words.size(), 8u);
  ASSERT_EQ(list.Entries.size(), 3u);
  const FloorEntry& trigger = list.Entries[1];
  EXPECT_EQ(std::tie(list.Entries[0].Code, list.Entries[0].First, list.Entries[0].Length),
            std::make_tuple(1, 0u, 2u));
  EXPECT_EQ(std::tie(trigger.Code, trigger.First, trigger.Length), std::make_tuple(4, 2u, 5u));
  EXPECT_EQ(trigger.ActionAt, (std::vector<size_t>{4, 5}));
  ASSERT_EQ(trigger.Actions.size(), 2u);
  EXPECT_EQ(trigger.Actions[1].Param, 3);
  EXPECT_EQ(std::tie(list.Entries[2].Code, list.Entries[2].First), std::make_tuple(5, 7u));
}

}  // namespace
}  // namespace slab
