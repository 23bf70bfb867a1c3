// The comparison tests' level: the showcase sample (a third-game level), opened as the program
// opens it, kept as it was opened so that edits can be compared with it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compare/diff_report.h"
#include "compare/level_diff.h"
#include "map/edit_commands.h"
#include "map/map_fixture.h"

namespace slab::test {

class CompareFixture : public MapFixture {
 protected:
  void SetUp() override {
    auto loaded = LoadBytes(ComposeClassic(ShowcaseDraft()).Bytes, "showcase.tr2");
    ASSERT_TRUE(loaded->Result.Loaded) << loaded->FirstMessage();
    doc.GameVersion = loaded->GameVersion;
    doc.CurrentLevel = std::move(loaded->Result.Lvl);
    ShowOpenedLevel(doc, state);
    opened = level();
    // The third game's ids of the showcase's objects.
    const std::pair<int, const char*> named[] = {{0, "Lara"},     {131, "Door"},    {129, "Switch"},
                                                 {28, "Tiger"},   {161, "Shotgun"}, {88, "Boulder"},
                                                 {132, "Door 2"}, {97, "Block"}};
    for (auto [id, name] : named) names.Objects[id][GameNumber(Game::TR3)] = name;
  }

  LevelDiff Diff() const {
    return CompareLevels(opened, doc.GameVersion, doc.CurrentLevel, doc.GameVersion, names);
  }

  // Each change as its headline with its lines under it, indented.
  static std::vector<std::string> Report(const LevelDiff& diff) {
    std::vector<std::string> lines;
    for (const Change& change : diff.Changes) {
      lines.push_back(ChangeHeadline(change));
      for (const std::string& detail : change.Details) lines.push_back("  " + detail);
    }
    return lines;
  }

  void ChooseRoomAndSector(int room, int a, int b, int line = 0) {
    ASSERT_TRUE(ChooseRoom(doc, state, room));
    Choose(a, b, line);
  }

  Level opened;
  EditHistory history;
};

}  // namespace slab::test
