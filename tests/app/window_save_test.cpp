// Saving from the window over files that are not plain writable files of their own.
#include <QWindow>

#include "window_fixture.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

class WindowSaveTest : public test::WindowFixture {
 protected:
  void SetUp() override { Start(false); }

  // Turns Lara, the first item of sector (2, 2), with a click on Rotate.
  void RotateLara() {
    ClickSector(2, 2);
    ClickLine("SecCurItem", 0);
    Press("ItemRotate");
  }
  // The title as the window system shows it, with the modified mark when there are edits.
  QString ShownTitle() { return window_->windowHandle()->title(); }
};

TEST_F(WindowSaveTest, AReadOnlyLevelIsNotSavedOverAndSaveAsKeepsTheEdit) {
  const std::vector<uint8_t> original = test::ReadFile(showcase_);
  fs::permissions(showcase_, fs::perms(0444));
  OpenWithKeys(showcase_);
  RotateLara();
  EXPECT_EQ(ShownTitle(), QString(kWindowTitle) + " [showcase.tr2]*");
  Key(Qt::Key_S, Qt::ControlModifier);  // the focus is still on Rotate
  ASSERT_FALSE(sink_.Shown.empty());
  EXPECT_EQ(sink_.Shown.back(), "showcase.tr2 could not be saved: it is read-only.");
  EXPECT_EQ(sink_.Details.back(), "Save As saves the level under another name.");
  EXPECT_EQ(ShownTitle(), QString(kWindowTitle) + " [showcase.tr2]*");
  EXPECT_EQ(test::ReadFile(showcase_), original);
  EXPECT_EQ(fs::status(showcase_).permissions(), fs::perms(0444));

  // Typed without an extension: the level's own is added, so F6/F7 and Open find it.
  dialog_.Next = FileChoice{(dir_ / "turned").string(), "turned"};
  Choose("Mnu_File_SaveAs");
  EXPECT_EQ(sink_.Shown.back(), "Project saved");
  EXPECT_EQ(ShownTitle(), QString(kWindowTitle) + " [turned.tr2]");
  ASSERT_TRUE(fs::exists(dir_ / "turned.tr2"));
  EXPECT_NE(test::ReadFile(dir_ / "turned.tr2"), original);
  EXPECT_EQ(test::ReadFile(showcase_), original);
}

// Other names of the file keep the old content; the user is asked before they part ways.
TEST_F(WindowSaveTest, AHardLinkedLevelIsSavedOnlyAfterTheUserAgrees) {
  const std::vector<uint8_t> original = test::ReadFile(showcase_);
  fs::create_hard_link(showcase_, dir_ / "copy.tr2");
  OpenWithKeys(showcase_);
  RotateLara();
  sink_.NextAnswer = Answer::No;
  Key(Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(sink_.Asked.size(), 1u);
  EXPECT_EQ(sink_.Asked[0],
            "showcase.tr2 has 1 other name (hard link); it will keep the old content. "
            "Save anyway?");
  EXPECT_EQ(ShownTitle(), QString(kWindowTitle) + " [showcase.tr2]*");
  EXPECT_EQ(test::ReadFile(showcase_), original);
  sink_.NextAnswer = Answer::Yes;
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(ShownTitle(), QString(kWindowTitle) + " [showcase.tr2]");
  EXPECT_NE(test::ReadFile(showcase_), original);
  EXPECT_EQ(test::ReadFile(dir_ / "copy.tr2"), original);
}

}  // namespace
}  // namespace slab
