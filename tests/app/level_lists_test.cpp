// The "Items" and "Triggers" docks driven as a user drives them: typing into the filter,
// choosing a type, double-clicking a row, pressing Enter, clicking a column title.
#include "app/level_lists.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <set>

#include "map/trigger_index.h"
#include "support/compose_classic.h"
#include "support/real_levels.h"
#include "tools/showcase_level.h"

namespace slab {
namespace {

using test::kShowcaseDoor;
using test::kShowcaseTiger;

// A document holding the level, as the window keeps it.
Document LoadedDocument(std::unique_ptr<test::Loaded> loaded) {
  Document doc;
  doc.GameVersion = loaded->GameVersion;
  doc.CurrentLevel = std::move(loaded->Result.Lvl);
  doc.LevelLoaded = loaded->Result.Loaded;
  return doc;
}

// Column `column` of the rows the table shows, top to bottom.
QStringList Shown(LevelListDock& dock, int column = 0) {
  QStringList texts;
  const QAbstractItemModel* model = dock.View()->model();
  for (int row = 0; row < model->rowCount(); ++row)
    texts << model->index(row, column).data().toString();
  return texts;
}

class ListDocksTest : public testing::Test {
 protected:
  void SetUp() override {
    doc_ = LoadedDocument(
        test::LoadBytes(test::ComposeClassic(test::ShowcaseDraft()).Bytes, "showcase.tr2"));
    ASSERT_TRUE(doc_.LevelLoaded);
    names_.Objects[106][kTR2] = "Door 1";
    names_.Objects[64][kTR2] = "Slamming Door";
    names_.Objects[39][kTR2] = "Tiger";
    triggers_ = BuildTriggerIndex(doc_.CurrentLevel);
  }

  // The dock shown on its own and filled.
  void Show(LevelListDock& dock) {
    dock.resize(900, 400);
    dock.SetLevel(doc_, names_, triggers_);
    dock.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dock));
  }

  static std::vector<int> Args(const QSignalSpy& spy, int call) {
    std::vector<int> args;
    for (const QVariant& value : spy.at(call)) args.push_back(value.toInt());
    return args;
  }

  Document doc_;
  ObjectNames names_;
  TriggerIndex triggers_;
};

// Which rows match is the core's (map/level_lists_test); here the boxes, the column titles and
// the refresh after an edit, as a user meets them.
TEST_F(ListDocksTest, SortTypeFilterAndRefreshKeepExactlyTheMatchingRows) {
  ItemsListDock dock;
  Show(dock);
  const int x = static_cast<int>(ItemColumn::X);
  QHeaderView* header = dock.View()->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(x) + 4, header->height() / 2));
  const QStringList xs = Shown(dock, x);
  ASSERT_EQ(xs.size(), 8);
  for (int i = 1; i < xs.size(); ++i) EXPECT_LE(xs[i - 1].toInt(), xs[i].toInt()) << i;

  QTest::keyClicks(dock.Filter(), "door");
  EXPECT_EQ(Shown(dock).size(), 2);
  // The type box, stepped with the arrow key to object 106: both must hold.
  QComboBox* type = dock.TypeFilter();
  type->setFocus();
  while (type->currentData().toInt() != 106 && type->currentIndex() + 1 < type->count())
    QTest::keyClick(type, Qt::Key_Down);
  EXPECT_EQ(Shown(dock), QStringList({"Item 1"}));
  doc_.CurrentLevel.Items[kShowcaseDoor].OCB = 77;  // an edit, then the window's refresh
  dock.Refresh();
  EXPECT_EQ(dock.Filter()->text(), "door");
  EXPECT_EQ(Shown(dock, static_cast<int>(ItemColumn::OCB)), QStringList({"77"}));
}

// A double-click on an items row is driven through the window (window_test).
TEST_F(ListDocksTest, EnterOrADoubleClickGoesToTheRowsPlace) {
  ItemsListDock items;
  Show(items);
  QSignalSpy itemSpy(&items, &LevelListDock::GoTo);
  // Enter in the filter goes to the first row left; in the table, to the current row.
  QTest::keyClicks(items.Filter(), "tiger");
  QTest::keyClick(items.Filter(), Qt::Key_Return);
  QTest::keyClick(items.Filter(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(items.Filter(), Qt::Key_Backspace);
  items.View()->setFocus();
  QTest::keyClick(items.View(), Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClick(items.View(), Qt::Key_Down);
  QTest::keyClick(items.View(), Qt::Key_Enter);
  ASSERT_EQ(itemSpy.count(), 2);
  EXPECT_EQ(Args(itemSpy, 0), (std::vector<int>{1, 2, 1, kShowcaseTiger}));
  EXPECT_EQ(Args(itemSpy, 1), (std::vector<int>{0, 6, 4, kShowcaseDoor}));

  TriggersListDock triggers;
  Show(triggers);
  QSignalSpy triggerSpy(&triggers, &LevelListDock::GoTo);
  QTest::keyClicks(triggers.Filter(), "camera");
  ASSERT_EQ(Shown(triggers, 1), QStringList({"2,5"}));
  const QPoint at = triggers.View()->visualRect(triggers.View()->model()->index(0, 0)).center();
  QTest::mouseClick(triggers.View()->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(triggers.View()->viewport(), Qt::LeftButton, {}, at);
  ASSERT_EQ(triggerSpy.count(), 1);
  EXPECT_EQ(Args(triggerSpy, 0), (std::vector<int>{0, 2, 5, -1}));
}

// The largest lists: every item and AI object of each fourth- and fifth-game level is a row.
TEST(ListDocksRealLevels, EveryItemIsARow) {
  SLAB_REQUIRE_REAL_LEVELS();
  const ObjectNames names;
  for (const auto& file : test::RealLevels({"tr4/", "tr5/"})) {
    const Document doc = LoadedDocument(test::LoadFile(file));
    if (!doc.LevelLoaded) continue;
    const TriggerIndex triggers = BuildTriggerIndex(doc.CurrentLevel);
    ItemsListDock dock;
    dock.SetLevel(doc, names, triggers);
    const QStringList rows = Shown(dock);
    EXPECT_EQ(std::set<QString>(rows.begin(), rows.end()).size(),
              doc.CurrentLevel.Items.size() + doc.CurrentLevel.AIObjects.size())
        << file;
  }
}

}  // namespace
}  // namespace slab
