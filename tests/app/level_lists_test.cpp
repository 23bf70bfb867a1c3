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

#include "level/load_level.h"
#include "map/trigger_index.h"
#include "support/compose_classic.h"
#include "support/real_levels.h"
#include "tools/showcase_level.h"

namespace slab {
namespace {

using test::kShowcaseDoor;
using test::kShowcaseTiger;

class ListDocksTest : public testing::Test {
 protected:
  void SetUp() override {
    RecordingSink messages;
    const auto bytes = test::ComposeClassic(test::ShowcaseDraft()).Bytes;
    LoadResult loaded = LoadLevelFromBytes(bytes, "showcase.tr2", messages);
    doc_.GameVersion = loaded.DetectedGame.value_or(doc_.GameVersion);
    ASSERT_TRUE(loaded.Loaded);
    doc_.CurrentLevel = std::move(loaded.Lvl);
    doc_.LevelLoaded = true;
    names_.Objects[106][GameNumber(Game::TR2)] = "Door 1";
    names_.Objects[64][GameNumber(Game::TR2)] = "Slamming Door";
    names_.Objects[39][GameNumber(Game::TR2)] = "Tiger";
    names_.Objects[104][GameNumber(Game::TR2)] = "Wall Switch";
    triggers_ = BuildTriggerIndex(doc_.CurrentLevel);
  }

  // The dock shown on its own, filled, with the keyboard in its table.
  template <typename Dock>
  void Show(Dock& dock) {
    dock.resize(900, 400);
    dock.SetLevel(doc_, names_, triggers_);
    dock.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dock));
  }

  // Column `column` of the rows the table shows, top to bottom.
  static QStringList Shown(LevelListDock& dock, int column = 0) {
    QStringList texts;
    const QAbstractItemModel* model = dock.View()->model();
    for (int row = 0; row < model->rowCount(); ++row)
      texts << model->index(row, column).data().toString();
    return texts;
  }

  static QPoint RowCentre(LevelListDock& dock, const QString& firstCell) {
    const QAbstractItemModel* model = dock.View()->model();
    for (int row = 0; row < model->rowCount(); ++row)
      if (model->index(row, 0).data().toString() == firstCell)
        return dock.View()->visualRect(model->index(row, 0)).center();
    ADD_FAILURE() << "no row " << firstCell.toStdString();
    return {};
  }

