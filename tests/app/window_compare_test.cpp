// Comparing the open level with its saved file or another level, driven as a user does: edits
// made with the panels, the File menu's entries, the "Differences" list read line by line and
// followed with the mouse and the keyboard, the outline read back from the map's pixels.
#include <QHeaderView>
#include <QTableView>
#include <QTreeWidget>
#include <fstream>

#include "app/differences_dock.h"
#include "app/level_comparison.h"
#include "map/draw_room.h"
#include "window_fixture.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

const QColor kChangedColour(map_colour::kChanged.R, map_colour::kChanged.G, map_colour::kChanged.B);

std::vector<char> Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class WindowCompareTest : public test::WindowFixture {
 protected:
  void SetUp() override { Start(false); }

  QTreeWidget* List() { return Get<QTreeWidget>("DifferencesList"); }
  std::string Summary() { return Text("DifferencesSummary").toStdString(); }

  // Every line the list shows, a group's lines indented under it, details deeper.
  std::vector<std::string> ListLines() {
    std::vector<std::string> lines;
    std::function<void(QTreeWidgetItem*, int)> add = [&](QTreeWidgetItem* item, int depth) {
      lines.push_back(std::string(static_cast<size_t>(depth) * 2, ' ') +
                      item->text(0).toStdString());
      for (int i = 0; i < item->childCount(); ++i) add(item->child(i), depth + 1);
    };
    for (int i = 0; i < List()->topLevelItemCount(); ++i) add(List()->topLevelItem(i), 0);
    return lines;
  }
  // The list's line whose text starts with `text`.
  QTreeWidgetItem* LineStarting(const QString& text) {
    for (QTreeWidgetItem* item : List()->findItems(text, Qt::MatchStartsWith | Qt::MatchRecursive))
      return item;
    ADD_FAILURE() << "no line " << text.toStdString();
    return nullptr;
  }
  void DoubleClickLine(QTreeWidgetItem* item) {
    ASSERT_NE(item, nullptr);
    List()->scrollToItem(item);
    // On the line's text, where it starts: a long line runs past the dock's edge.
    const QRect line = List()->visualItemRect(item);
    const QPoint at(line.left() + 20, line.center().y());
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, at);
  }

  // A wall on the hall's sector (3, 6) and Lara turned, as a user makes them.
  void WallAndRotate() {
    ClickSector(3, 6);
    Press("FloorWall");
    ClickSector(2, 2);
    ClickLine("SecCurItem", 0);
    Press("ItemRotate");
  }
};

TEST_F(WindowCompareTest, CompareWithSavedListsTheEditsAndLeadsToThem) {
  EXPECT_FALSE(Get<QAction>("Mnu_File_CompareWith")->isEnabled());
  EXPECT_FALSE(Get<QAction>("Mnu_File_CompareWithSaved")->isEnabled());
  OpenShowcase();
  EXPECT_TRUE(Get<QAction>("Mnu_File_CompareWithSaved")->isEnabled());
  const std::vector<char> saved = Bytes(showcase_);
  WallAndRotate();

  Choose("Mnu_File_CompareWithSaved");
  ASSERT_TRUE(Get<DifferencesDock>("DifferencesDock")->isVisible());
  EXPECT_EQ(Summary(), "Against showcase.tr2 as last saved: 2 changes, 0 sections differ");
  const std::vector<std::string> lines = ListLines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "Room 0: 2 changes");
  EXPECT_EQ(lines[1], "  room 0, sector 3,6: changed (wall)");
  EXPECT_EQ(lines[2], "    became a wall (was floor 0, ceiling -12 clicks)");
  EXPECT_TRUE(lines[3].starts_with("  room 0, sector 2,2, item 0 (")) << lines[3];
  EXPECT_TRUE(lines[3].ends_with("): changed (angle)")) << lines[3];
  EXPECT_EQ(lines[4], "    angle 16384 (90 deg) -> 24576 (135 deg)");
  EXPECT_EQ(Bytes(showcase_), saved);  // nothing was written

  // A double-click on the wall's line goes there from another room.
  ChooseRoom(2);
  DoubleClickLine(LineStarting("room 0, sector 3,6"));
  EXPECT_EQ(CurrentRoomRow(), 0);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 2,5]");
  EXPECT_EQ(Text("ItemID"), "");
  // Enter on the item's line chooses the item on its sector; the list keeps the focus.
  QTreeWidgetItem* item = LineStarting("room 0, sector 2,2, item 0");
  List()->setFocus();
  List()->setCurrentItem(item);
  Key(Qt::Key_Return);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 1,1]");
  EXPECT_TRUE(Text("ItemID").startsWith("Item 0 - ObjectID")) << Text("ItemID").toStdString();
  EXPECT_EQ(QApplication::focusWidget(), List());
}

