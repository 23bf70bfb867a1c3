#include "shell/desktop_entries.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace slab {
namespace {
namespace fs = std::filesystem;

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool HaveProgram(const char* name) {
  return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

// desktop-file-validate exits non-zero on errors; what it says goes to the test's output.
bool Valid(const fs::path& entry) {
  return std::system(("desktop-file-validate '" + entry.string() + "' >&2").c_str()) == 0;
}

struct DesktopEntries : ::testing::Test {
  fs::path dataHome;
  void SetUp() override {
    dataHome = fs::temp_directory_path() /
               ("slab_xdg_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dataHome);
  }
  void TearDown() override { fs::remove_all(dataHome); }
  fs::path EntryFile() const { return dataHome / "applications" / "slabwright2.desktop"; }
  fs::path MimeFile() const { return dataHome / "mime" / "packages" / "slabwright2.xml"; }
};

TEST_F(DesktopEntries, WrittenEntryIsValidFollowsAMovedProgramAndRunsEachSwitch) {
  ASSERT_TRUE(WriteDesktopEntriesTo(dataHome, "/opt/old/Slabwright2"));
  ASSERT_TRUE(WriteDesktopEntriesTo(dataHome, "/opt/old/Slabwright2"));
  ASSERT_TRUE(WriteDesktopEntriesTo(dataHome, "/opt/slab/Slabwright2"));
  std::string entry = ReadFile(EntryFile());
  EXPECT_EQ(entry.find("/opt/old"), std::string::npos);
  for (std::string line :
       {"\nExec=\"/opt/slab/Slabwright2\" --open %f\n",
        "Name=Convert To TR3\nExec=\"/opt/slab/Slabwright2\" /convert3 %f\n",
        "Name=Convert To TR2\nExec=\"/opt/slab/Slabwright2\" /convert2 %f\n",
        "Name=View Rooms with Slabwright\nExec=\"/opt/slab/Slabwright2\" /view %f\n"})
    EXPECT_NE(entry.find(line), std::string::npos) << line;
  std::string types = ReadFile(MimeFile());
  for (const char* glob : {"*.phd", "*.tr2", "*.tr4", "*.trc", "*.tub"})
    EXPECT_NE(types.find(std::string("<glob pattern=\"") + glob + "\"/>"), std::string::npos);

  if (!HaveProgram("desktop-file-validate"))
    GTEST_SKIP() << "desktop-file-validate is not installed (package desktop-file-utils)";
  EXPECT_TRUE(Valid(EntryFile()));
}

TEST_F(DesktopEntries, MimeDatabaseKnowsTheLevelTypes) {
  if (!HaveProgram("update-mime-database"))
    GTEST_SKIP() << "update-mime-database is not installed (package shared-mime-info)";
  ASSERT_TRUE(WriteDesktopEntriesTo(dataHome, "/opt/slab/Slabwright2"));
  std::string globs = ReadFile(dataHome / "mime" / "globs2");
  EXPECT_NE(globs.find("application/x-tr4-level:*.tr4"), std::string::npos) << globs;
  EXPECT_NE(globs.find("application/x-tr1-level:*.tub"), std::string::npos) << globs;
}

TEST_F(DesktopEntries, AwkwardPathIsQuotedAndStaysValid) {
  const std::string path = "/home/me/my \"levels\" $HOME 100% `x`\\/Slabwright2";
  ASSERT_TRUE(WriteDesktopEntriesTo(dataHome, path));
  std::string entry = ReadFile(EntryFile());
  EXPECT_NE(entry.find("Exec=\"/home/me/my \\\\\"levels\\\\\" \\\\$HOME 100%% \\\\`x\\\\`"
                       "\\\\\\\\/Slabwright2\" /view %f\n"),
            std::string::npos)
      << entry;
  if (HaveProgram("desktop-file-validate")) {
    EXPECT_TRUE(Valid(EntryFile()));
  }
}

TEST_F(DesktopEntries, FailuresAreReportedOnlyByTheResult) {
  // A file where the folder should be: nothing can be written.
  fs::create_directories(dataHome);
  std::ofstream(dataHome / "applications") << "in the way";
  EXPECT_FALSE(WriteDesktopEntriesTo(dataHome, "/opt/slab/Slabwright2"));
  // A path no desktop entry line can hold.
  EXPECT_FALSE(WriteDesktopEntriesTo(dataHome / "other", "/opt/sl\nab/Slabwright2"));
  EXPECT_FALSE(fs::exists(dataHome / "other"));
  EXPECT_FALSE(WriteDesktopEntriesTo({}, "/opt/slab/Slabwright2"));
}

// An installed program finds its entries in its tree: per-user copies of a portable build,
// which would shadow them, are removed and none are written; without them it writes as before.
TEST_F(DesktopEntries, AnInstalledTreeIsNotShadowedByPerUserCopies) {
  const fs::path tree = dataHome / "tree";
  const fs::path program = tree / "bin" / "Slabwright2";
  ASSERT_TRUE(WriteDesktopEntriesTo(dataHome, "/opt/portable/Slabwright2"));
  ASSERT_TRUE(fs::exists(EntryFile()) && fs::exists(MimeFile()));

  ASSERT_EQ(InstalledDesktopEntry(program),
            tree / "share" / "applications" / "slabwright2.desktop");
  fs::create_directories(InstalledDesktopEntry(program).parent_path());
  std::ofstream(InstalledDesktopEntry(program)) << InstalledDesktopEntryText();
  EXPECT_TRUE(WriteDesktopEntriesTo(dataHome, program));
  EXPECT_FALSE(fs::exists(EntryFile()));
  EXPECT_FALSE(fs::exists(MimeFile()));

  fs::remove(InstalledDesktopEntry(program));
  EXPECT_TRUE(WriteDesktopEntriesTo(dataHome, program));
  EXPECT_NE(ReadFile(EntryFile()).find("Exec=\"" + program.string() + "\" --open %f\n"),
            std::string::npos);
}

TEST(XdgDataHome, AbsoluteSettingOrHomeFallback) {
  const char* data = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  const std::string savedData = data ? data : "", savedHome = home ? home : "";
  setenv("HOME", "/home/tester", 1);
  setenv("XDG_DATA_HOME", "/tmp/data", 1);
  EXPECT_EQ(XdgDataHome(), fs::path("/tmp/data"));
  setenv("XDG_DATA_HOME", "relative/data", 1);  // not allowed by the XDG rules: ignored
  EXPECT_EQ(XdgDataHome(), fs::path("/home/tester/.local/share"));
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(XdgDataHome(), fs::path("/home/tester/.local/share"));
  data ? setenv("XDG_DATA_HOME", savedData.c_str(), 1) : unsetenv("XDG_DATA_HOME");
  home ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");
}

}  // namespace
}  // namespace slab
