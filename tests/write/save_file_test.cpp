// Replacing a file as a careful editor does: through links, never over a read-only file,
// keeping what the old file was.
#include "write/save_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/real_levels.h"
#include "tools/compose_classic.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;

class SaveFileTest : public test::TempFolderTest {
 protected:
  std::vector<std::string> Names(const fs::path& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static fs::perms Mode(const fs::path& file) { return fs::status(file).permissions(); }

  const std::vector<uint8_t> old_ = std::vector<uint8_t>(300, 1);
  const std::vector<uint8_t> new_ = std::vector<uint8_t>(100, 2);
};

TEST_F(SaveFileTest, LinksAreFollowedToTheFileTheyLeadTo) {
  fs::create_directories(dir_ / "levels");
  test::WriteBytes(dir_ / "levels" / "real.tr2", old_);
  fs::create_symlink("levels/real.tr2", dir_ / "middle.tr2");
  fs::create_symlink(dir_ / "middle.tr2", dir_ / "link.tr2");
  ASSERT_TRUE(SaveFileAtomically(dir_ / "link.tr2", new_).Ok());
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.tr2"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "middle.tr2"));
  EXPECT_EQ(ReadFile(dir_ / "levels" / "real.tr2"), new_);
  EXPECT_EQ(Names(dir_ / "levels"), std::vector<std::string>{"real.tr2"});

  // A link to a file not made yet makes it there.
  fs::create_symlink("levels/new.tr2", dir_ / "ahead.tr2");
  ASSERT_TRUE(SaveFileAtomically(dir_ / "ahead.tr2", new_).Ok());
  EXPECT_TRUE(fs::is_symlink(dir_ / "ahead.tr2"));
  EXPECT_EQ(ReadFile(dir_ / "levels" / "new.tr2"), new_);

  fs::create_symlink("loop-b", dir_ / "loop-a");
  fs::create_symlink("loop-a", dir_ / "loop-b");
  const SaveResult loop = SaveFileAtomically(dir_ / "loop-a", new_);
  EXPECT_EQ(loop.Reason(), "its symbolic links lead round in a circle");
  EXPECT_TRUE(fs::is_symlink(dir_ / "loop-a"));
}

// Root passes every permission check, so a file with no write bit at all stops it too.
TEST_F(SaveFileTest, ReadOnlyFilesAndWhatIsNoFileAreLeftAlone) {
  test::WriteBytes(dir_ / "locked.tr2", old_);
  fs::permissions(dir_ / "locked.tr2", fs::perms(0444));
  fs::create_symlink("locked.tr2", dir_ / "to-locked.tr2");
  for (const char* name : {"locked.tr2", "to-locked.tr2"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(InspectSaveTarget(dir_ / name).ReadOnly);
    EXPECT_EQ(SaveFileAtomically(dir_ / name, new_).Reason(), "it is read-only");
  }
  EXPECT_EQ(ReadFile(dir_ / "locked.tr2"), old_);
  EXPECT_EQ(Mode(dir_ / "locked.tr2"), fs::perms(0444));
  // A finished work file is not put over it either, and does not stay behind.
  test::WriteBytes(dir_ / ".work", new_);
  EXPECT_EQ(MoveIntoPlace(dir_ / ".work", dir_ / "locked.tr2").Reason(), "it is read-only");
  EXPECT_EQ(Names(dir_), (std::vector<std::string>{"locked.tr2", "to-locked.tr2"}));

  ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0644), 0);
  EXPECT_EQ(SaveFileAtomically(dir_ / "pipe", new_).Reason(), "it is not a regular file");
  EXPECT_TRUE(fs::is_fifo(dir_ / "pipe"));
  EXPECT_EQ(SaveFileAtomically(dir_, new_).Reason(), "it is a folder");
}

TEST_F(SaveFileTest, TheNewFileKeepsTheOldModeAndANewOneTheUsual) {
  test::WriteBytes(dir_ / "private.tr2", old_);
  fs::permissions(dir_ / "private.tr2", fs::perms(0640));
  ASSERT_TRUE(SaveFileAtomically(dir_ / "private.tr2", new_).Ok());
  EXPECT_EQ(Mode(dir_ / "private.tr2"), fs::perms(0640));

  const mode_t mask = ::umask(022);
  ASSERT_TRUE(SaveFileAtomically(dir_ / "fresh.tr2", new_).Ok());
  ::umask(mask);
  EXPECT_EQ(Mode(dir_ / "fresh.tr2"), fs::perms(0644));
}

TEST_F(SaveFileTest, TheNewFileKeepsTheOldOwnerAndGroup) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another account";
  const uid_t nobody = 65534;
  test::WriteBytes(dir_ / "theirs.tr2", old_);
  ASSERT_EQ(::chown((dir_ / "theirs.tr2").c_str(), nobody, nobody), 0);
  ASSERT_TRUE(SaveFileAtomically(dir_ / "theirs.tr2", new_).Ok());
  struct stat saved {};
  ASSERT_EQ(::stat((dir_ / "theirs.tr2").c_str(), &saved), 0);
  EXPECT_EQ(saved.st_uid, nobody);
  EXPECT_EQ(saved.st_gid, nobody);
}

// The other names keep the old content, and the note says so before the save.
TEST_F(SaveFileTest, OtherNamesOfAFileAreCountedAndKeepTheOldContent) {
  test::WriteBytes(dir_ / "a.tr2", old_);
  fs::create_hard_link(dir_ / "a.tr2", dir_ / "b.tr2");
  EXPECT_EQ(HardLinkNote(dir_ / "a.tr2", InspectSaveTarget(dir_ / "a.tr2")),
            "a.tr2 has 1 other name (hard link); it will keep the old content.");
  fs::create_hard_link(dir_ / "a.tr2", dir_ / "c.tr2");
  EXPECT_EQ(HardLinkNote(dir_ / "a.tr2", InspectSaveTarget(dir_ / "a.tr2")),
            "a.tr2 has 2 other names (hard links); they will keep the old content.");
  ASSERT_TRUE(SaveFileAtomically(dir_ / "a.tr2", new_).Ok());
  EXPECT_EQ(ReadFile(dir_ / "a.tr2"), new_);
  EXPECT_EQ(ReadFile(dir_ / "b.tr2"), old_);
  EXPECT_EQ(HardLinkNote(dir_ / "a.tr2", InspectSaveTarget(dir_ / "a.tr2")), "");

  // No note for a save that will not happen.
  fs::permissions(dir_ / "b.tr2", fs::perms(0444));
  EXPECT_EQ(HardLinkNote(dir_ / "b.tr2", InspectSaveTarget(dir_ / "b.tr2")), "");
}

}  // namespace
}  // namespace slab
