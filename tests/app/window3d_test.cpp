// The main window with its 3D view, on a real X display (run under xvfb-run with Mesa): what
// the view shows at start, after an edit and where a click in it lands.
#include <QAccessible>
#include <QPointer>
#include <QStatusBar>
#include <QTableView>
#include <QToolTip>
#include <fstream>

#include "map/edit_commands.h"
#include "preview3d/gl/level_view.h"
#include "preview3d/gl/room3d_view.h"
#include "preview3d/room_faces.h"
#include "preview3d/room_framing.h"
#include "preview3d/scene_units.h"
#include "faulty_level.h"
#include "window_fixture.h"

namespace slab {
namespace {

class Window3DTest : public test::WindowFixture {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
    Start(true);
    // The X server makes the window active a moment after it shows; keys sent before then miss
    // the window's shortcuts (Ctrl+D, Delete), as a user's would.
    for (int i = 0; i < 100 && !window_->isActiveWindow(); ++i) {
      window_->activateWindow();
      QTest::qWait(20);
    }
  }

  // The next frame as the view shows it.
  QImage Frame() {
    FramePass(now_ += 100);
    return Get<Room3DView>("View3D")->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
  }
  static double ClearShare(const QImage& frame) {
    int64_t clear = 0;
    for (int y = 0; y < frame.height(); ++y)
      for (int x = 0; x < frame.width(); ++x) clear += frame.pixel(x, y) == qRgb(0, 0, 255);
    return static_cast<double>(clear) / (static_cast<double>(frame.width()) * frame.height());
  }

  // The share of pixels two frames of the same size do not have alike.
  static double ChangedShare(const QImage& a, const QImage& b) {
    int64_t changed = 0;
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < a.width(); ++x) changed += a.pixel(x, y) != b.pixel(x, y);
    return static_cast<double>(changed) / (static_cast<double>(a.width()) * a.height());
  }
  // The sector the Sector Info caption names, as the user reads it.
  std::pair<int, int> CaptionSector() {
    const QString caption = Text("SecInf");
    const qsizetype open = caption.indexOf("[Sector "), comma = caption.indexOf(',', open);
    if (open < 0 || comma < 0) return {-99, -99};
    return {caption.mid(open + 8, comma - open - 8).toInt(),
            caption.mid(comma + 1, caption.indexOf(']') - comma - 1).toInt()};
  }
  // A click at (x, y) of the 3D view.
  void ClickView(double x, double y) {
    QTest::mouseClick(Get<Room3DView>("View3D"), Qt::LeftButton, {},
                      QPoint(static_cast<int>(x), static_cast<int>(y)));
  }

  // The pixel of the view where a point of the level (world units, the game's Y down) is
  // drawn, as the camera last drew it.
  QPoint Pixel(int32_t x, int32_t y, int32_t z) {
    Room3DView* view = Get<Room3DView>("View3D");
    const auto at =
        ProjectPoint(view->Camera(), view->width(), view->height(), ScenePosition(x, y, z));
    EXPECT_TRUE(at);
    return at ? QPoint(static_cast<int>(at->X), static_cast<int>(at->Y)) : QPoint();
  }
  // The first cell of a level list's current row.
  QString CurrentRowText(const QString& list) {
    auto* table = Get<QTableView>(list);
    return table ? table->currentIndex().siblingAtColumn(0).data().toString() : QString();
  }
  // What the view's tooltip says with the pointer resting at `at`.
  QString HoverName(QPoint at) {
    QTest::mouseMove(Get<Room3DView>("View3D"), at);
    QTest::qWait(20);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  }

  int64_t now_ = 1000;
};

