// The program's command-line jobs, run as a separate process without a display.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "level/load_level.h"
#include "tools/showcase_level.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

class CommandJobs : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("slab_jobs_" + std::to_string(::getpid()));
    fs::create_directories(dir_ / "data");
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the program with the given arguments; returns its exit status.
  int Run(const std::string& arguments) {
    const std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "
        "XDG_DATA_HOME='" +
        (dir_ / "data").string() + "' '" + SLAB_APP_PROGRAM + "' " + arguments + " 2>'" +
        (dir_ / "stderr.txt").string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path dir_;
};

TEST_F(CommandJobs, Convert2OnALevelThatIsNoFourthGameLevelWritesNothing) {
  const fs::path input = dir_ / "old.phd";
  test::WriteShowcaseLevel(input);
  EXPECT_NE(Run("/convert2 '" + input.string() + "'"), 0);
  EXPECT_FALSE(fs::exists(dir_ / "old.tr2"));
  EXPECT_GT(fs::file_size(dir_ / "stderr.txt"), 0u);  // the reason, on standard error
}

TEST_F(CommandJobs, AddDemoRewritesTheLevelAndSucceeds) {
  const fs::path level = dir_ / "level.tr2";
  test::WriteShowcaseLevel(level);
  EXPECT_EQ(Run("/adddemo '" + level.string() + "'"), 0);
  RecordingSink sink;
  EXPECT_TRUE(LoadLevel(level, sink).Loaded);
  EXPECT_NE(Run("/adddemo '" + (dir_ / "missing.tr2").string() + "'"), 0);
}

TEST_F(CommandJobs, TheNormalStartWithoutADisplaySaysSoAndFails) {
  // Without the offscreen platform and without a display there is no window to show.
  const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                              std::string(SLAB_APP_PROGRAM) + "' '/VIEW x' 2>'" +
                              (dir_ / "stderr.txt").string() + "'";
  const int status = std::system(command.c_str());
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_GT(fs::file_size(dir_ / "stderr.txt"), 0u);
}

}  // namespace
}  // namespace slab
