// The main window with its 3D view, on a real X display (run under xvfb-run with Mesa): what
// the view shows at start, after an edit and where a click in it lands.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "app/main_window.h"
#include "app/sector_map_widget.h"
#include "map/draw_room.h"
#include "preview3d/gl/room3d_view.h"
#include "preview3d/room_faces.h"
#include "preview3d/room_framing.h"
#include "support/real_levels.h"
#include "tools/showcase_level.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

class NoProcesses : public ProcessRunner {
 public:
  int Run(const std::string&, const std::vector<std::string>&, const std::string&) override {
    return -1;
  }
};

class NoDialog : public FileDialog {
 public:
  std::optional<FileChoice> ShowOpen(const std::string&) override { return std::nullopt; }
  std::optional<FileChoice> ShowSave(const std::string&) override { return std::nullopt; }
};

class Window3DTest : public testing::Test {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
    dir_ = fs::temp_directory_path() / ("slab_3d_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    showcase_ = dir_ / "showcase.tr2";
    test::WriteShowcaseLevel(showcase_);
    window_ = std::make_unique<MainWindow>(
        WindowServices{sink_, dialog_, processes_, keyboard_, clock_, SLAB_BIN_DIR, true});
    window_->resize(1280, 900);
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }
  void TearDown() override {
    window_.reset();
    fs::remove_all(dir_);
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
  void ClickSector(int a, int b) {
    RoomMapWidget* map = window_->RoomMap();
    QTest::mouseClick(map, Qt::LeftButton, {},
                      map->WidgetPoint(QPoint(10 * b + 5, 10 * a + 5)).toPoint());
  }

  fs::path dir_, showcase_;
  RecordingSink sink_;
  NoDialog dialog_;
  NoProcesses processes_;
  TestKeyboard keyboard_;
  ManualTickClock clock_;
  std::unique_ptr<MainWindow> window_;
  int64_t now_ = 1000;
};

TEST_F(Window3DTest, TheViewShowsTheRoomAtStartAndEveryEditOnTheNextFrame) {
  ASSERT_TRUE(window_->OpenLevel(showcase_.string(), "showcase.tr2"));
  ASSERT_TRUE(window_->RightViewIs3D());
  const QImage start = Frame();
  EXPECT_LE(ClearShare(start), 0.75);

  ClickSector(5, 5);  // the pushable block
  auto* items = window_->findChild<QListWidget*>("SecCurItem");
  QTest::mouseClick(items->viewport(), Qt::LeftButton, {},
                    items->visualItemRect(items->item(0)).center());
  const QImage before = Frame();
  const int builds = window_->View3D()->ItemBuilds();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::ControlModifier);
  const QImage after = Frame();
  EXPECT_EQ(window_->View3D()->ItemBuilds(), builds + 1);  // the items, not the whole scene
  EXPECT_NE(after, before);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Frame(), before);
}

TEST_F(Window3DTest, AClickOnAFloorInTheViewSelectsThatSector) {
  ASSERT_TRUE(window_->OpenLevel(showcase_.string(), "showcase.tr2"));
  Frame();
  Room3DView* view = window_->View3D();
  const Level& level = window_->Doc().CurrentLevel;
  const RoomOffset offset = RoomTranslation(level, 0);
  const Sector& sector = level.Rooms[0].SectorAt(4, 2);
  const double floorY = -static_cast<double>(static_cast<int8_t>(sector.Floor)) * 256 / 1024;
  const auto at = ProjectPoint(view->Camera(), view->width(), view->height(),
                               Vec3{offset.X + 4.5f, static_cast<float>(floorY), offset.Z + 2.5f});
  ASSERT_TRUE(at);
  ASSERT_TRUE(
      PickFloorSector(view->Camera(), level, 0, view->width(), view->height(), at->X, at->Y));
  QTest::mouseClick(view, Qt::LeftButton, {},
                    QPoint(static_cast<int>(at->X), static_cast<int>(at->Y)));
  EXPECT_TRUE(window_->Map().SectorSelected);
  EXPECT_EQ(window_->Map().SelectedSectorX, 4);
  EXPECT_EQ(window_->Map().SelectedSectorZ, 2);
  EXPECT_EQ(window_->findChild<QGroupBox*>("SecInf")->title(), "Sector Info [Sector 3,1]");
}

// The largest fourth-game level fills the view; every other one shows at least some room
// (a long corridor seen across leaves much of the view empty).
TEST_F(Window3DTest, RealFourthGameLevelsShowTheirFirstRoom) {
  SLAB_REQUIRE_REAL_LEVELS();
  for (const fs::path& file : test::RealLevels({"tr4/"})) {
    SCOPED_TRACE(file.string());
    if (!window_->OpenLevel(file.string(), file.filename().string())) continue;
    const double clear = ClearShare(Frame());
    EXPECT_LE(clear, file.filename().string().find("angkor1") != std::string::npos ? 0.75 : 0.95);
  }
}

}  // namespace
}  // namespace slab
