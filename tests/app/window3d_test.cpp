// The main window with its 3D view, on a real X display (run under xvfb-run with Mesa): what
// the view shows at start, after an edit and where a click in it lands.
#include <QPointer>
#include <fstream>

#include "preview3d/gl/level_view.h"
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

// The viewer window closes with Escape, as with its close box; a refused file opens none.
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