TEST_F(Window3DTest, TheViewShowsTheRoomAtStartAndEveryEditOnTheNextFrame) {
  OpenShowcase();
  ASSERT_TRUE(Get<Room3DView>("View3D")->isVisible());  // the 3D view, not the overview, shows
  EXPECT_LE(ClearShare(Frame()), 0.75);

  ClickSector(5, 5);  // the pushable block
  ClickLine("SecCurItem", 0);
  const QImage before = Frame();
  const int builds = Get<Room3DView>("View3D")->ItemBuilds();
  Key(Qt::Key_Right, Qt::ControlModifier);
  const QImage after = Frame();
  EXPECT_EQ(Get<Room3DView>("View3D")->ItemBuilds(), builds + 1);  // the items, not the whole scene
  EXPECT_NE(after, before);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Frame(), before);
}

TEST_F(Window3DTest, AClickOnAFloorInTheViewSelectsThatSector) {
  OpenShowcase();
  Frame();
  Room3DView* view = Get<Room3DView>("View3D");
  const RoomOffset offset = RoomTranslation(Lvl(), 0);
  const Sector& sector = Lvl().Rooms[0].SectorAt(4, 2);
  const double floorY = -static_cast<double>(static_cast<int8_t>(sector.Floor)) * 256 / 1024;
  const auto at = ProjectPoint(view->Camera(), view->width(), view->height(),
                               Vec3{offset.X + 4.5f, static_cast<float>(floorY), offset.Z + 2.5f});
  ASSERT_TRUE(at);
  QTest::mouseClick(view, Qt::LeftButton, {},
                    QPoint(static_cast<int>(at->X), static_cast<int>(at->Y)));
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 3,1]");
  // A screen reader hears from the view what it selected, sectors counted from 0.
  QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(view);
  EXPECT_EQ(heard->role(), QAccessible::Canvas);
  EXPECT_TRUE(heard->text(QAccessible::Description).startsWith("Room 0, sector 4,2: "))
      << heard->text(QAccessible::Description).toStdString();
}

// A click on an item chooses it: its sector is selected, its line of the sector's item list
// and the item panel show it; a click on a static mesh selects the sector it stands on. The
// pointer resting on either names it.
TEST_F(Window3DTest, AClickOnAnItemOrAStaticChoosesItAndThePointerNamesIt) {
  OpenShowcase();
  Choose("Mnu_View_Items");
  Choose("Mnu_View_Statics");
  Frame();
  const Item& block = Lvl().Items[test::kShowcaseBlock];
  const QPoint onBlock = Pixel(block.X, block.Y - 80, block.Z);
  const QString blockCaption =
      QString("Item %1 - ObjectID %2").arg(test::kShowcaseBlock).arg(block.ObjectID);
  EXPECT_TRUE(HoverName(onBlock).startsWith(
      QString("Item %1 - %2").arg(test::kShowcaseBlock).arg(block.ObjectID)))
      << HoverName(onBlock).toStdString();
  QTest::mouseClick(Get<Room3DView>("View3D"), Qt::LeftButton, {}, onBlock);
  EXPECT_EQ(Text("ItemID"), blockCaption);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 4,4]");
  auto* list = Get<QListWidget>("SecCurItem");
  ASSERT_GE(list->currentRow(), 0);
  EXPECT_EQ(list->currentItem()->text(), QString("Item %1").arg(test::kShowcaseBlock));
  EXPECT_EQ(CurrentRowText("ItemsList"), QString("Item %1").arg(test::kShowcaseBlock));

  const RoomStatic& plant = Lvl().Rooms[0].StaticMeshes[0];
  Frame();
  const QPoint onPlant = Pixel(plant.X, plant.Y - 80, plant.Z);
  const QString plantName = HoverName(onPlant);
  ASSERT_TRUE(plantName.startsWith("Static mesh 0 of room 0 - ")) << plantName.toStdString();
  QTest::mouseClick(Get<Room3DView>("View3D"), Qt::LeftButton, {}, onPlant);
  const RoomInfo& hall = Lvl().Rooms[0].Info;
  const int a = (plant.X - hall.X) / 1024, b = (plant.Z - hall.Z) / 1024;
  EXPECT_EQ(Text("SecInf"), QString("Sector Info [Sector %1,%2]").arg(a - 1).arg(b - 1));
  EXPECT_EQ(Get<QComboBox>("StaticID")->currentText(), plantName.section(" - ", 1));
  EXPECT_EQ(CurrentRowText("StaticsList"), "0");  // the list's first column: its index
}

