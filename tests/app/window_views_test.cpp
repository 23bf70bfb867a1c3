// The views of the window as a user meets them on real levels of every game: the map's fit
// and its wheel zoom about the pointer, the overview's outlines, numbers and clicks, the map
// legend docked beside the map, Help > Keys, and what a screen reader hears of every control.
#include <QAccessible>
#include <QDockWidget>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScrollArea>
#include <QStatusBar>
#include <QTableWidget>
#include <QWheelEvent>
#include <algorithm>
#include <map>

#include "map/edit_commands.h"
#include "map/map_legend.h"
#include "map/overview.h"
#include "map/selection_description.h"
#include "window_fixture.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

class WindowViewsTest : public test::WindowFixture {
 protected:
  void SetUp() override { Start(false); }

  // The first level of each game's folder that opens.
  std::vector<fs::path> OnePerGame() {
    std::vector<fs::path> levels;
    for (const char* game : {"tr1/", "tr2/", "tr3/", "tr4/", "tr5/"})
      for (const fs::path& file : test::RealLevels({game}))
        if (test::LoadFile(file)->Result.Loaded &&
            !test::LoadFile(file)->Result.Lvl.Rooms.empty()) {
          levels.push_back(file);
          break;
        }
    return levels;
  }
  bool Open(const fs::path& file) {
    return window_->OpenLevel(file.string(), file.filename().string());
  }
  QAccessibleInterface* Heard(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
  }
  QString NameOf(QObject* object) {
    QAccessibleInterface* node = Heard(object);
    return node != nullptr ? node->text(QAccessible::Name) : QString();
  }
  // The control a screen reader names so.
  QWidget* Named(const QString& spoken) {
    for (QWidget* w : window_->findChildren<QWidget*>())
      if (NameOf(w) == spoken) return w;
    return nullptr;
  }
  // The columns of the map's pane that show some of the room (the rest is black).
  QRect PictureOnScreen() {
    auto* pane = Get<QScrollArea>("MapPane");
    const QImage shown = pane->viewport()->grab().toImage();
    QRect box;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x)
        if (shown.pixelColor(x, y) != Qt::black) box |= QRect(x, y, 1, 1);
    return box;
  }
  void CheckLegend();
  void Wheel(QWidget* widget, QPoint at, int notches) {
    QWheelEvent wheel(at, widget->mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
  }
};

// Fit fills the pane with the room (LEVEL1.PHD's 20 x 6 room 0 was drawn at a third of it),
// and the wheel zooms about the pointer: the sector under it stays under it, in each game.
TEST_F(WindowViewsTest, FitFillsThePaneAndTheWheelZoomsAboutThePointer) {
  SLAB_REQUIRE_REAL_LEVELS();
  const std::vector<fs::path> levels = OnePerGame();
  ASSERT_EQ(levels.size(), 5u);
  std::vector<fs::path> files = test::RealLevels({"tr1/lahm86__TRXInjectionTool__LEVEL1"});
  files.insert(files.end(), levels.begin(), levels.end());
  RoomMapWidget* map = Get<RoomMapWidget>("RoomMap");
  auto* pane = Get<QScrollArea>("MapPane");
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    ASSERT_TRUE(Open(file));
    map->setFocus();
    Key(Qt::Key_Plus, Qt::ControlModifier);
    Key(Qt::Key_0, Qt::ControlModifier);
    QApplication::processEvents();
    const QRect shown = PictureOnScreen();
    const QSize room = pane->viewport()->size();
    // One sector more would not fit: the room fills the pane in one direction.
    EXPECT_TRUE(shown.width() * 10 >= room.width() * 9 || shown.height() * 10 >= room.height() * 9)
        << shown.width() << "x" << shown.height() << " in " << room.width() << "x" << room.height();

    // The middle of a sector three quarters across the room: clicked, zoomed in there twice,
    // clicked again.
    const QPoint rough = map->PicturePixel(map->mapFrom(
        pane->viewport(), shown.topLeft() + QPoint(shown.width() * 3 / 4, shown.height() / 2)));
    const QPoint middle(rough.x() / 10 * 10 + 5, rough.y() / 10 * 10 + 5);
    const QPoint at = map->mapTo(pane->viewport(), map->WidgetPoint(middle).toPoint());
    const QPoint onMap = map->mapFrom(pane->viewport(), at);
    QTest::mouseClick(map, Qt::LeftButton, {}, onMap);
    const QString before = Text("SecInf");
    ASSERT_NE(before, "Sectors");
    const int fitted = map->SectorPixels();
    for (int notch = 0; notch < 2; ++notch) {
      Wheel(map, map->mapFrom(pane->viewport(), at), 1);
      QApplication::processEvents();
    }
    EXPECT_GT(map->SectorPixels(), fitted);
    QTest::mouseClick(map, Qt::LeftButton, {}, map->mapFrom(pane->viewport(), at));
    EXPECT_EQ(Text("SecInf"), before);
    Wheel(map, map->mapFrom(pane->viewport(), at), -1);
    QTest::mouseClick(map, Qt::LeftButton, {}, map->mapFrom(pane->viewport(), at));
    EXPECT_EQ(Text("SecInf"), before);
  }
}

