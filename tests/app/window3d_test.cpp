// The main window with its 3D view, on a real X display (run under xvfb-run with Mesa): what
// the view shows at start, after an edit and where a click in it lands.
#include "preview3d/gl/room3d_view.h"
#include "preview3d/room_faces.h"
#include "preview3d/room_framing.h"
#include "window_fixture.h"

namespace slab {
namespace {

class Window3DTest : public test::WindowFixture {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
    Start(true);
  }

  // The next frame as the view shows it.
  QImage Frame() {
    window_->FrameTick(now_ += 100);
    return window_->View3D()->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
  }
  static double ClearShare(const QImage& frame) {
    int64_t clear = 0;
    for (int y = 0; y < frame.height(); ++y)
      for (int x = 0; x < frame.width(); ++x) clear += frame.pixel(x, y) == qRgb(0, 0, 255);
    return static_cast<double>(clear) / (static_cast<double>(frame.width()) * frame.height());
  }

  int64_t now_ = 1000;
};

TEST_F(Window3DTest, TheViewShowsTheRoomAtStartAndEveryEditOnTheNextFrame) {
  OpenShowcase();
  ASSERT_TRUE(window_->RightViewIs3D());
  EXPECT_LE(ClearShare(Frame()), 0.75);

  ClickSector(5, 5);  // the pushable block
  ClickLine("SecCurItem", 0);
  const QImage before = Frame();
  const int builds = window_->View3D()->ItemBuilds();
  Key(Qt::Key_Right, Qt::ControlModifier);
  const QImage after = Frame();
  EXPECT_EQ(window_->View3D()->ItemBuilds(), builds + 1);  // the items, not the whole scene
  EXPECT_NE(after, before);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Frame(), before);
}

TEST_F(Window3DTest, AClickOnAFloorInTheViewSelectsThatSector) {
  OpenShowcase();
  Frame();
  Room3DView* view = window_->View3D();
  const RoomOffset offset = RoomTranslation(Lvl(), 0);
  const Sector& sector = Lvl().Rooms[0].SectorAt(4, 2);
  const double floorY = -static_cast<double>(static_cast<int8_t>(sector.Floor)) * 256 / 1024;
  const auto at = ProjectPoint(view->Camera(), view->width(), view->height(),
                               Vec3{offset.X + 4.5f, static_cast<float>(floorY), offset.Z + 2.5f});
  ASSERT_TRUE(at);
  QTest::mouseClick(view, Qt::LeftButton, {},
                    QPoint(static_cast<int>(at->X), static_cast<int>(at->Y)));
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 3,1]");
}

}  // namespace
}  // namespace slab