// Delete where the click left the focus removes what the click chose.
TEST_F(Window3DTest, DeleteAfterAClickOnAnItemRemovesIt) {
  OpenShowcase();
  Frame();
  const Item& block = Lvl().Items[test::kShowcaseBlock];
  QTest::mouseClick(Get<Room3DView>("View3D"), Qt::LeftButton, {},
                    Pixel(block.X, block.Y - 80, block.Z));
  const size_t items = Lvl().Items.size();
  sink_.NextAnswer = Answer::Yes;  // with the actions that name it, if any
  Key(Qt::Key_Delete);
  EXPECT_EQ(Lvl().Items.size(), items - 1);
}

// A static mesh a click chose goes with Delete too, as one step Ctrl+Z brings back; a click on
// an item afterwards makes Delete mean the item again.
TEST_F(Window3DTest, DeleteAfterAClickOnAStaticMeshRemovesItAndUndoBringsItBack) {
  OpenShowcase();
  Frame();
  const std::vector<RoomStatic> statics = Lvl().Rooms[0].StaticMeshes;
  const RoomStatic plant = statics[0];
  QTest::mouseClick(Get<Room3DView>("View3D"), Qt::LeftButton, {},
                    Pixel(plant.X, plant.Y - 80, plant.Z));
  const size_t items = Lvl().Items.size();
  Key(Qt::Key_Delete);
  EXPECT_TRUE(sink_.Asked.empty());
  ASSERT_EQ(Lvl().Rooms[0].StaticMeshes.size(), statics.size() - 1);
  EXPECT_EQ(Lvl().Items.size(), items);
  EXPECT_TRUE(Get<QAction>("Mnu_Edit_Undo")->text().startsWith("Undo Remove Static Mesh"))
      << Get<QAction>("Mnu_Edit_Undo")->text().toStdString();
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Lvl().Rooms[0].StaticMeshes.size(), statics.size());

  // Deleted once, the static is no longer chosen: Delete again asks for an item.
  QTest::mouseClick(Get<Room3DView>("View3D"), Qt::LeftButton, {},
                    Pixel(plant.X, plant.Y - 80, plant.Z));
  Key(Qt::Key_Delete);
  Key(Qt::Key_Delete);
  EXPECT_EQ(Lvl().Rooms[0].StaticMeshes.size(), statics.size() - 1);
  EXPECT_EQ(window_->statusBar()->currentMessage(), kNoEntityStatus);
}

// On a real level too: Lara, where she stands in her room, is chosen by a click on her.
TEST_F(Window3DTest, AClickOnLaraInARealLevelChoosesHer) {
  SLAB_REQUIRE_REAL_LEVELS();
  for (const auto& path : test::RealLevels({"tr2/", "tr3/", "tr4/"})) {
    const std::filesystem::path copy = dir_ / path.filename();
    std::filesystem::copy_file(path, copy);
    ASSERT_TRUE(window_->OpenLevel(copy.string(), copy.filename().string()));
    int lara = -1;
    for (size_t i = 0; i < Lvl().Items.size() && lara < 0; ++i)
      if (Lvl().Items[i].ObjectID == 0) lara = static_cast<int>(i);
    if (lara < 0) continue;
    SCOPED_TRACE(path.string());
    const Item& item = Lvl().Items[static_cast<size_t>(lara)];
    ChooseRoom(item.Room);
    Frame();
    QTest::mouseClick(Get<Room3DView>("View3D"), Qt::LeftButton, {},
                      Pixel(item.X, item.Y - 400, item.Z));
    EXPECT_EQ(Text("ItemID"), QString("Item %1 - ObjectID 0").arg(lara));
    EXPECT_GE(Get<QListWidget>("SecCurItem")->currentRow(), 0);
    return;
  }
  GTEST_SKIP() << "no real level with Lara";
}