// The overview outlines every room and numbers the one under the pointer; in assault.tr2 a
// click picks the room shown there, not the large room 38 high above it, and clicking on
// steps through every room stacked there.
TEST_F(WindowViewsTest, TheOverviewOutlinesNumbersAndPicksTheRoomSeen) {
  SLAB_REQUIRE_REAL_LEVELS();
  std::vector<fs::path> files = test::RealLevels({"tr2/Popov72__TRN__assault"});
  ASSERT_EQ(files.size(), 1u);
  const std::vector<fs::path> levels = OnePerGame();
  files.insert(files.end(), levels.begin(), levels.end());
  RightViewWidget* overview = Get<RightViewWidget>("RoomView3D");
  int64_t now = 1000;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    const bool assault = file.filename().string().find("assault") != std::string::npos;
    ASSERT_TRUE(Open(file));
    FramePass(now += 1000);
    const QImage picture = overview->OverviewPicture();
    int edges = 0;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) edges += picture.pixelColor(x, y) == Qt::black;
    EXPECT_GE(edges, 4 * 4);

    // The cell with the most rooms on it, none of them the one chosen now; in assault one where
    // room 38 lies over a room with a floor of its own.
    QPoint cell(-1, -1);
    std::vector<int> stack;
    for (int y = 2; y < kOverviewSize; y += kOverviewCellPixels)
      for (int x = 1; x < kOverviewSize; x += kOverviewCellPixels) {
        const std::vector<int> here = OverviewStack(Lvl(), x, y);
        const auto has = [&](int room) {
          return std::find(here.begin(), here.end(), room) != here.end();
        };
        if (here.size() <= stack.size() || has(CurrentRoomRow())) continue;
        if (assault && (here.front() == 38 || !has(38))) continue;
        stack = here;
        cell = QPoint(x, y);
      }
    ASSERT_FALSE(stack.empty());
    const QPoint at = overview->WidgetPoint(cell).toPoint();
    QMouseEvent move(QEvent::MouseMove, at, overview->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(overview, &move);
    auto* number = Get<QLabel>("OverviewRoomNumber");
    EXPECT_TRUE(number->isVisible());
    const QString seen = number->text();
    EXPECT_EQ(seen, QString("Room %1").arg(stack.front()));
    // Clicks there choose the room named, then each one stacked on it, then the first again.
    QStringList chosen;
    for (size_t click = 0; click <= stack.size(); ++click) {
      QTest::mouseClick(overview, Qt::LeftButton, {}, at);
      chosen << Text("RoomInfo").section(" - ", 0, 0);
    }
    QStringList expected;
    for (int room : stack) expected << QString("Room %1").arg(room);
    expected << expected.front();
    EXPECT_EQ(chosen, expected);
    EXPECT_EQ(chosen.front(), seen);
    if (assault) {
      EXPECT_NE(seen, "Room 38");
      EXPECT_GE(stack.size(), 2u);
    }
  }
}

// View > Map Legend opens docked beside the map, never over it, and every swatch's text reads
// on its colour (the blue and black ones had black text).
TEST_F(WindowViewsTest, TheLegendIsDockedBesideTheMapAndEverySwatchReads) {
  OpenShowcase();
  Choose("Mnu_View_Legend");
  CheckLegend();
  // The names of the function squares follow the game; the colours read in each.
  for (const fs::path& file : OnePerGame()) {
    SCOPED_TRACE(file.filename().string());
    ASSERT_TRUE(Open(file));
    CheckLegend();
  }
}

