// The program's command-line jobs, run as a separate process without a display.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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
    // A program that never ends (a window left open) fails the test instead of hanging it.
    const std::string command = "timeout 60 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
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

// "/view" of a file that is refused says why, naming the file, and ends with status 2 instead
// of showing an empty viewer.
TEST_F(CommandJobs, ViewOfARefusedFileEndsWithStatus2AndNoWindow) {
  const fs::path lake = dir_ / "lake.tr4";
  std::ofstream(lake, std::ios::binary) << "TR9 and more";
  EXPECT_EQ(Run("/view '" + lake.string() + "'"), 2);
  std::ifstream said(dir_ / "stderr.txt");
  const std::string text((std::istreambuf_iterator<char>(said)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Unknown TR version!"), std::string::npos) << text;
  EXPECT_NE(text.find("lake.tr4"), std::string::npos) << text;
}

}  // namespace
}  // namespace slab
