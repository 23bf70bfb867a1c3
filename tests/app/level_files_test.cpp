// Moving to the previous or next level of a folder, and the recent-files list.
#include "app/level_files.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/real_levels.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

class LevelFilesTest : public test::TempFolderTest {
 protected:
  fs::path Touch(const std::string& name) {
    std::ofstream(dir_ / name) << "x";
    return dir_ / name;
  }
  std::string Adjacent(const std::string& name, int step) {
    const auto found = AdjacentLevelFile(dir_ / name, step);
    return found ? found->filename().string() : "(none)";
  }
};

TEST_F(LevelFilesTest, StepsThroughTheFoldersLevelsInReadingOrder) {
  for (const char* name :
       {"level10.phd", "a.tr4", "B.TR2", "c.TUB", "d.trc", "level2.phd", "notes.txt", "e.tr4.bak"})
    Touch(name);
  fs::create_directory(dir_ / "folder.tr4");  // a folder is no level
  const struct {
    const char* From;
    int Step;
    const char* To;
  } cases[] = {
      {"a.tr4", 1, "B.TR2"},
      {"d.trc", 1, "level2.phd"},
      {"level2.phd", 1, "level10.phd"},  // digits by value
      {"level10.phd", 1, "(none)"},      // stops at the end
      {"a.tr4", -1, "(none)"},
      {"b5.tr4", 1, "c.TUB"},
      {"b5.tr4", -1, "B.TR2"},  // current is gone
      {"notes.txt", -1, "level10.phd"},
  };
  for (const auto& c : cases) EXPECT_EQ(Adjacent(c.From, c.Step), c.To) << c.From << c.Step;
  // The files to try in turn when a neighbour cannot be read: nearest first, either way.
  auto beyond = [&](const char* from, int step) {
    std::vector<std::string> names;
    for (const fs::path& path : LevelFilesBeyond(dir_ / from, step))
      names.push_back(path.filename().string());
    return names;
  };
  EXPECT_EQ(beyond("c.TUB", 1), (std::vector<std::string>{"d.trc", "level2.phd", "level10.phd"}));
  EXPECT_EQ(beyond("c.TUB", -1), (std::vector<std::string>{"B.TR2", "a.tr4"}));
  EXPECT_EQ(beyond("b5.tr4", -1), (std::vector<std::string>{"B.TR2", "a.tr4"}));  // gone
  EXPECT_TRUE(beyond("level10.phd", 1).empty());
  EXPECT_FALSE(AdjacentLevelFile(dir_ / "missing" / "a.tr4", 1));
  // Two names differing only in case must still sort one way, or the steps would go round.
  EXPECT_NE(LevelNameLess("A.tr4", "a.tr4"), LevelNameLess("a.tr4", "A.tr4"));
}

TEST_F(LevelFilesTest, RecentFilesMostRecentFirstWithoutRepeatsAtMostTen) {
  RecentFiles recent;
  for (int i = 0; i < 12; ++i) recent.Add(Touch("l" + std::to_string(i) + ".tr4").string());
  recent.Add((dir_ / "sub" / ".." / "l5.tr4").string());  // another spelling of a listed file
  ASSERT_EQ(recent.Paths().size(), kMaxRecentFiles);
  EXPECT_EQ(recent.Paths()[0], (dir_ / "l5.tr4").string());
  EXPECT_EQ(recent.Paths()[1], (dir_ / "l11.tr4").string());
  EXPECT_EQ(std::count(recent.Paths().begin(), recent.Paths().end(), (dir_ / "l5.tr4").string()),
            1);
  // A stored list keeps its order and loses repeats and blanks.
  EXPECT_EQ(RecentFiles({"/x/a.tr4", "", "/x/b.tr4", "/x/a.tr4"}).Paths(),
            (std::vector<std::string>{"/x/a.tr4", "/x/b.tr4"}));
}

}  // namespace
}  // namespace slab
