// Rendering through the real OpenGL device (Mesa under xvfb-run), pixels read back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "level/load_level.h"
#include "preview3d/gl/level_view.h"
#include "preview3d/gl/scene_renderer.h"
#include "preview3d/item_faces.h"
#include "preview3d/viewer_camera.h"

namespace slab {
namespace {

constexpr int kSize = 64, kMid = kSize / 2;
const QRgb kClear = qRgb(0, 0, 255);  // the clear colour

class Render : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr) return;
    static int argc = 1;
    static char name[] = "render_test";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) app_ = new QApplication(argc, argv);
  }

  void SetUp() override {
    if (QApplication::instance() == nullptr)
      GTEST_SKIP() << "no display: run this test under xvfb-run -a";
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    context_ = std::make_unique<QOpenGLContext>();
    context_->setFormat(format);
    surface_ = std::make_unique<QOffscreenSurface>();
    surface_->setFormat(format);
    surface_->create();
    if (!context_->create() || !context_->makeCurrent(surface_.get()))
      GTEST_SKIP() << "no OpenGL 3.3 context on this display";
    fbo_ = std::make_unique<QOpenGLFramebufferObject>(
        kSize, kSize, QOpenGLFramebufferObject::CombinedDepthStencil);
    fbo_->bind();
    renderer_ = std::make_unique<SceneRenderer>();
    std::string error;
    ASSERT_TRUE(renderer_->Initialise(error)) << error;
  }

  void TearDown() override {
    renderer_.reset();
    fbo_.reset();
    if (context_) context_->doneCurrent();
  }

  // Draws the level's room faces seen from the origin along +X.
  QImage Draw(const Level& level, const std::vector<TextureTile>& tiles,
              const TextureStrip& strip) {
    renderer_->SetPages(strip);
    RoomFaceList list;
    for (size_t r = 0; r < level.Rooms.size(); ++r)
      BuildRoomFaces(level, tiles, static_cast<int>(r), {-9, -9}, list);
    renderer_->SetRoomFaces(level, list);
    renderer_->BeginFrame(kSize, kSize, ViewerViewMatrix(ViewCamera{}));
    renderer_->DrawRooms();
    return Finish();
  }
  QImage Finish() {
    context_->functions()->glFinish();
    return fbo_->toImage();
  }

  static inline QApplication* app_ = nullptr;
  std::unique_ptr<QOpenGLContext> context_;
  std::unique_ptr<QOffscreenSurface> surface_;
  std::unique_ptr<QOpenGLFramebufferObject> fbo_;
  std::unique_ptr<SceneRenderer> renderer_;
};

// One page per colour (red, green, blue bytes; 0, 0, 0 is transparent).
TextureStrip Pages(std::initializer_list<Rgba> colours) {
  TextureStrip strip;
  for (Rgba c : colours) {
    strip.Texels.insert(strip.Texels.end(), kPagePixels, c);
    ++strip.PageCount;
  }
  return strip;
}

// A square two sectors ahead and left of the eye (Z from 0.1 to 1 grows to the left), facing
// it unless reversed; object texture t lies on page t, texture 2 drawn additive.
struct Scene {
  Level level;
  std::vector<TextureTile> tiles;
  Scene(int16_t texture, bool reversed) {
    for (int16_t t = 0; t < 3; ++t) {
      ObjectTexture& o = level.ObjectTextures.emplace_back();
      o.Attribute = t == 2 ? 2 : 0;
      o.Corners = {{{0, 0, 0, 0}, {0, 255, 0, 0}, {0, 255, 0, 255}, {0, 0, 0, 255}}};
      tiles.push_back({0, 0, t});
    }
    Room& room = level.Rooms.emplace_back();
    // On screen clockwise: top-left, top-right, bottom-right, bottom-left (game Y is down).
    room.Vertices = {
        {2048, -1024, 1024}, {2048, -1024, 102}, {2048, 1024, 102}, {2048, 1024, 1024}};
    RoomQuad quad{{0, 1, 2, 3}, texture, 0};
    if (reversed) std::swap(quad.Vertices[1], quad.Vertices[3]);
    room.Rectangles.push_back(quad);
  }
};

