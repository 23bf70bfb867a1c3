// The program's command-line jobs, run as a separate process without a display.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
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

// With a display, a job run from a terminal or a script still never waits on a box: it says
// what it has to say on standard error and ends. Started with nobody reading standard error
// (as from a file manager), it shows one box, and only once its work is done.
class CommandJobsOnADisplay : public CommandJobs {
 protected:
  void SetUp() override {
    CommandJobs::SetUp();
    if (std::system("command -v xvfb-run >/dev/null && command -v xwininfo >/dev/null") != 0)
      GTEST_SKIP() << "xvfb-run and xwininfo are needed to run the program on a display";
  }
  // The shell commands `script` run on a virtual display of their own.
  int OnDisplay(const std::string& script) {
    std::ofstream(dir_ / "run.sh") << script;
    const std::string command =
        "timeout 120 env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY XDG_DATA_HOME='" +
        (dir_ / "data").string() + "' xvfb-run -a -n 170 sh '" + (dir_ / "run.sh").string() +
        "' >'" + (dir_ / "out.txt").string() + "' 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Said(const std::string& name) {
    std::ifstream in(dir_ / name);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  std::string Program() const { return std::string("'") + SLAB_APP_PROGRAM + "'"; }
};

TEST_F(CommandJobsOnADisplay, JobsReportOnStandardErrorAndEndWithoutWaitingOnABox) {
  const fs::path damaged = dir_ / "damaged.tr2";
  std::ofstream(damaged, std::ios::binary) << std::string("\x2d\0\0\0\x01", 5);
  const fs::path empty = dir_ / "empty.phd";
  std::ofstream(empty, std::ios::binary).flush();
  // A box left open would hold the job until `timeout` ends it with 124.
  EXPECT_EQ(OnDisplay("timeout 30 " + Program() + " /view '" + damaged.string() + "' 2>'" +
                      (dir_ / "view1.txt").string() + "'; echo $? >'" +
                      (dir_ / "status1").string() + "'\n" + "timeout 30 " + Program() + " /view '" +
                      empty.string() + "' 2>'" + (dir_ / "view2.txt").string() + "'; echo $? >'" +
                      (dir_ / "status2").string() + "'\n"),
            0)
      << Said("out.txt");
  EXPECT_EQ(Said("status1"), "2\n");
  EXPECT_NE(Said("view1.txt").find("damaged.tr2"), std::string::npos) << Said("view1.txt");
  EXPECT_EQ(Said("status2"), "2\n");
  EXPECT_NE(Said("view2.txt").find("empty.phd"), std::string::npos) << Said("view2.txt");
}

// The same with real files: a fifth-game level whose version word says "TR4c" without being
// encrypted is refused by "/view", and a second-game level is rewritten by "/adddemo" (a copy:
// the job writes over its file).
TEST_F(CommandJobsOnADisplay, RealLevelsAreRefusedOrRewrittenWithoutABox) {
  SLAB_REQUIRE_REAL_LEVELS();
  const fs::path encrypted = dir_ / "odd.tr4";
  for (const fs::path& file : test::RealLevels({"tr5/"}))
    if (file.filename().string().ends_with("lake.trc")) {
      auto bytes = test::ReadFile(file);
      bytes.at(3) = 'c';
      test::WriteBytes(encrypted, bytes);
    }
  ASSERT_TRUE(fs::exists(encrypted));
  const fs::path level = dir_ / "second.tr2";
  fs::copy_file(test::RealLevels({"tr2/"}).at(0), level);
  // The real files are kept read-only; the copy must take the rewrite.
  fs::permissions(level, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(OnDisplay("timeout 30 " + Program() + " /view '" + encrypted.string() + "' 2>'" +
                      (dir_ / "view.txt").string() + "'; echo $? >'" + (dir_ / "status1").string() +
                      "'\ntimeout 60 " + Program() + " /adddemo '" + level.string() + "' 2>'" +
                      (dir_ / "demo.txt").string() + "'; echo $? >'" + (dir_ / "status2").string() +
                      "'\n"),
            0)
      << Said("out.txt");
  EXPECT_EQ(Said("status1"), "2\n");
  EXPECT_NE(Said("view.txt").find("Unknown TR version!"), std::string::npos) << Said("view.txt");
  EXPECT_EQ(Said("status2"), "0\n") << Said("demo.txt");
  EXPECT_TRUE(test::LoadFile(level)->Result.Loaded);
}

// The fourth-game level that converts with a note about the AI objects it leaves out.
TEST_F(CommandJobsOnADisplay, AConversionNobodyWatchesShowsItsBoxOnlyOnceTheFileIsWritten) {
  SLAB_REQUIRE_REAL_LEVELS();
  const auto angkor = test::RealLevels({"tr4/"});
  const auto found = std::find_if(angkor.begin(), angkor.end(), [](const fs::path& path) {
    return path.filename().string().ends_with("angkor1.tr4");
  });
  ASSERT_NE(found, angkor.end());
  // The output goes beside the input: a copy in the test's own folder.
  fs::copy_file(*found, dir_ / "angkor1.tr4");
  const std::string in = (dir_ / "angkor1.tr4").string();
  const std::string out = (dir_ / "angkor1.tr2").string();

  // From a terminal or a script: the note on standard error, the file written, no box.
  EXPECT_EQ(OnDisplay("timeout 60 " + Program() + " /convert3 '" + in + "' 2>'" +
                      (dir_ / "said.txt").string() + "'; echo $? >'" + (dir_ / "status").string() +
                      "'\n"),
            0)
      << Said("out.txt");
  EXPECT_EQ(Said("status"), "0\n");
  EXPECT_NE(Said("said.txt").find("AI objects"), std::string::npos) << Said("said.txt");
  ASSERT_TRUE(fs::exists(out));
  EXPECT_TRUE(test::LoadFile(out)->Result.Loaded);
  fs::remove(out);

  // Nobody reading standard error: the file is there while the box says what happened. The
  // box is found among the display's windows by its title, then the program is ended.
  std::string script = R"(@PROGRAM@ /convert3 '@IN@' 2>/dev/null &
job=$!
for i in $(seq 600); do [ -e '@OUT@' ] && break; sleep 0.1; done
for i in $(seq 100); do xwininfo -root -tree | grep -q '"Slabwright2"' && break; sleep 0.1; done
kill -0 $job && echo running >'@BOX@'
xwininfo -root -tree | grep -q '"Slabwright2"' && echo shown >>'@BOX@'
kill $job
)";
  for (auto [name, value] : {std::pair<std::string, std::string>{"@PROGRAM@", Program()},
                             {"@IN@", in},
                             {"@OUT@", out},
                             {"@BOX@", (dir_ / "box").string()}})
    for (size_t at = 0; (at = script.find(name, at)) != std::string::npos; at += value.size())
      script.replace(at, name.size(), value);
  OnDisplay(script);
  EXPECT_TRUE(fs::exists(out));
  EXPECT_EQ(Said("box"), "running\nshown\n") << Said("out.txt");
}

}  // namespace
}  // namespace slab