void WindowViewsTest::CheckLegend() {
  QApplication::processEvents();
  auto* dock = Get<QDockWidget>("MapLegendDock");
  ASSERT_TRUE(dock->isVisible());
  EXPECT_FALSE(dock->isFloating());
  const QRect mapArea(Get<QWidget>("SectorMap")->mapToGlobal(QPoint(0, 0)),
                      Get<QWidget>("SectorMap")->size());
  const QRect legendArea(dock->mapToGlobal(QPoint(0, 0)), dock->size());
  EXPECT_FALSE(mapArea.intersects(legendArea));

  auto* table = Get<QTableWidget>("MapLegendTable");
  const std::vector<LegendEntry> legend = MapLegend(window_->Doc().GameVersion);
  ASSERT_EQ(static_cast<size_t>(table->rowCount()), legend.size());
  for (int row = 0; row < table->rowCount(); ++row)
    EXPECT_EQ(table->item(row, 2)->text().toStdString(), legend[static_cast<size_t>(row)].Meaning);
  table->setCurrentCell(0, 0);  // a chosen row must not hide its swatch either
  for (int row = 0; row < table->rowCount(); ++row) {
    table->scrollToItem(table->item(row, 0));
    const QImage shown = table->viewport()->grab().toImage();
    const qreal ratio = shown.devicePixelRatio();
    const QColor swatch = table->item(row, 0)->background().color();
    const Rgb back{static_cast<uint8_t>(swatch.red()), static_cast<uint8_t>(swatch.green()),
                   static_cast<uint8_t>(swatch.blue())};
    const QRect cell =
        table->visualItemRect(table->item(row, 0)).intersected(table->viewport()->rect());
    int fill = 0, legible = 0;
    for (int y = static_cast<int>(cell.top() * ratio); y < cell.bottom() * ratio; ++y)
      for (int x = static_cast<int>(cell.left() * ratio); x < cell.right() * ratio; ++x) {
        const QColor c = shown.pixelColor(x, y);
        const Rgb p{static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                    static_cast<uint8_t>(c.blue())};
        fill += p == back;
        legible += ContrastRatio(p, back) >= 4.5;
      }
    EXPECT_GT(fill, cell.width() * cell.height() / 2) << row;
    EXPECT_GT(legible, 5) << "row " << row << ": its text does not read on its colour";
  }
}

// Help > Keys also lists the 3D viewer window's keys and Enter in the lists.
TEST_F(WindowViewsTest, HelpKeysListsTheViewersKeysAndEnterInTheLists) {
  Choose("Mnu_Help_Keys");
  const QString text = Get<QLabel>("KeysText")->text();
  EXPECT_TRUE(text.contains("The 3D viewer window"));
  for (const char* what : {"Fly forward", "Rise", "Sink", "Close the viewer", "Look around"})
    EXPECT_TRUE(text.contains(what)) << what;
  const QString enter = QKeySequence(Qt::Key_Return).toString(QKeySequence::NativeText);
  EXPECT_TRUE(text.contains("<b>" + enter + " or double-click</b>"));
  EXPECT_TRUE(text.contains("Go to the row's room and sector"));
  // The main window's 3D view: its mouse, F and Home.
  for (const char* what :
       {"Left drag in the 3D view", "Wheel in the 3D view", "Right button held with W, A, S, D",
        "Frame the selection", "Frame the whole current room", "the camera stays"})
    EXPECT_TRUE(text.contains(what)) << what;
}

