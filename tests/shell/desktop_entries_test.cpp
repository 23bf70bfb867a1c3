#include "shell/desktop_entries.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/real_levels.h"

namespace slab {
namespace {
namespace fs = std::filesystem;

std::string TextOf(const fs::path& file) {
  const std::vector<uint8_t> bytes = test::ReadFile(file);
  return {bytes.begin(), bytes.end()};
}

bool HaveProgram(const char* name) {
  return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

// The data home is the test's own folder.
struct DesktopEntries : test::TempFolderTest {
  fs::path EntryFile() const { return dir_ / "applications" / "slabwright2.desktop"; }
  fs::path MimeFile() const { return dir_ / "mime" / "packages" / "slabwright2.xml"; }
};

// The entry follows a moved program, runs it with each switch, its awkward path quoted so that
// desktop-file-validate takes it (errors make it exit non-zero, its words go to the test's
// output); the level types reach the MIME database.
TEST_F(DesktopEntries, WrittenEntryFollowsAMovedProgramQuotesItsPathAndRunsEachSwitch) {
  ASSERT_TRUE(WriteDesktopEntriesTo(dir_, "/opt/old/Slabwright2"));
  ASSERT_TRUE(WriteDesktopEntriesTo(dir_, "/home/me/my \"levels\" $HOME 100% `x`\\/Slabwright2"));
  const std::string entry = TextOf(EntryFile());
  EXPECT_EQ(entry.find("/opt/old"), std::string::npos);
  const std::string exec =
      "\nExec=\"/home/me/my \\\\\"levels\\\\\" \\\\$HOME 100%% \\\\`x\\\\`"
      "\\\\\\\\/Slabwright2\" ";
  for (const char* command : {"--open", "/convert3", "/convert2", "/view"})
    EXPECT_NE(entry.find(exec + command + " %f\n"), std::string::npos) << command << "\n" << entry;
  if (HaveProgram("desktop-file-validate")) {
    EXPECT_EQ(std::system(("desktop-file-validate '" + EntryFile().string() + "' >&2").c_str()), 0);
  }
  if (!HaveProgram("update-mime-database")) GTEST_SKIP() << "update-mime-database is not installed";
  const std::string globs = TextOf(dir_ / "mime" / "globs2");
  EXPECT_NE(globs.find("application/x-tr4-level:*.tr4"), std::string::npos) << globs;
  EXPECT_NE(globs.find("application/x-tr1-level:*.tub"), std::string::npos) << globs;
}

// A path no entry line can hold, no folder, or a file where the folder should be: refused.
TEST_F(DesktopEntries, APathNoLineCanHoldOrNoFolderIsRefused) {
  EXPECT_FALSE(WriteDesktopEntriesTo(dir_ / "other", "/opt/sl\nab/Slabwright2"));
  EXPECT_FALSE(fs::exists(dir_ / "other"));
  EXPECT_FALSE(WriteDesktopEntriesTo({}, "/opt/slab/Slabwright2"));
  std::ofstream(dir_ / "applications") << "in the way";
  EXPECT_FALSE(WriteDesktopEntriesTo(dir_, "/opt/slab/Slabwright2"));
}

// An installed program finds its entries in its tree: per-user copies of a portable build,
// which would shadow them, are removed and none are written; without them it writes as before.
TEST_F(DesktopEntries, AnInstalledTreeIsNotShadowedByPerUserCopies) {
  const fs::path program = dir_ / "tree" / "bin" / "Slabwright2";
  ASSERT_TRUE(WriteDesktopEntriesTo(dir_, "/opt/portable/Slabwright2"));
  ASSERT_TRUE(fs::exists(EntryFile()) && fs::exists(MimeFile()));

  const fs::path installed = InstalledDesktopEntry(program);
  ASSERT_EQ(installed, dir_ / "tree" / "share" / "applications" / "slabwright2.desktop");
  fs::create_directories(installed.parent_path());
  std::ofstream(installed) << InstalledDesktopEntryText();
  EXPECT_TRUE(WriteDesktopEntriesTo(dir_, program));
  EXPECT_FALSE(fs::exists(EntryFile()));
  EXPECT_FALSE(fs::exists(MimeFile()));

  fs::remove(installed);
  EXPECT_TRUE(WriteDesktopEntriesTo(dir_, program));
  EXPECT_TRUE(fs::exists(EntryFile()));
}

}  // namespace
}  // namespace slab