TEST_F(WindowCompareTest, TheListFollowsEditsUndoSaveAndTheFilter) {
  OpenShowcase();
  WallAndRotate();
  Choose("Mnu_File_CompareWithSaved");

  // Typing filters the lines; Enter in the box goes to the first one left.
  ChooseRoom(1);
  auto* filter = Get<QLineEdit>("DifferencesFilter");
  QTest::mouseClick(filter, Qt::LeftButton);
  QTest::keyClicks(filter, "WALL");
  EXPECT_EQ(ListLines(),
            (std::vector<std::string>{"Room 0: 2 changes", "  room 0, sector 3,6: changed (wall)",
                                      "    became a wall (was floor 0, ceiling -12 clicks)"}));
  QTest::keyClick(filter, Qt::Key_Return);
  EXPECT_EQ(CurrentRoomRow(), 0);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 2,5]");
  Key(Qt::Key_A, Qt::ControlModifier);
  Key(Qt::Key_Delete);
  EXPECT_EQ(ListLines().size(), 5u);

  // Undo takes the wall back, and its line goes; the rotation stays.
  ClickSector(1, 1);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Summary(), "Against showcase.tr2 as last saved: 1 change, 0 sections differ");
  EXPECT_EQ(ListLines().size(), 3u);
  // Saved, the file is the old version: nothing differs any more.
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(Summary(), "Against showcase.tr2 as last saved: equal");
  EXPECT_TRUE(ListLines().empty());

  // Reading the file again ends the comparison.
  Key(Qt::Key_F5);
  EXPECT_TRUE(Summary().starts_with("No comparison")) << Summary();
  EXPECT_FALSE(Get<QCheckBox>("DifferencesOutline")->isEnabled());
}

TEST_F(WindowCompareTest, TheOutlineMarksChangedSectorsUntilSwitchedOff) {
  OpenShowcase();
  ClickSector(3, 6);
  const QImage before = Get<RoomMapWidget>("RoomMap")->MapPicture();
  Press("FloorWall");
  const QColor wall = MapPixel(65, 35);
  const QImage walled = Get<RoomMapWidget>("RoomMap")->MapPicture();

  Choose("Mnu_File_CompareWithSaved");
  // The ring runs inside the changed sector's own outline; its middle keeps its colour.
  EXPECT_EQ(MapPixel(60, 30), kChangedColour);
  EXPECT_EQ(MapPixel(67, 37), kChangedColour);
  EXPECT_EQ(MapPixel(65, 35), wall);
  EXPECT_NE(MapPixel(20, 20), kChangedColour);  // Lara's sector is as saved
  // Another room has no change: nothing outlined there.
  ChooseRoom(2);
  const QImage room2 = Get<RoomMapWidget>("RoomMap")->MapPicture();
  for (int y = 0; y < room2.height(); ++y)
    for (int x = 0; x < room2.width(); ++x) ASSERT_NE(room2.pixelColor(x, y), kChangedColour);
  ChooseRoom(0);
  ClickSector(3, 6);

  Press("DifferencesOutline");
  EXPECT_EQ(Get<RoomMapWidget>("RoomMap")->MapPicture(), walled);
  Press("DifferencesOutline");
  EXPECT_EQ(MapPixel(60, 30), kChangedColour);
  // Closing the dock takes the outline away too.
  Get<DifferencesDock>("DifferencesDock")->toggleViewAction()->trigger();
  EXPECT_EQ(Get<RoomMapWidget>("RoomMap")->MapPicture(), walled);
  Get<DifferencesDock>("DifferencesDock")->toggleViewAction()->trigger();
  EXPECT_EQ(MapPixel(60, 30), kChangedColour);
  // Undone, the sector is as saved and the map as it was.
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Get<RoomMapWidget>("RoomMap")->MapPicture(), before);
}