// Every visible control is heard by a name of its own: never a bare number, never its value,
// never the same name as another control; the panels' controls by the names a person needs,
// values tied to their labels, the map and the 3D view telling what is selected, status
// messages heard as they come. On a level of each game.
TEST_F(WindowViewsTest, EveryControlIsHeardByANameOfItsOwn) {
  SLAB_REQUIRE_REAL_LEVELS();
  // The docks open as tabs, so their tab bars show too.
  Key(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
  Key(Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
  Key(Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
  std::vector<fs::path> levels = OnePerGame();
  ASSERT_EQ(levels.size(), 5u);
  for (const fs::path& file : levels) {
    SCOPED_TRACE(file.filename().string());
    ASSERT_TRUE(Open(file));
    ClickSector(1, 1);
    // Typed filters show their clear buttons.
    QTest::keyClicks(Get<QLineEdit>("RoomsFilter"), "1");
    QTest::keyClicks(Get<QLineEdit>("ItemFilter"), "1");
    std::map<QString, QWidget*> heard;
    int controls = 0, tabBars = 0;
    for (QWidget* w : window_->findChildren<QWidget*>()) {
      if (!w->isVisible()) continue;
      QAccessibleInterface* node = Heard(w);
      if (node == nullptr) continue;
      const QAccessible::Role role = node->role();
      const bool control = role == QAccessible::PushButton || role == QAccessible::CheckBox ||
                           role == QAccessible::ComboBox || role == QAccessible::EditableText ||
                           role == QAccessible::List || role == QAccessible::Table ||
                           role == QAccessible::Tree || role == QAccessible::PageTabList ||
                           role == QAccessible::SpinBox ||
                           (role == QAccessible::ScrollBar &&
                            !qobject_cast<QAbstractScrollArea*>(w->parentWidget()->parentWidget()));
      if (!control) continue;
      ++controls;
      tabBars += role == QAccessible::PageTabList;
      const QString name = node->text(QAccessible::Name);
      const std::string what =
          w->objectName().toStdString() + " heard as \"" + name.toStdString() + "\"";
      EXPECT_FALSE(name.trimmed().isEmpty()) << what;
      EXPECT_FALSE(QRegularExpression("^\\s*-?\\d+\\s*$").match(name).hasMatch()) << what;
      if (role == QAccessible::ComboBox) {
        EXPECT_NE(name, node->text(QAccessible::Value)) << what;
      }
      auto [it, fresh] = heard.emplace(name, w);
      EXPECT_TRUE(fresh) << what << ", as " << it->second->objectName().toStdString() << " is";
    }
    EXPECT_GT(controls, 30);
    EXPECT_GE(tabBars, 1);

    EXPECT_EQ(Named("Item type"), Get<QWidget>("ItemDesc"));
    EXPECT_EQ(Named("Static mesh to add"), Get<QWidget>("CurMesh"));
    EXPECT_EQ(Named("Static Mesh ID"), Get<QWidget>("StaticID"));
    for (int bit = 1; bit <= 5; ++bit) {
      EXPECT_EQ(Named(QString("Activation bit %1").arg(bit)),
                Get<QWidget>(QString("ActiveFlags_%1").arg(bit - 1)));
      EXPECT_EQ(Named(QString("Trigger mask bit %1").arg(bit)),
                Get<QWidget>(QString("TriggerFlags_%1").arg(bit - 1)));
    }
    // The Doors values with their labels, which the reader also finds as their labels.
    for (auto [object, label] :
         {std::pair{"DoorSide", "Side"}, {"DoorAbove", "Above"}, {"DoorBelow", "Below"}}) {
      auto* value = Get<QLabel>(object);
      EXPECT_EQ(NameOf(value), QString("%1: %2").arg(label, value->text()));
      QStringList labels;  // its label, and the "Doors" group around it
      for (const auto& [by, relation] : Heard(value)->relations(QAccessible::Label))
        labels << by->text(QAccessible::Name);
      EXPECT_TRUE(labels.contains(label)) << object << ": " << labels.join(", ").toStdString();
    }
    // The map and the 3D view's pane say what is selected, sectors counted from 0.
    const QString selected =
        QString::fromStdString(SelectionDescription(Lvl(), CurrentRoomRow(), GridCell{1, 1}));
    EXPECT_TRUE(selected.startsWith(QString("Room %1, sector 1,1: ").arg(CurrentRoomRow())))
        << selected.toStdString();
    EXPECT_EQ(Heard(Get<QWidget>("RoomMap"))->text(QAccessible::Description), selected);
    EXPECT_EQ(Heard(Get<QWidget>("RoomMap"))->role(), QAccessible::Canvas);
    EXPECT_EQ(Heard(Get<QWidget>("RoomView3D"))->role(), QAccessible::Canvas);
  }

  // A status message becomes the status bar's name, so it is heard when it comes (the name's
  // change is announced to a listening screen reader, with an alert) and can be read again.
  ClickSector(1, 1);
  Press("ItemRotate");  // nothing chosen: the bar says why
  EXPECT_EQ(NameOf(window_->statusBar()), kNoEntityStatus);
}

}  // namespace
}  // namespace slab