// The square by its texture word: page 0 is red, page 1 all the transparent black, page 2
// drawn additive. Looking along +X, +Z lies to the left, as in the game seen from above with
// Y down: nothing is drawn on the right.
TEST_F(Render, TexturedSquareColourKeyCullingAdditiveAndLeftStaysLeft) {
  const TextureStrip pages = Pages({PackRgba(200, 50, 50), 0, PackRgba(100, 60, 0x20)});
  for (auto [texture, reversed, left] :
       {std::tuple{0, false, qRgb(200, 50, 50)},
        {1, false, kClear},
        {0, true, kClear},                  // seen from behind: culled
        {0x8000, true, qRgb(200, 50, 50)},  // double-sided: its back face shows
        {2, false, qRgb(100, 60, 255)}}) {  // added to the clear colour behind
    const Scene scene(static_cast<int16_t>(texture), reversed);
    const QImage image = Draw(scene.level, scene.tiles, pages);
    EXPECT_EQ(image.pixel(kMid - 8, kMid), left) << texture << (reversed ? " reversed" : "");
    EXPECT_EQ(image.pixel(kMid + 8, kMid), kClear);
  }
}

// An item a quarter turned, so its mesh (two sectors in front of it, along +Z) comes to lie
// ahead of the eye along +X; and a sprite item turned to face the eye.
TEST_F(Render, ItemsTurnedByTheirAngleAndSpritesFaceTheEye) {
  Level level;
  level.Rooms.resize(1);
  level.Moveables = {Moveable{5, 1}};
  level.Frames.assign(11, 0);
  MeshFace face{5, {}, kNoSurface};  // a green square
  const std::array<std::array<float, 2>, 5> corners{{{-1, 1}, {1, 1}, {1, -1}, {-1, -1}, {-1, 1}}};
  for (size_t k = 0; k < 5; ++k) face.Vertices[k] = {corners[k][0], corners[k][1], 2, 0, 0xFF00};
  const std::vector<MoveableMeshFaces> moveables{{1, {{face}}}};
  level.Items = {Item{5, 0, 0, 0, 0, 16384}};
  const std::vector<int> rooms{0};

  renderer_->SetPages(Pages({PackRgba(255, 0, 0)}));
  auto draw = [&](const Level& l) {
    renderer_->SetItems(BuildItemFaces(l, moveables, rooms, Game::TR2, 1));
    renderer_->BeginFrame(kSize, kSize, ViewerViewMatrix(ViewCamera{}));
    renderer_->DrawItems(RotateY(3.14159265f / 2));
    return Finish();
  };
  EXPECT_EQ(draw(level).pixel(kMid, kMid), qRgb(0, 255, 0));
  level.Items[0].Angle = 0;  // unturned, the mesh lies off to the side
  EXPECT_EQ(draw(level).pixel(kMid, kMid), kClear);

  level.Items[0].ObjectID = 9;  // a sprite: red, a sector square, standing half below the eye
  level.Items[0].X = 2048;
  level.Items[0].Y = 512;
  level.SpriteSequences = {{9, -1, 0}};
  level.SpriteTextures = {SpriteTexture{0, 0, 0, 63 * 256 + 255, 63 * 256 + 255, -512, -1024, 512}};
  const QImage image = draw(level);
  EXPECT_EQ(image.pixel(kMid, kMid), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(kMid, 2), kClear);  // above the sprite
}

// Mouse look with the right button held turns the eye; the wheel moves it; a plain left
// drag does nothing to the camera.
TEST_F(Render, ViewerMouseLookAndWheel) {
  RecordingSink sink;
  LevelView view(sink);
  view.Open("no-such-level.tr2");
  view.show();
  view.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
  ViewerArea* area = view.Area();
  view.findChild<QWidget*>("TextPB")->setFocus();  // a click in the view takes the keys back
  const QPoint from(200, 200);
  QTest::mousePress(area, Qt::LeftButton, {}, from);
  QTest::mouseMove(area, from + QPoint(50, 0));
  QTest::mouseRelease(area, Qt::LeftButton, {}, from + QPoint(50, 0));
  EXPECT_EQ(area->Camera().Yaw, 0);

  QTest::mousePress(area, Qt::RightButton, {}, from);
  QTest::mouseMove(area, from + QPoint(40, 0));
  QTest::mouseMove(area, from + QPoint(100, -20));
  QTest::mouseRelease(area, Qt::RightButton, {}, from + QPoint(100, -20));
  EXPECT_NEAR(area->Camera().Yaw, kFullTurn - 0.5f, 1e-3);
  EXPECT_NEAR(area->Camera().Pitch, 0.1f, 1e-4);
  EXPECT_TRUE(area->hasFocus());

  const ViewCamera before = area->Camera();
  QWheelEvent wheel(QPointF(from), area->mapToGlobal(QPointF(from)), QPoint(), QPoint(0, 240),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(area, &wheel);
  const ViewCamera& after = area->Camera();
  const double moved = std::hypot(after.X - before.X, after.Y - before.Y, after.Z - before.Z);
  EXPECT_NEAR(moved, 1.0, 1e-6);     // two notches, half a sector each
  EXPECT_GT(after.X - before.X, 0);  // forward: the yaw is just short of a full turn
}

}  // namespace
}  // namespace slab
