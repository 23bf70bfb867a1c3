// An encrypted level in the window: it opens for viewing, says so, and keeps every edit from
// reaching a file.
#include <QStatusBar>
#include <QTableView>
#include <QWindow>

#include "tools/compose_tr45.h"
#include "window_fixture.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

constexpr char kEncrypted[] = "This level is encrypted by its author; it opens for viewing only.";

class EncryptedWindowTest : public test::WindowFixture {
 protected:
  void SetUp() override { Start(false); }
  void OpenWithDialog(const fs::path& path) {
    dialog_.Next = FileChoice{path.string(), path.filename().string()};
    Key(Qt::Key_O, Qt::ControlModifier);
  }
  int Rows(const QString& list) { return Get<QTableView>(list)->model()->rowCount(); }
};

// A fourth-game level its author encrypted: the title and the status bar say so, Save and
// Save As stay off, an edit can be made and undone but no key or menu writes the file, demo
// recording refuses, and leaving with changes asks to drop them.
TEST_F(EncryptedWindowTest, AnEncryptedLevelOpensForViewingOnly) {
  const fs::path path = dir_ / "secret.tr4";
  test::WriteBytes(path, test::ScrambleLevel(test::ComposeTR4(test::SampleTr4Draft()).Bytes));
  const std::vector<uint8_t> bytes = test::ReadFile(path);
  OpenWithDialog(path);
  ASSERT_TRUE(window_->Doc().LevelLoaded) << (sink_.Shown.empty() ? "" : sink_.Shown[0]);
  EXPECT_TRUE(sink_.Shown.empty());
  EXPECT_TRUE(window_->windowHandle()->title().contains("[secret.tr4] (encrypted)"))
      << window_->windowHandle()->title().toStdString();
  EXPECT_EQ(Get<QLabel>("SaveState")->text(), QString("Read-only: ") + kEncrypted);
  for (const char* action : {"Mnu_File_Save", "Mnu_File_SaveAs"})
    EXPECT_FALSE(Get<QAction>(action)->isEnabled()) << action;

  ClickSector(1, 1);
  Press("FloorWall");
  ASSERT_TRUE(window_->Doc().Modified);
  Key(Qt::Key_S, Qt::ControlModifier);
  Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(dialog_.Saves, 0);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FALSE(window_->Doc().Modified);

  Choose("Mnu_Demo_Rec");
  EXPECT_EQ(sink_.Shown, std::vector<std::string>{kEncrypted});
  EXPECT_FALSE(window_->Doc().Modified);

  ClickSector(1, 1);
  Press("FloorWall");
  sink_.NextAnswer = Answer::No;  // Discard
  window_->close();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(sink_.Asked,
            std::vector<std::string>{std::string(kEncrypted) + " Discard the changes to secret.tr4?"});
  EXPECT_EQ(test::ReadFile(path), bytes);
}

// An encrypted fifth-game level under a ".tr4" name: the status bar tells it is read as the
// fifth-game level it holds, and its cameras and sound sources fill their lists.
TEST_F(EncryptedWindowTest, AFifthGameLevelUnderAFourthGameNameSaysSoAndListsItsCameras) {
  const fs::path path = dir_ / "lake.tr4";
  test::WriteBytes(path, test::ScrambleLevel(test::ComposeTR5(test::SampleTr5Draft()).Bytes));
  OpenWithDialog(path);
  ASSERT_TRUE(window_->Doc().LevelLoaded) << (sink_.Shown.empty() ? "" : sink_.Shown[0]);
  EXPECT_EQ(window_->statusBar()->currentMessage(),
            "lake.tr4 holds a fifth-game level under a fourth-game name; it is read as the level "
            "it holds.");
  EXPECT_EQ(Get<QLabel>("SaveState")->text(), QString("Read-only: ") + kEncrypted);
  Key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Rows("CamerasList"), 2);
  Choose("Mnu_View_Sounds");
  EXPECT_EQ(Rows("SoundsList"), 1);
}

}  // namespace
}  // namespace slab