  // A user's double-click: a click, then the second press that arrives as a double-click.
  static void DoubleClick(LevelListDock& dock, QPoint at) {
    QTest::mouseClick(dock.View()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(dock.View()->viewport(), Qt::LeftButton, {}, at);
  }

  static std::vector<int> Args(const QSignalSpy& spy, int call = 0) {
    std::vector<int> args;
    for (const QVariant& value : spy.at(call)) args.push_back(value.toInt());
    return args;
  }

  Document doc_;
  ObjectNames names_;
  TriggerIndex triggers_;
};

TEST_F(ListDocksTest, TitlesNamesAndAccessibleNames) {
  ItemsListDock items;
  TriggersListDock triggers;
  Show(items);
  Show(triggers);
  EXPECT_EQ(items.windowTitle(), "Items");
  EXPECT_EQ(triggers.windowTitle(), "Triggers");
  EXPECT_EQ(items.findChild<QTableView*>("ItemsList"), items.View());
  EXPECT_EQ(items.findChild<QLineEdit*>("ItemFilter"), items.Filter());
  EXPECT_EQ(items.findChild<QComboBox*>("ItemTypeFilter"), items.TypeFilter());
  EXPECT_EQ(triggers.findChild<QTableView*>("TriggersList"), triggers.View());
  EXPECT_EQ(triggers.findChild<QLineEdit*>("TriggerFilter"), triggers.Filter());
  EXPECT_EQ(triggers.findChild<QComboBox*>("TriggerTypeFilter"), triggers.TypeFilter());
  for (QDockWidget* dock :
       {static_cast<QDockWidget*>(&items), static_cast<QDockWidget*>(&triggers)}) {
    for (QWidget* widget : dock->findChildren<QWidget*>()) {
      if (!widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_")) {
        EXPECT_EQ(widget->accessibleName(), widget->objectName());
      }
    }
  }
  EXPECT_EQ(Shown(items).size(), 8);
  EXPECT_EQ(items.TypeFilter()->count(), 1 + 8);  // "All objects" and each object id
}

TEST_F(ListDocksTest, TypingAndChoosingATypeKeepExactlyTheMatchingRows) {
  ItemsListDock dock;
  Show(dock);
  QTest::keyClicks(dock.Filter(), "DOOR");
  EXPECT_EQ(Shown(dock), QStringList({"Item 1", "Item 6"}));
  QTest::keyClick(dock.Filter(), Qt::Key_Space);
  QTest::keyClick(dock.Filter(), Qt::Key_1);
  EXPECT_EQ(Shown(dock), QStringList({"Item 1"}));
  QTest::keyClick(dock.Filter(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(dock.Filter(), Qt::Key_Backspace);
  EXPECT_EQ(Shown(dock).size(), 8);

  // The type box, stepped with the arrow key to object 106.
  QComboBox* type = dock.TypeFilter();
  type->setFocus();
  while (type->currentData().toInt() != 106 && type->currentIndex() + 1 < type->count())
    QTest::keyClick(type, Qt::Key_Down);
  ASSERT_EQ(type->currentText(), "106 Door 1");
  EXPECT_EQ(Shown(dock), QStringList({"Item 1"}));
  QTest::keyClicks(dock.Filter(), "tiger");  // both must hold
  EXPECT_TRUE(Shown(dock).isEmpty());
}

TEST_F(ListDocksTest, DoubleClickGoesToTheRowsPlace) {
  ItemsListDock items;
  Show(items);
  QSignalSpy itemSpy(&items, &LevelListDock::GoTo);
  DoubleClick(items, RowCentre(items, "Item 1"));
  ASSERT_EQ(itemSpy.count(), 1);
  EXPECT_EQ(Args(itemSpy), (std::vector<int>{0, 6, 4, kShowcaseDoor}));

  TriggersListDock triggers;
  Show(triggers);
  QSignalSpy triggerSpy(&triggers, &LevelListDock::GoTo);
  QTest::keyClicks(triggers.Filter(), "camera");
  ASSERT_EQ(Shown(triggers, 1), QStringList({"2,5"}));
  DoubleClick(triggers, RowCentre(triggers, "0"));
  ASSERT_EQ(triggerSpy.count(), 1);
  EXPECT_EQ(Args(triggerSpy), (std::vector<int>{0, 2, 5, -1}));
}

TEST_F(ListDocksTest, EnterGoesToTheCurrentOrFirstRow) {
  ItemsListDock dock;
  Show(dock);
  QSignalSpy spy(&dock, &LevelListDock::GoTo);
  dock.Filter()->setFocus();
  QTest::keyClicks(dock.Filter(), "tiger");
  QTest::keyClick(dock.Filter(), Qt::Key_Return);
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(Args(spy), (std::vector<int>{1, 2, 1, kShowcaseTiger}));

  // In the table: the arrow keys pick the row, Enter goes there.
  QTest::keyClick(dock.Filter(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(dock.Filter(), Qt::Key_Backspace);
  dock.View()->setFocus();
  QTest::keyClick(dock.View(), Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClick(dock.View(), Qt::Key_Down);
  QTest::keyClick(dock.View(), Qt::Key_Enter);
  ASSERT_EQ(spy.count(), 2);
  EXPECT_EQ(Args(spy, 1), (std::vector<int>{0, 6, 4, kShowcaseDoor}));
}

TEST_F(ListDocksTest, ColumnTitleSortsNumbersByValueAndRefreshKeepsTheFilter) {
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
  doc_.CurrentLevel.Items[kShowcaseDoor].OCB = 77;  // an edit, then the window's refresh
  dock.Refresh();
  EXPECT_EQ(dock.Filter()->text(), "door");
  EXPECT_EQ(Shown(dock, static_cast<int>(ItemColumn::OCB)).count("77"), 1);
  EXPECT_EQ(Shown(dock).size(), 2);
}

// The largest lists: every item and AI object of each fourth- and fifth-game level is a row.
TEST(ListDocksRealLevels, EveryItemIsARow) {
  SLAB_REQUIRE_REAL_LEVELS();
  const ObjectNames names;
  for (const auto& file : test::RealLevels({"tr4/", "tr5/"})) {
    RecordingSink messages;
    Document doc;
    LoadResult loaded = LoadLevel(file, messages);
    doc.GameVersion = loaded.DetectedGame.value_or(doc.GameVersion);
    if (!loaded.Loaded) continue;
    doc.CurrentLevel = std::move(loaded.Lvl);
    doc.LevelLoaded = true;
    const TriggerIndex triggers = BuildTriggerIndex(doc.CurrentLevel);
    ItemsListDock dock;
    dock.SetLevel(doc, names, triggers);
    const QAbstractItemModel* model = dock.View()->model();
    std::set<QString> indexes;
    for (int row = 0; row < model->rowCount(); ++row)
      indexes.insert(model->index(row, 0).data().toString());
    EXPECT_EQ(indexes.size(), doc.CurrentLevel.Items.size() + doc.CurrentLevel.AIObjects.size())
        << file;
  }
}

}  // namespace
}  // namespace slab
