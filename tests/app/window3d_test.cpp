// The main window with its 3D view, on a real X display (run under xvfb-run with Mesa): what
// the view shows at start, after an edit and where a click in it lands.
#include <QAccessible>
#include <QMouseEvent>
#include <QPointer>
#include <QStatusBar>
#include <QTableView>
#include <QToolTip>
#include <QWheelEvent>
#include <fstream>

#include "map/edit_commands.h"
#include "preview3d/camera_moves.h"
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

  // The next frame as the view shows it, once any glide the last step or this frame's pass
  // began has ended.
  QImage Frame() {
    FramePass(now_ += kGlideMs + 50);
    clock_.Now = now_ += kGlideMs + 50;
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
  Room3DView* View() { return Get<Room3DView>("View3D"); }
  std::array<std::array<float, 4>, 4> ViewMatrixNow() {
    return OrbitViewMatrix(View()->Camera()).M;
  }
  // Where a scene point (sector units, Y up) shows in the view, or far off when behind the eye.
  QPointF Shown(Vec3 point) {
    const auto at = ProjectPoint(View()->Camera(), View()->width(), View()->height(), point);
    return at ? QPointF(at->X, at->Y) : QPointF(-1e6, -1e6);
  }
  bool Inside(QPointF at) {
    return at.x() >= 0 && at.y() >= 0 && at.x() <= View()->width() && at.y() <= View()->height();
  }
  // A drag with `button` from `from` by `by`, in steps as a hand moves.
  void Drag(Qt::MouseButton button, QPoint from, QPoint by) {
    QTest::mousePress(View(), button, {}, from);
    for (int step = 1; step <= 5; ++step) {
      QMouseEvent move(QEvent::MouseMove, QPointF(from + by * step / 5),
                       View()->mapToGlobal(QPointF(from + by * step / 5)), Qt::NoButton, button,
                       Qt::NoModifier);
      QApplication::sendEvent(View(), &move);
    }
    QTest::mouseRelease(View(), button, {}, from + by);
  }
  void Wheel(QPoint at, int delta) {
    QWheelEvent wheel(QPointF(at), View()->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(View(), &wheel);
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

// A click in the view picks and never moves the camera; a left drag turns it about the point it
// looks at; a right drag slides it, turned as before.
TEST_F(Window3DTest, AClickPicksWithoutMovingTheCameraAndDragsTurnAndSlideIt) {
  OpenShowcase();
  Frame();
  const auto before = ViewMatrixNow();
  const RoomOffset hall = RoomTranslation(Lvl(), 0);
  const Sector& sector = Lvl().Rooms[0].SectorAt(4, 2);
  const QPointF on = Shown({hall.X + 4.5f, static_cast<float>(FloorHeight(sector)), hall.Z + 2.5f});
  ClickView(on.x(), on.y());
  ASSERT_EQ(Text("SecInf"), "Sector Info [Sector 3,1]");
  Frame();
  EXPECT_EQ(ViewMatrixNow(), before);

  const OrbitCamera still = View()->Camera();
  const QImage picture = Frame();
  Drag(Qt::LeftButton, QPoint(100, 100), QPoint(80, 30));
  const OrbitCamera turned = View()->Camera();
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 3,1]");  // a drag is no click
  EXPECT_NE(turned.AngleA, still.AngleA);
  EXPECT_GT(turned.AngleB, still.AngleB);  // dragged down: the camera rises
  EXPECT_EQ(std::tuple(turned.TargetX, turned.TargetY, turned.TargetZ, turned.Distance),
            std::tuple(still.TargetX, still.TargetY, still.TargetZ, still.Distance));
  EXPECT_GT(ChangedShare(picture, Frame()), 0.2);

  // Dragged down hard, the camera stops short of straight down: never over the top.
  Drag(Qt::LeftButton, QPoint(100, 10), QPoint(0, 600));
  EXPECT_LE(View()->Camera().AngleB, kMaxTilt);

  const OrbitCamera beforeSlide = View()->Camera();
  const QPointF targetAt =
      Shown({static_cast<float>(beforeSlide.TargetX), static_cast<float>(beforeSlide.TargetY),
             static_cast<float>(beforeSlide.TargetZ)});
  Drag(Qt::RightButton, QPoint(200, 200), QPoint(60, 0));
  const OrbitCamera slid = View()->Camera();
  EXPECT_EQ(std::tuple(slid.AngleA, slid.AngleB, slid.Distance),
            std::tuple(beforeSlide.AngleA, beforeSlide.AngleB, beforeSlide.Distance));
  // The point looked at before went along with the pointer.
  const QPointF movedTo =
      Shown({static_cast<float>(beforeSlide.TargetX), static_cast<float>(beforeSlide.TargetY),
             static_cast<float>(beforeSlide.TargetZ)});
  EXPECT_NEAR(movedTo.x() - targetAt.x(), 60, 1.5);
  EXPECT_NEAR(movedTo.y(), targetAt.y(), 1.5);
}

// A wheel step moves the camera toward the floor under the pointer, which stays under it.
TEST_F(Window3DTest, TheWheelMovesTowardThePointUnderThePointer) {
  OpenShowcase();
  Frame();
  const RoomOffset hall = RoomTranslation(Lvl(), 0);
  const Sector& sector = Lvl().Rooms[0].SectorAt(2, 6);
  const Vec3 floor{hall.X + 2.5f, static_cast<float>(FloorHeight(sector)), hall.Z + 6.5f};
  const QPointF at = Shown(floor);
  ASSERT_TRUE(Inside(at));
  auto eyeTo = [&] {
    const OrbitCamera& c = View()->Camera();
    return std::hypot(c.EyeX - floor.X, c.EyeY - floor.Y, c.EyeZ - floor.Z);
  };
  const double far = eyeTo();
  const QString caption = Text("SecInf");
  Wheel(at.toPoint(), 120);
  Frame();
  EXPECT_LT(eyeTo(), far * 0.9);
  const QPointF after = Shown(floor);
  EXPECT_NEAR(after.x(), at.x(), 1.5);
  EXPECT_NEAR(after.y(), at.y(), 1.5);
  EXPECT_EQ(Text("SecInf"), caption);  // the wheel selects nothing
  Wheel(at.toPoint(), -120);
  EXPECT_NEAR(eyeTo(), far, 1e-3 * far);
}

// Choosing a sector on the map turns the camera to it in a short glide, as far off and as steep
// as before; with "3D View Follows Selection" off the camera stays where it is.
TEST_F(Window3DTest, AMapClickGlidesToTheSectorUnlessTheViewFollowsNoSelection) {
  OpenShowcase();
  Frame();
  const OrbitCamera start = View()->Camera();
  ClickSector(2, 6);
  FramePass(now_ += 100);  // mid-glide
  View()->grabFramebuffer();
  const OrbitCamera midway = View()->Camera();
  Frame();
  const OrbitCamera there = View()->Camera();
  const auto point = SectorPoint(Lvl(), 0, 2, 6);
  ASSERT_TRUE(point);
  EXPECT_NEAR(there.TargetX, point->X, 1e-4);
  EXPECT_NEAR(there.TargetZ, point->Z, 1e-4);
  EXPECT_EQ(std::tuple(there.Distance, there.AngleA, there.AngleB),
            std::tuple(start.Distance, start.AngleA, start.AngleB));
  EXPECT_GT(std::abs(midway.TargetX - start.TargetX) + std::abs(midway.TargetZ - start.TargetZ),
            0.01);
  EXPECT_GT(std::abs(midway.TargetX - there.TargetX) + std::abs(midway.TargetZ - there.TargetZ),
            0.01);

  // Another room chosen in the room list: the camera turns to its middle, as far off as before.
  ChooseRoom(3);
  Frame();
  const OrbitCamera yard = View()->Camera();
  const RoomInfo& yardInfo = Lvl().Rooms[3].Info;
  EXPECT_NEAR(yard.TargetX, yardInfo.X / 1024.0 + Lvl().Rooms[3].NumXSectors / 2.0, 1e-4);
  EXPECT_NEAR(yard.TargetZ, yardInfo.Z / 1024.0 + Lvl().Rooms[3].NumZSectors / 2.0, 1e-4);
  EXPECT_EQ(std::tuple(yard.Distance, yard.AngleB), std::tuple(start.Distance, start.AngleB));
  ChooseRoom(0);
  Frame();

  auto* follows = Get<QAction>("Mnu_View_Follows3D");
  ASSERT_TRUE(follows->isChecked());
  Choose("Mnu_View_Follows3D");
  ASSERT_FALSE(follows->isChecked());
  const auto fixed = ViewMatrixNow();
  ClickSector(5, 2);
  ASSERT_EQ(CaptionSector(), std::pair(4, 1));
  Frame();
  EXPECT_EQ(ViewMatrixNow(), fixed);
  ChooseRoom(3);
  Frame();
  EXPECT_EQ(ViewMatrixNow(), fixed);
}

// F frames what was chosen: an item the camera had been slid away from comes back to the
// middle of the view. Home frames the whole room.
TEST_F(Window3DTest, FFramesTheChosenItemAndHomeTheRoom) {
  OpenShowcase();
  Frame();
  const Item& block = Lvl().Items[test::kShowcaseBlock];
  QTest::mouseClick(View(), Qt::LeftButton, {}, Pixel(block.X, block.Y - 80, block.Z));
  ASSERT_EQ(Text("ItemID"),
            QString("Item %1 - ObjectID %2").arg(test::kShowcaseBlock).arg(block.ObjectID));
  Drag(Qt::RightButton, QPoint(300, 300), QPoint(-250, -150));
  const Vec3 onBlock = ScenePosition(block.X, block.Y - 256, block.Z);
  const QPointF away = Shown(onBlock);
  const auto middle = [&](QPointF at) {
    return at.x() > View()->width() / 3.0 && at.x() < View()->width() * 2 / 3.0 &&
           at.y() > View()->height() / 3.0 && at.y() < View()->height() * 2 / 3.0;
  };
  ASSERT_FALSE(middle(away));
  Key(Qt::Key_F);  // the focus is in the view, where the click left it
  Frame();
  EXPECT_TRUE(middle(Shown(onBlock))) << Shown(onBlock).x() << "," << Shown(onBlock).y();

  for (int i = 0; i < 6; ++i) Key(Qt::Key_PageUp);
  Key(Qt::Key_Home);
  Frame();
  const RoomInfo& hall = Lvl().Rooms[0].Info;
  for (int corner = 0; corner < 8; ++corner) {
    const QPointF at =
        Shown(ScenePosition(hall.X + ((corner & 1) ? Lvl().Rooms[0].NumXSectors * 1024 : 0),
                            (corner & 2) ? hall.YTop : hall.YBottom,
                            hall.Z + ((corner & 4) ? Lvl().Rooms[0].NumZSectors * 1024 : 0)));
    EXPECT_TRUE(Inside(at)) << "corner " << corner;
  }
}

// Home in the tallest room of a real level: every corner of the room is in view, none cropped.
TEST_F(Window3DTest, HomeShowsAllOfTheTallestRoomOfARealLevel) {
  SLAB_REQUIRE_REAL_LEVELS();
  const auto levels = test::RealLevels({"tr4/Popov72__TRN__angkor1"});
  if (levels.empty()) GTEST_SKIP() << "angkor1.tr4 is not among the real levels";
  const std::filesystem::path copy = dir_ / levels[0].filename();
  std::filesystem::copy_file(levels[0], copy);
  ASSERT_TRUE(window_->OpenLevel(copy.string(), copy.filename().string()));
  int tallest = 0;
  for (size_t r = 0; r < Lvl().Rooms.size(); ++r) {
    const RoomInfo& info = Lvl().Rooms[r].Info;
    const RoomInfo& best = Lvl().Rooms[static_cast<size_t>(tallest)].Info;
    if (info.YBottom - info.YTop > best.YBottom - best.YTop) tallest = static_cast<int>(r);
  }
  ChooseRoom(tallest);
  Frame();
  ClickView(2, 2);  // the focus in the view
  for (int i = 0; i < 6; ++i) Key(Qt::Key_PageUp);
  Key(Qt::Key_Left);
  Key(Qt::Key_Home);
  Frame();
  const Room& room = Lvl().Rooms[static_cast<size_t>(tallest)];
  for (int corner = 0; corner < 8; ++corner) {
    const QPointF at =
        Shown(ScenePosition(room.Info.X + ((corner & 1) ? room.NumXSectors * 1024 : 0),
                            (corner & 2) ? room.Info.YTop : room.Info.YBottom,
                            room.Info.Z + ((corner & 4) ? room.NumZSectors * 1024 : 0)));
    EXPECT_TRUE(Inside(at)) << "room " << tallest << ", corner " << corner;
  }
}

// With the right button held, W flies forward along the line of sight and S back.
TEST_F(Window3DTest, TheRightButtonWithWAndSFlies) {
  OpenShowcase();
  Frame();
  const OrbitCamera before = View()->Camera();
  QTest::mousePress(View(), Qt::RightButton, {}, QPoint(50, 50));
  QTest::keyClick(View(), Qt::Key_W);
  QTest::keyClick(View(), Qt::Key_W);
  QTest::mouseRelease(View(), Qt::RightButton, {}, QPoint(50, 50));
  const OrbitCamera flown = View()->Camera();
  const double moved =
      std::hypot(flown.EyeX - before.EyeX, flown.EyeY - before.EyeY, flown.EyeZ - before.EyeZ);
  EXPECT_NEAR(moved, 0.4, 1e-3);
  EXPECT_EQ(std::tuple(flown.AngleA, flown.AngleB), std::tuple(before.AngleA, before.AngleB));
  // Forward: nearer the point looked at before.
  EXPECT_LT(std::hypot(flown.EyeX - before.TargetX, flown.EyeY - before.TargetY,
                       flown.EyeZ - before.TargetZ),
            before.Distance);
  // Without the button W is no camera key.
  QTest::keyClick(View(), Qt::Key_W);
  EXPECT_EQ(View()->Camera().EyeX, flown.EyeX);
}

// The selected switch trigger's lines, as the view shows them, end where the switch, the door
// and the camera it names are drawn; a chosen door has a line from the switch's sector.
TEST_F(Window3DTest, ATriggersLinesEndWhereItsTargetsAreDrawn) {
  OpenShowcase();
  Frame();
  auto yellowNear = [&](const QImage& frame, QPointF at) {
    const double ratio = frame.width() / static_cast<double>(View()->width());
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx) {
        const QPoint p(static_cast<int>(at.x() * ratio) + dx,
                       static_cast<int>(at.y() * ratio) + dy);
        if (!frame.rect().contains(p)) continue;
        const QColor c = frame.pixelColor(p);
        if (c.red() > 200 && c.green() > 200 && c.blue() < 80) return true;
      }
    return false;
  };
  const RoomOffset hall = RoomTranslation(Lvl(), 0);
  const Vec3 switchFloor{
      hall.X + 2.5f, static_cast<float>(FloorHeight(Lvl().Rooms[0].SectorAt(2, 5))), hall.Z + 5.5f};
  const Item& sw = Lvl().Items[test::kShowcaseSwitch];
  const Item& door = Lvl().Items[test::kShowcaseDoor];
  const Camera& camera = Lvl().Cameras[0];
  const std::vector<Vec3> targets{ScenePosition(sw.X, sw.Y - 512, sw.Z),
                                  ScenePosition(door.X, door.Y - 512, door.Z),
                                  ScenePosition(camera.X, camera.Y, camera.Z)};
  const QImage before = Frame();
  for (const Vec3& target : targets) EXPECT_FALSE(yellowNear(before, Shown(target)));

  ClickSector(2, 5);
  const QImage frame = Frame();
  EXPECT_TRUE(yellowNear(frame, Shown(switchFloor)));
  for (size_t i = 0; i < targets.size(); ++i) {
    ASSERT_TRUE(Inside(Shown(targets[i]))) << i;
    EXPECT_TRUE(yellowNear(frame, Shown(targets[i]))) << "target " << i;
  }

  ClickSector(6, 4);  // the door's sector: no trigger of its own
  ClickLine("SecCurItem", 0);
  ASSERT_TRUE(Text("ItemID").startsWith(QString("Item %1 ").arg(test::kShowcaseDoor)));
  const QImage chosen = Frame();
  EXPECT_TRUE(yellowNear(chosen, Shown(targets[1])));
  EXPECT_TRUE(yellowNear(chosen, Shown(switchFloor)));
  EXPECT_FALSE(
      yellowNear(chosen, Shown(targets[2])));  // the camera is the switch's, not the door's
}

// With the whole level drawn, a click on the floor of another room chooses that room and the
// sector, and the camera stays where it is.
TEST_F(Window3DTest, AClickOnAnotherRoomsFloorChoosesItWithoutMovingTheCamera) {
  OpenShowcase();
  Frame();
  const Room& corridor = Lvl().Rooms[1];
  const RoomOffset offset = RoomTranslation(Lvl(), 1);
  QPointF on;
  QString heard;
  for (int a = 1; a < corridor.NumXSectors - 1 && heard.isEmpty(); ++a)
    for (int b = 1; b < corridor.NumZSectors - 1 && heard.isEmpty(); ++b) {
      if (!HasFloor(corridor.SectorAt(a, b))) continue;
      on = Shown({offset.X + a + 0.5f, static_cast<float>(FloorHeight(corridor.SectorAt(a, b))),
                  offset.Z + b + 0.5f});
      if (Inside(on) && HoverName(on.toPoint()).startsWith("Room 1, Sector "))
        heard = HoverName(on.toPoint());
    }
  ASSERT_FALSE(heard.isEmpty()) << "no floor of the corridor in view";
  const auto before = ViewMatrixNow();
  ClickView(on.x(), on.y());
  EXPECT_EQ(CurrentRoomRow(), 1);
  EXPECT_TRUE(Text("SecInf").startsWith("Sector Info [Sector ")) << Text("SecInf").toStdString();
  Frame();
  EXPECT_EQ(ViewMatrixNow(), before);
}

// View > Whole Level draws the rooms around the current one; off, only the current room (and
// its neighbours with DrawDoors) shows, and a click on where another room was finds nothing.
TEST_F(Window3DTest, WholeLevelOffShowsTheCurrentRoomAlone) {
  OpenShowcase();
  Frame();
  ClickView(2, 2);  // the focus in the view, over no floor
  for (int i = 0; i < 12; ++i) Key(Qt::Key_PageDown);
  const QImage whole = Frame();
  auto* wholeLevel = Get<QAction>("Mnu_View_WholeLevel");
  ASSERT_TRUE(wholeLevel->isChecked());
  Choose("Mnu_View_WholeLevel");
  const QImage alone = Frame();
  EXPECT_GT(ClearShare(alone), ClearShare(whole) + 0.05);
  Press("DrawDoors");
  EXPECT_LT(ClearShare(Frame()), ClearShare(alone));
  Press("DrawDoors");
  Choose("Mnu_View_WholeLevel");
  EXPECT_EQ(Frame(), whole);
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