// The Rooms list marks each room with a change, beside its number, while the comparison shows;
// the mark follows the edits and goes with the comparison.
TEST_F(WindowCompareTest, TheRoomsListMarksRoomsWithChanges) {
  OpenShowcase();
  Choose("Mnu_View_Rooms");
  auto* table = Get<QTableView>("RoomsList");
  ASSERT_NE(table, nullptr);
  QHeaderView* header = table->horizontalHeader();
  // The column a user sees second, its title and its cells as the table shows them.
  auto marks = [&] {
    QStringList texts;
    const int column = header->logicalIndex(1);
    if (table->isColumnHidden(column)) return texts;
    texts << table->model()->headerData(column, Qt::Horizontal).toString();
    for (int row = 0; row < table->model()->rowCount(); ++row)
      texts << table->model()->index(row, column).data().toString();
    return texts;
  };
  ASSERT_TRUE(marks().isEmpty());  // no comparison, no column

  WallAndRotate();  // both in the hall, room 0
  Choose("Mnu_File_CompareWithSaved");
  EXPECT_EQ(marks(), QStringList({"Changes", "changed", "", "", ""}));
  Key(Qt::Key_Z, Qt::ControlModifier);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(marks(), QStringList({"Changes", "", "", "", ""}));
  Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(marks().value(1), "changed");
  // Closed, the comparison is no longer shown; another level ends it.
  Get<DifferencesDock>("DifferencesDock")->toggleViewAction()->trigger();
  EXPECT_TRUE(marks().isEmpty());
  Get<DifferencesDock>("DifferencesDock")->toggleViewAction()->trigger();
  EXPECT_EQ(marks().value(1), "changed");
  Key(Qt::Key_Z, Qt::ControlModifier);
  ASSERT_FALSE(window_->Doc().Modified);
  Key(Qt::Key_F5);
  EXPECT_TRUE(marks().isEmpty());
}

TEST_F(WindowCompareTest, CompareWithAnotherFileAndRefusedFilesChangeNothing) {
  OpenShowcase();
  // The old version: the sample with one sector walled, saved elsewhere.
  ClickSector(3, 6);
  Press("FloorWall");
  const fs::path old = dir_ / "old.tr2";
  dialog_.Next = FileChoice{old.string(), "old.tr2"};
  Choose("Mnu_File_SaveAs");
  ASSERT_TRUE(fs::exists(old));
  Key(Qt::Key_Z, Qt::ControlModifier);
  sink_ = RecordingSink{};  // "Project saved"

  dialog_.Next = FileChoice{old.string(), "old.tr2"};
  Choose("Mnu_File_CompareWith");
  EXPECT_EQ(Summary(), "Against old.tr2: 1 change, 0 sections differ");
  const std::vector<std::string> compared = ListLines();
  ASSERT_EQ(compared.size(), 3u);
  EXPECT_EQ(compared[1], "  room 0, sector 3,6: changed (wall)");
  EXPECT_TRUE(sink_.Shown.empty()) << sink_.Shown[0];

  // A damaged file: its message names it, and the list stays as it was.
  const fs::path damaged = dir_ / "damaged.tr2";
  {
    std::vector<char> bytes = Bytes(showcase_);
    bytes.resize(bytes.size() / 3);
    std::ofstream(damaged, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
  }
  dialog_.Next = FileChoice{damaged.string(), "damaged.tr2"};
  Choose("Mnu_File_CompareWith");
  ASSERT_EQ(sink_.Shown.size(), 1u);
  EXPECT_NE(sink_.Shown[0].find("damaged.tr2"), std::string::npos) << sink_.Shown[0];
  EXPECT_EQ(ListLines(), compared);
  EXPECT_EQ(Summary(), "Against old.tr2: 1 change, 0 sections differ");
  // A file that is no level at all.
  const fs::path text = dir_ / "notes.tr2";
  std::ofstream(text) << "not a level";
  dialog_.Next = FileChoice{text.string(), "notes.tr2"};
  Choose("Mnu_File_CompareWith");
  ASSERT_EQ(sink_.Shown.size(), 2u);
  EXPECT_NE((sink_.Shown[1] + sink_.Details[1]).find("notes.tr2"), std::string::npos)
      << sink_.Shown[1] << " / " << sink_.Details[1];
  EXPECT_EQ(ListLines(), compared);
  // A cancelled dialog changes nothing either.
  dialog_.Next.reset();
  Choose("Mnu_File_CompareWith");
  EXPECT_EQ(ListLines(), compared);
  EXPECT_EQ(sink_.Shown.size(), 2u);
}

TEST_F(WindowCompareTest, TheDocksControlsSpeakTheirNames) {
  EXPECT_EQ(Get<QWidget>("DifferencesList")->accessibleName(), "Differences list");
  EXPECT_EQ(Get<QWidget>("DifferencesFilter")->accessibleName(), "Differences filter");
  EXPECT_EQ(Get<QWidget>("DifferencesOutline")->accessibleName(), "Outline on map");
  EXPECT_EQ(Get<DifferencesDock>("DifferencesDock")->windowTitle(), "Differences");
}

}  // namespace
}  // namespace slab
