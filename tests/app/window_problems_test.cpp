// The Problems list in the window: the checks run when a level opens and after each edit, the
// list goes to a finding's place, and a save that would leave a new error asks first. Driven
// with keys and clicks on the offscreen platform.
#include <QComboBox>
#include <QDockWidget>
#include <QStatusBar>
#include <QTableView>

#include "faulty_level.h"
#include "map/problem_rows.h"
#include "window_fixture.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

class ProblemsTest : public test::WindowFixture {
 protected:
  void SetUp() override { Start(false); }

  QString Status() { return Get<QStatusBar>("StatusBar")->currentMessage(); }
  QStringList Column(int column) {
    QStringList texts;
    auto* table = Get<QTableView>("ProblemsList");
    for (int row = 0; table && row < table->model()->rowCount(); ++row)
      texts << table->model()->index(row, column).data().toString();
    return texts;
  }
  void DoubleClickRow(int row) {
    auto* table = Get<QTableView>("ProblemsList");
    const QPoint at = table->visualRect(table->model()->index(row, 0)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
  }
};

TEST_F(ProblemsTest, ALevelWithReferencesToNothingOpensAndItsProblemsLeadToTheirPlaces) {
  const fs::path faulty = dir_ / "faulty.tr2";
  test::WriteBytes(faulty, test::ComposeClassic(test::FaultyDraft()).Bytes);
  OpenWithKeys(faulty);
  ASSERT_TRUE(window_->Doc().LevelLoaded);
  EXPECT_EQ(Status(), "6 errors, 2 warnings");

  Key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(Get<QDockWidget>("ProblemsListDock")->isVisible());
  const int severity = static_cast<int>(ProblemColumn::Severity);
  const int check = static_cast<int>(ProblemColumn::Check);
  // Errors first.
  const QStringList severities = Column(severity);
  ASSERT_EQ(severities.size(), 8);
  EXPECT_EQ(severities.first(), "error");
  EXPECT_EQ(severities.count("error"), 6);
  EXPECT_TRUE(Column(check).contains("portal-room"));

  // The trigger naming no item: the filter keeps it, Enter goes to its sector.
  QTest::keyClicks(Get<QLineEdit>("ProblemsFilter"), "item 140");
  ASSERT_EQ(Column(check), QStringList({"trigger-item"}));
  EXPECT_EQ(Column(static_cast<int>(ProblemColumn::Message)).first(),
            "Room 0's trigger at sector 3,1 names item 140; the level has 8 items.");
  QTest::keyClick(Get<QLineEdit>("ProblemsFilter"), Qt::Key_Return);
  EXPECT_EQ(CurrentRoomRow(), 0);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 2,0]");

  // The item in the wall: a double-click chooses it on its sector.
  Get<QLineEdit>("ProblemsFilter")->clear();
  QTest::keyClicks(Get<QLineEdit>("ProblemsFilter"), "item-wall");
  ASSERT_EQ(Column(check), QStringList({"item-wall"}));
  DoubleClickRow(0);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector -1,4]");
  EXPECT_EQ(Get<QListWidget>("SecCurItem")->currentRow(), 0);

  // The panels and the map show the sectors that point nowhere.
  ClickSector(1, 1);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 0,0]");
  ClickSector(1, 2);
  ChooseRoom(3);
  ClickSector(0, 3);
  EXPECT_EQ(CurrentRoomRow(), 3);
}

// The showcase as the program ships it has nothing to report.
TEST_F(ProblemsTest, TheShowcaseOpensWithoutProblems) {
  OpenWithKeys(showcase_);
  ASSERT_TRUE(window_->Doc().LevelLoaded);
  EXPECT_EQ(Status(), "No problems found");
  Key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(Column(static_cast<int>(ProblemColumn::Check)).isEmpty());
}

// The showcase as a second-game level keeping its third-game monkey-swing and minecart entries
// opens with those errors; one more minecart turn is one more error, and Save asks before
// writing it.
TEST_F(ProblemsTest, AnEditThatAddsAnErrorMakesSaveAskWithCancelKeepingTheFile) {
  const fs::path second = dir_ / "second.tr2";
  test::WriteBytes(
      second,
      test::ComposeClassic(test::SecondGameShowcaseDraft(/*keepThirdGameFloorData=*/true)).Bytes);
  const std::vector<uint8_t> original = test::ReadFile(second);
  OpenWithKeys(second);
  EXPECT_EQ(Status(), "10 errors");

  ClickSector(3, 1);
  Press("FD20");
  EXPECT_EQ(Status(), "11 errors");
  Key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Column(static_cast<int>(ProblemColumn::Check)).count("floor-function"), 11);

  sink_.NextAnswer = Answer::Cancel;
  Key(Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(sink_.Asked.size(), 1u);
  EXPECT_EQ(sink_.Asked[0],
            "Saving leaves an error the level did not have when it was opened:\n\n"
            "Room 0's sector 3,1's list holds function 20; the second game knows functions 1 "
            "to 6.\n\nSave anyway?");
  EXPECT_EQ(test::ReadFile(second), original);

  // Undone, the level has only the errors it came with: Save does not ask.
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Status(), "10 errors");
  ClickSector(2, 2);
  ClickLine("SecCurItem", 0);
  Press("ItemRotate");
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(sink_.Asked.size(), 1u);
  EXPECT_NE(test::ReadFile(second), original);

  // Saved anyway when the user says so.
  ClickSector(3, 1);
  Press("FD20");
  sink_.NextAnswer = Answer::Yes;
  Choose("Mnu_File_Save");
  EXPECT_EQ(sink_.Asked.size(), 2u);
  EXPECT_EQ(sink_.Shown.back(), "Project saved");
}

}  // namespace
}  // namespace slab
