// The program's command-line jobs, run as a separate process without a display.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/real_levels.h"
#include "tools/showcase_level.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

class CommandJobs : public test::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    fs::create_directories(dir_ / "data");
    test::WriteShowcaseLevel(dir_ / "level.tr2");
  }

  // Runs the program with the given arguments, on the offscreen platform unless `platform` is
  // empty; returns its exit status, with what it said on standard error in stderr.txt.
  int Run(const std::string& arguments, const std::string& platform = "offscreen") {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                (platform.empty() ? "" : "QT_QPA_PLATFORM=" + platform) +
                                " XDG_DATA_HOME='" + (dir_ / "data").string() + "' '" +
                                SLAB_APP_PROGRAM + "' " + arguments + " 2>'" +
                                (dir_ / "stderr.txt").string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

// A job that succeeds says nothing; one refused writes nothing and gives the reason, as does
// the normal start without a display.
TEST_F(CommandJobs, AddDemoRewritesTheLevelConvert2RefusesAnotherGamesLevelNoDisplayFails) {
  EXPECT_EQ(Run("/adddemo '" + (dir_ / "level.tr2").string() + "'"), 0);
  EXPECT_TRUE(test::LoadFile(dir_ / "level.tr2")->Result.Loaded);
  EXPECT_NE(Run("/adddemo '" + (dir_ / "missing.tr2").string() + "'"), 0);
  fs::rename(dir_ / "level.tr2", dir_ / "old.phd");
  EXPECT_NE(Run("/convert2 '" + (dir_ / "old.phd").string() + "'"), 0);
  EXPECT_FALSE(fs::exists(dir_ / "old.tr2"));
  EXPECT_GT(fs::file_size(dir_ / "stderr.txt"), 0u);
  EXPECT_EQ(Run("'/VIEW x'", ""), 1);
  EXPECT_GT(fs::file_size(dir_ / "stderr.txt"), 0u);
}

}  // namespace
}  // namespace slab