// On X11 desktops the toolkit's Delete sequence also holds Ctrl+D: in the item list, Ctrl+D
// must still duplicate, and only the Delete key remove.
TEST_F(Window3DTest, CtrlDInTheItemListDuplicatesAndDeleteRemoves) {
  OpenShowcase();
  ClickSector(2, 2);
  ClickLine("SecCurItem", 0);
  const size_t items = Lvl().Items.size();
  Key(Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(Lvl().Items.size(), items + 1);
  Key(Qt::Key_Delete);
  EXPECT_EQ(Lvl().Items.size(), items);
}

// An edit of the selected sector, or choosing the room already shown, leaves the camera where
// it is: the picture changes only where the level or the highlight did.
TEST_F(Window3DTest, EditsAndTheSameRoomAgainLeaveTheCameraWhereItIs) {
  OpenShowcase();
  Frame();
  ClickSector(4, 5);  // open floor in the hall
  const QImage chosen = Frame();
  EXPECT_LE(ClearShare(chosen), 0.75);

  Press("FloorWall");
  ASSERT_TRUE(Get<QCheckBox>("FloorWall")->isChecked());
  EXPECT_LT(ChangedShare(chosen, Frame()), 0.15);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Frame(), chosen);

  Press("FD20");
  ASSERT_TRUE(window_->Doc().Modified);
  EXPECT_LT(ChangedShare(chosen, Frame()), 0.15);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Frame(), chosen);

  ChooseRoom(0);  // the room shown: only the highlight goes
  ASSERT_EQ(Text("SecInf"), "Sectors");
  const QImage again = Frame();
  EXPECT_LT(ChangedShare(chosen, again), 0.15);
  EXPECT_LE(ClearShare(again), 0.75);
  // Another room is framed anew.
  ChooseRoom(3);
  EXPECT_GT(ChangedShare(again, Frame()), 0.3);
}

// Up and Down tilt the camera up to just short of looking straight down or up, never over:
// pressed on, the picture stays as it is.
TEST_F(Window3DTest, TheTiltStopsShortOfTheVertical) {
  OpenShowcase();
  ClickSector(4, 5);
  Frame();
  for (int key : {Qt::Key_Up, Qt::Key_Down}) {
    for (int i = 0; i < 40; ++i) Key(key);
    const QImage stopped = Frame();
    for (int i = 0; i < 40; ++i) Key(key);
    EXPECT_EQ(Frame(), stopped) << (key == Qt::Key_Up ? "up" : "down");
  }
}

