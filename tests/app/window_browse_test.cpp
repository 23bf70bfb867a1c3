// Finding one's way around the level in the window: the lists of rooms, lights, cameras,
// statics and sounds, the map legend, the boxes over the map, Ctrl+G, + and - on the map, and
// clicks on the overview. Driven with keys and clicks on the offscreen platform.
#include <QCheckBox>
#include <QDockWidget>
#include <QHelpEvent>
#include <QInputDialog>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QToolTip>

#include "map/level_tables.h"
#include "map/map_legend.h"
#include "map/overview.h"
#include "window_fixture.h"

namespace slab {
namespace {

class BrowseTest : public test::WindowFixture {
 protected:
  void SetUp() override {
    Start(false);
    OpenShowcase();
  }

  QStringList Column(const QString& list, int column) {
    QStringList texts;
    auto* table = Get<QTableView>(list);
    for (int row = 0; table && row < table->model()->rowCount(); ++row)
      texts << table->model()->index(row, column).data().toString();
    return texts;
  }
  // A double-click on the shown row whose first column reads `first`.
  void DoubleClickRow(const QString& list, const QString& first) {
    auto* table = Get<QTableView>(list);
    const int row = static_cast<int>(Column(list, 0).indexOf(first));
    ASSERT_GE(row, 0) << first.toStdString();
    const QPoint at = table->visualRect(table->model()->index(row, 0)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
  }
  QWidget* Labelled(const QString& accessibleName) {
    for (QWidget* w : window_->findChildren<QWidget*>())
      if (w->accessibleName() == accessibleName) return w;
    return nullptr;
  }
};

// Each list opens with its key, is heard by its name, filters as the user types and takes
// the window to its row's place.
TEST_F(BrowseTest, ListsOpenWithTheirKeysFilterAndGoThere) {
  Key(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(Get<QDockWidget>("RoomsListDock")->isVisible());
  EXPECT_EQ(Labelled("Rooms list"), Get<QTableView>("RoomsList"));
  EXPECT_EQ(Labelled("Rooms filter"), Get<QLineEdit>("RoomsFilter"));
  EXPECT_EQ(Column("RoomsList", 0), QStringList({"0", "1", "2", "3"}));
  // The boxes keep only rooms with triggers; the sample has no water.
  Press("RoomsTriggers");
  const QStringList withTriggers = Column("RoomsList", 0);
  EXPECT_LT(withTriggers.size(), 4);
  EXPECT_TRUE(withTriggers.contains("0"));
  Press("RoomsWater");
  EXPECT_TRUE(Column("RoomsList", 0).isEmpty());
  Press("RoomsWater");
  Press("RoomsTriggers");
  DoubleClickRow("RoomsList", "3");
  EXPECT_EQ(CurrentRoomRow(), 3);
  EXPECT_EQ(Text("RoomInfo").left(6), "Room 3");

  // A static mesh: its room, its sector numbered from 0 (the caption counts from -1).
  Key(Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Labelled("Static meshes list"), Get<QTableView>("StaticsList"));
  const int sectorColumn = static_cast<int>(StaticColumn::Sector);
  QTest::keyClicks(Get<QLineEdit>("StaticsFilter"), "5,5");
  ASSERT_EQ(Column("StaticsList", sectorColumn), QStringList({"5,5"}));
  QTest::keyClick(Get<QLineEdit>("StaticsFilter"), Qt::Key_Return);
  EXPECT_EQ(CurrentRoomRow(), 0);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 4,4]");
  EXPECT_NE(Text("NumStatic"), "0 Static Meshes");

  // The camera, chosen with the keyboard: a click on its row, then Enter.
  Key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  auto* cameras = Get<QTableView>("CamerasList");
  ASSERT_GE(cameras->model()->rowCount(), 1);
  const QString cameraSector =
      Column("CamerasList", static_cast<int>(CameraColumn::Sector)).first();
  ChooseRoom(2);
  QTest::mouseClick(cameras->viewport(), Qt::LeftButton, {},
                    cameras->visualRect(cameras->model()->index(0, 0)).center());
  Key(Qt::Key_Return);
  // The list counts from 0 where the caption counts from -1.
  const QStringList cell = cameraSector.split(',');
  ASSERT_EQ(cell.size(), 2);
  EXPECT_EQ(
      Text("SecInf"),
      QString("Sector Info [Sector %1,%2]").arg(cell[0].toInt() - 1).arg(cell[1].toInt() - 1));

  // Lights and sounds list every one of the level.
  Key(Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
  size_t lights = 0;
  for (const Room& room : Lvl().Rooms) lights += room.Lights.size();
  EXPECT_EQ(static_cast<size_t>(Get<QTableView>("LightsList")->model()->rowCount()), lights);
  Choose("Mnu_View_Sounds");
  EXPECT_EQ(static_cast<size_t>(Get<QTableView>("SoundsList")->model()->rowCount()),
            Lvl().SoundSources.size());
}

// A list follows the edits that change it: an item added to the hall counts in its row at
// once, the filter kept; a list opened later is filled then, with the level as it is.
TEST_F(BrowseTest, TheRoomsListFollowsEdits) {
  Key(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClicks(Get<QLineEdit>("RoomsFilter"), "8 x 8");
  const QStringList rooms = Column("RoomsList", 0);
  ASSERT_EQ(rooms, QStringList({"0", "3"}));
  const int items = static_cast<int>(RoomColumn::Items);
  const QStringList before = Column("RoomsList", items);
  ClickSector(3, 3);
  Press("ItemAdd");
  EXPECT_EQ(Column("RoomsList", 0), rooms);
  EXPECT_EQ(Column("RoomsList", items),
            QStringList({QString::number(before[0].toInt() + 1), before[1]}));
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Column("RoomsList", items), before);
}

// Ctrl+G asks for a room number and goes there; + and - on the map step to the neighbours,
// and stop at the ends.
TEST_F(BrowseTest, CtrlGAndPlusMinusChooseRooms) {
  Key(Qt::Key_G, Qt::ControlModifier);
  auto* dialog = window_->findChild<QInputDialog*>("GoToRoomDialog");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(dialog->isVisible());
  auto* number = dialog->findChild<QSpinBox*>();
  ASSERT_NE(number, nullptr);
  number->setFocus();
  number->selectAll();
  QTest::keyClicks(number, "2");
  QTest::keyClick(number, Qt::Key_Return);
  EXPECT_EQ(CurrentRoomRow(), 2);
  EXPECT_EQ(Text("RoomInfo").left(6), "Room 2");

  ClickSector(2, 2);  // the map has the focus
  Key(Qt::Key_Plus);
  EXPECT_EQ(CurrentRoomRow(), 3);
  Key(Qt::Key_Plus);
  EXPECT_EQ(CurrentRoomRow(), 3);
  for (int i = 0; i < 5; ++i) Key(Qt::Key_Minus);
  EXPECT_EQ(CurrentRoomRow(), 0);
  // With Ctrl the keys still zoom the map, not step.
  Key(Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(CurrentRoomRow(), 0);
  EXPECT_GT(Get<RoomMapWidget>("RoomMap")->Zoom(), 0);
}

// The room painted red for the chosen room is where a click chooses it again, also zoomed in.
TEST_F(BrowseTest, AClickOnTheOverviewChoosesTheRoomUnderIt) {
  RightViewWidget* overview = Get<RightViewWidget>("RoomView3D");
  ChooseRoom(1);
  FramePass(1000);
  const QImage picture = overview->OverviewPicture();
  QPoint red(-1, -1);
  for (int y = 0; y < picture.height() && red.x() < 0; ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (picture.pixelColor(x, y) == QColor(255, 0, 0)) {
        red = QPoint(x + 1, y + 1);
        break;
      }
  ASSERT_GE(red.x(), 0);
  const int fitted = overview->CellPixels();
  EXPECT_GT(fitted,
            kOverviewCellPixels);  // the rooms fill the pane, larger than the picture's own size
  ChooseRoom(3);
  FramePass(2000);
  QTest::mouseClick(overview, Qt::LeftButton, {}, overview->WidgetPoint(red).toPoint());
  EXPECT_EQ(CurrentRoomRow(), 1);
  // The background left of the rooms chooses nothing.
  QPoint background = red;
  while (background.x() > 0 && picture.pixelColor(background) != Qt::white) background.rx()--;
  ASSERT_EQ(picture.pixelColor(background), Qt::white);
  QTest::mouseClick(overview, Qt::LeftButton, {}, overview->WidgetPoint(background).toPoint());
  EXPECT_EQ(CurrentRoomRow(), 1);

  ChooseRoom(3);
  QWheelEvent wheel(overview->WidgetPoint(red), overview->mapToGlobal(overview->WidgetPoint(red)),
                    {}, {0, 240}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
  QApplication::sendEvent(overview, &wheel);
  EXPECT_GT(overview->CellPixels(), fitted);
  // Zoomed about the pointer: the same picture pixel is still under it.
  EXPECT_EQ(overview->PicturePixel(overview->WidgetPoint(red)), red);
  QTest::mouseClick(overview, Qt::LeftButton, {}, overview->WidgetPoint(red).toPoint());
  EXPECT_EQ(CurrentRoomRow(), 1);
}

// "Boxes" draws the boxes' lines over the map and the box in the tooltip; unticked, the map
// is exactly as before.
TEST_F(BrowseTest, BoxesOverTheMapAndInTheTooltip) {
  ChooseRoom(3);
  ClickSector(3, 3);
  const QImage before = Get<RoomMapWidget>("RoomMap")->MapPicture();
  auto* boxes = Get<QCheckBox>("ShowBoxes");
  EXPECT_FALSE(boxes->isChecked());
  Press("ShowBoxes");
  const QImage with = Get<RoomMapWidget>("RoomMap")->MapPicture();
  EXPECT_NE(with, before);
  int white = 0;
  for (int y = 0; y < with.height(); ++y)
    for (int x = 0; x < with.width(); ++x) white += with.pixelColor(x, y) == Qt::white;
  EXPECT_GT(white, 0);
  // The selection's blue stays on top.
  EXPECT_EQ(with.pixelColor(10 * 3 + 4, 10 * 3 - 1), QColor(0, 0, 255));

  RoomMapWidget* map = Get<RoomMapWidget>("RoomMap");
  const QPoint at = map->WidgetPoint(QPoint(10 * 3 + 5, 10 * 3 + 5)).toPoint();
  QHelpEvent hover(QEvent::ToolTip, at, map->mapToGlobal(at));
  QApplication::sendEvent(map, &hover);
  EXPECT_TRUE(QToolTip::text().contains("Box 3, overlaps 1, 2")) << QToolTip::text().toStdString();

  Press("ShowBoxes");
  EXPECT_EQ(Get<RoomMapWidget>("RoomMap")->MapPicture(), before);
  QApplication::sendEvent(map, &hover);
  EXPECT_FALSE(QToolTip::text().contains("Box 3"));
}

// View > Map Legend lists every colour the map draws with, in the level's game's words.
TEST_F(BrowseTest, TheLegendShowsTheMapsColours) {
  Choose("Mnu_View_Legend");
  auto* table = Get<QTableWidget>("MapLegendTable");
  ASSERT_TRUE(table->isVisible());
  const std::vector<LegendEntry> legend = MapLegend(window_->Doc().GameVersion);
  ASSERT_EQ(static_cast<size_t>(table->rowCount()), legend.size());
  for (int row = 0; row < table->rowCount(); ++row) {
    const Rgb c = legend[static_cast<size_t>(row)].Colour;
    EXPECT_EQ(table->item(row, 0)->background().color(), QColor(c.R, c.G, c.B)) << row;
    EXPECT_EQ(table->item(row, 2)->text().toStdString(), legend[static_cast<size_t>(row)].Meaning);
  }
}

}  // namespace
}  // namespace slab