// The view starts turned as the map is drawn: up on the map is away from the eye, right is
// right. The chosen sector, red in the middle of the view, shows how large a sector is there:
// a click one red square above it picks the sector above it on the map, one to its right the
// sector to its right.
TEST_F(Window3DTest, TheViewIsTurnedAsTheMapIsDrawn) {
  OpenShowcase();
  ClickSector(4, 5);  // the camera turns to it
  const QImage frame = Frame();
  ASSERT_EQ(CaptionSector(), std::pair(3, 4));
  int left = frame.width(), right = -1, top = frame.height(), bottom = -1;
  for (int y = 0; y < frame.height(); ++y)
    for (int x = 0; x < frame.width(); ++x) {
      const QColor c = frame.pixelColor(x, y);
      if (c.red() < 60 || c.green() > 20 || c.blue() > 20) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  ASSERT_GT(right, left);
  const double midX = (left + right + 1) / 2.0, midY = (top + bottom + 1) / 2.0;
  EXPECT_NEAR(midX / frame.width(), 0.5, 0.05);
  EXPECT_NEAR(midY / frame.height(), 0.5, 0.05);
  const double ratio = Get<Room3DView>("View3D")->width() / static_cast<double>(frame.width());

  ClickView(midX * ratio, (midY - (bottom - top + 1)) * ratio);
  EXPECT_EQ(CaptionSector(), std::pair(2, 4));
  ClickSector(4, 5);
  Frame();
  ClickView((midX + (right - left + 1)) * ratio, midY * ratio);
  EXPECT_EQ(CaptionSector(), std::pair(3, 5));
}

// A framed room is framed again when the view changes its shape, until the user moves the
// camera: then it stays where it was put.
TEST_F(Window3DTest, ACameraTheUserMovedStaysWhenTheViewChangesSize) {
  OpenShowcase();
  Frame();
  Room3DView* view = Get<Room3DView>("View3D");
  ClickView(1, 1);  // above the room: the view takes the focus, no sector is picked
  ASSERT_EQ(Text("SecInf"), "Sectors");
  for (int key : {Qt::Key_PageUp, Qt::Key_PageUp, Qt::Key_Left}) Key(key);
  const QImage moved = Frame();
  const QSize viewSize = view->size(), windowSize = window_->size();
  window_->resize(windowSize.width() - 200, windowSize.height());
  EXPECT_TRUE(QTest::qWaitFor([&] { return view->size() != viewSize; }));
  Frame();
  window_->resize(windowSize);
  ASSERT_TRUE(QTest::qWaitFor([&] { return view->size() == viewSize; }));
  EXPECT_EQ(Frame(), moved);
}

// The viewer window closes with Escape, as with its close box; a refused file opens none.
// References to nothing are drawn around: faces of a texture past the list, a model or static
// of a mesh past the mesh data, an item of a type without a model, a portal to no room.
TEST_F(Window3DTest, ALevelWithReferencesToNothingIsDrawnAroundThem) {
  test::DraftLevel d = test::FaultyDraft();
  d.MeshData[3 + 2 + 1 + 24 + 1 + 8 + 1 + 4] = 600;  // the crate's first face's texture
  d.MeshPointers[3] = 999999;                        // Lara's mesh
  d.StaticMeshDefs[1].Mesh = 40;
  d.Items[4].ObjectID = 300;
  d.Rooms[0].Sprites = {{0, 9}};
  const std::filesystem::path faulty = dir_ / "faulty.tr2";
  test::WriteBytes(faulty, test::ComposeClassic(d).Bytes);
  ASSERT_TRUE(window_->OpenLevel(faulty.string(), "faulty.tr2"));
  for (int room : {0, 1, 2, 3}) {
    ChooseRoom(room);
    EXPECT_LE(ClearShare(Frame()), 0.9) << "room " << room;
  }
  ChooseRoom(0);
  ClickSector(1, 1);  // over room 200
  EXPECT_LE(ClearShare(Frame()), 0.9);
}

TEST_F(Window3DTest, TheViewerClosesWithEscapeAndARefusedFileOpensNone) {
  QPointer<LevelView> view = OpenLevelView(QString::fromStdString(showcase_.string()), sink_);
  ASSERT_FALSE(view.isNull());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
  QTest::keyClick(view->Area(), Qt::Key_Escape);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(view.isNull());

  const std::filesystem::path half = dir_ / "half.tr2";
  std::vector<uint8_t> bytes = test::ReadFile(showcase_);
  bytes.resize(bytes.size() / 2);
  std::ofstream(half, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  const size_t shown = sink_.Shown.size();
  EXPECT_EQ(OpenLevelView(QString::fromStdString(half.string()), sink_), nullptr);
  EXPECT_EQ(sink_.Shown.size(), shown + 1);
  for (QWidget* window : QApplication::topLevelWidgets())
    EXPECT_FALSE(qobject_cast<LevelView*>(window) != nullptr && window->isVisible());
}

}  // namespace
}  // namespace slab
