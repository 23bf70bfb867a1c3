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
#include <filesystem>
#include <memory>

#include "level/load_level.h"
#include "preview3d/gl/level_view.h"
#include "preview3d/gl/markers.h"
#include "preview3d/gl/scene_renderer.h"
#include "preview3d/gl/texture_strip_view.h"
#include "preview3d/item_faces.h"
#include "preview3d/orbit_camera.h"
#include "preview3d/room_framing.h"
#include "preview3d/viewer_camera.h"
#include "support/real_levels.h"
#include "tools/showcase_level.h"

namespace slab {
namespace {

constexpr int kSize = 64;

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
    context_->functions()->glFinish();
    return fbo_->toImage();
  }
  QRgb Centre(const Level& level, const std::vector<TextureTile>& tiles,
              const TextureStrip& strip) {
    return Draw(level, tiles, strip).pixel(kSize / 2, kSize / 2);
  }

  static QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y); }

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

// A square two sectors ahead, facing the eye, from z0 to z1 (Z grows to the left), one object
// texture per page; page of texture t is t.
struct Scene {
  Level level;
  std::vector<TextureTile> tiles;
  void Square(float z0, float z1, int16_t texture, bool reversed = false) {
    if (level.Rooms.empty()) level.Rooms.emplace_back();
    Room& room = level.Rooms[0];
    const auto base = static_cast<int16_t>(room.Vertices.size());
    const auto gz0 = static_cast<int16_t>(z0 * 1024), gz1 = static_cast<int16_t>(z1 * 1024);
    // On screen clockwise: top-left, top-right, bottom-right, bottom-left (game Y is down).
    room.Vertices.push_back({2048, -1024, gz1});
    room.Vertices.push_back({2048, -1024, gz0});
    room.Vertices.push_back({2048, 1024, gz0});
    room.Vertices.push_back({2048, 1024, gz1});
    RoomQuad quad{{base, static_cast<int16_t>(base + 1), static_cast<int16_t>(base + 2),
                   static_cast<int16_t>(base + 3)},
                  texture,
                  0};
    if (reversed) std::swap(quad.Vertices[1], quad.Vertices[3]);
    room.Rectangles.push_back(quad);
  }
  void Texture(int page, uint16_t attribute = 0) {
    ObjectTexture t;
    t.Attribute = attribute;
    t.Corners = {{{0, 0, 0, 0}, {0, 255, 0, 0}, {0, 255, 0, 255}, {0, 0, 0, 255}}};
    level.ObjectTextures.push_back(t);
    tiles.push_back({0, 0, static_cast<int16_t>(page)});
  }
};

// One square in front of the eye on page 0 (red) or page 1 (all the transparent black).
Scene OneSquare(int16_t texture, bool reversed = false) {
  Scene scene;
  scene.Texture(0);
  scene.Texture(1);
  scene.Square(-1, 1, texture, reversed);
  return scene;
}

TEST_F(Render, TexturedSquareAndColourKeyAndCulling) {
  const TextureStrip pages = Pages({PackRgba(200, 50, 50), 0});
  const Scene plain = OneSquare(0);
  const QImage image = Draw(plain.level, plain.tiles, pages);
  EXPECT_EQ(At(image, kSize / 2, kSize / 2), qRgb(200, 50, 50));
  EXPECT_EQ(At(image, 1, 1), qRgb(0, 0, 255));  // outside the square: the clear colour
  const Scene keyed = OneSquare(1);
  EXPECT_EQ(Centre(keyed.level, keyed.tiles, pages), qRgb(0, 0, 255));
  const Scene back = OneSquare(0, true);  // seen from behind: culled
  EXPECT_EQ(Centre(back.level, back.tiles, pages), qRgb(0, 0, 255));
  const Scene twoSided = OneSquare(static_cast<int16_t>(0x8000), true);  // its back face shows
  EXPECT_EQ(Centre(twoSided.level, twoSided.tiles, pages), qRgb(200, 50, 50));
}

TEST_F(Render, AdditiveFacesAddToWhatIsBehind) {
  Scene scene;
  scene.Texture(0, 2);
  scene.Square(-1, 1, 0);
  EXPECT_EQ(Centre(scene.level, scene.tiles, Pages({PackRgba(100, 60, 0x20)})), qRgb(100, 60, 255));
}

TEST_F(Render, LeftStaysLeft) {
  // Looking along +X, +Z lies to the left, as in the game seen from above with Y down.
  Scene scene;
  scene.Texture(0);
  scene.Texture(1);
  scene.Square(0.1f, 1, 0);    // left: red
  scene.Square(-1, -0.1f, 1);  // right: green
  const QImage image =
      Draw(scene.level, scene.tiles, Pages({PackRgba(255, 0, 0), PackRgba(0, 255, 0)}));
  EXPECT_EQ(At(image, kSize / 2 - 8, kSize / 2), qRgb(255, 0, 0));
  EXPECT_EQ(At(image, kSize / 2 + 8, kSize / 2), qRgb(0, 255, 0));
  EXPECT_EQ(At(image, kSize / 2, kSize / 2), qRgb(0, 0, 255));  // the gap between
}

TEST_F(Render, EveryRealLevelDrawsWholly) {
  SLAB_REQUIRE_REAL_LEVELS();
  for (const auto& path : test::RealLevels({"tr1/", "tr2/", "tr3/", "tr4/", "tr5/"})) {
    RecordingSink sink;
    LoadResult result = LoadLevel(path, sink);
    Game version = result.DetectedGame.value_or(Game::None);
    if (!result.Loaded) continue;  // the refused file is the reader's business
    const TextureStrip strip = BuildTextureStrip(result.Lvl, version, TexelRules::Viewer);
    const QImage image = Draw(result.Lvl, result.TextureTiles, strip);
    renderer_->SetStaticMeshes(BuildStaticMeshes(result.Lvl, result.TextureTiles, version, sink));
    std::vector<int> rooms;
    for (size_t r = 0; r < result.Lvl.Rooms.size(); ++r) {
      renderer_->DrawRoomStatics(result.Lvl, static_cast<int>(r));
      rooms.push_back(static_cast<int>(r));
    }
    const auto moveables = BuildMoveableMeshes(result.Lvl, result.TextureTiles, version, sink);
    renderer_->SetItems(BuildItemFaces(result.Lvl, moveables, rooms, version, strip.PageCount));
    renderer_->DrawItems(Identity());
    EXPECT_EQ(context_->functions()->glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << path;
    EXPECT_FALSE(image.isNull()) << path;
  }
}

// An item a quarter turned, so its mesh (two sectors in front of it, along +Z) comes to lie
// ahead of the eye along +X; and a sprite item turned to face the eye.
TEST_F(Render, ItemsTurnedByTheirAngleAndSpritesFaceTheEye) {
  Level level;
  level.Rooms.resize(1);
  level.Moveables = {Moveable{5, 1}};
  level.Frames.assign(11, 0);
  MoveableMeshFaces mesh;
  mesh.MeshCount = 1;
  MeshFace face;
  face.VertexCount = 5;
  const std::array<std::array<float, 2>, 5> corners{{{-1, 1}, {1, 1}, {1, -1}, {-1, -1}, {-1, 1}}};
  for (size_t k = 0; k < 5; ++k) {
    face.Vertices[k].X = corners[k][0];
    face.Vertices[k].Y = corners[k][1];
    face.Vertices[k].Z = 2;
    face.Vertices[k].Colour = 0x0000FF00;
  }
  face.Surface = kNoSurface;
  mesh.Meshes = {{face}};
  const std::vector<MoveableMeshFaces> moveables{mesh};
  level.Items = {Item{5, 0, 0, 0, 0, 16384}};
  const std::vector<int> rooms{0};

  renderer_->SetPages(Pages({PackRgba(255, 0, 0)}));
  auto draw = [&](const Level& l) {
    renderer_->SetItems(BuildItemFaces(l, moveables, rooms, Game::TR2, 1));
    renderer_->BeginFrame(kSize, kSize, ViewerViewMatrix(ViewCamera{}));
    renderer_->DrawItems(RotateY(3.14159265f / 2));
    context_->functions()->glFinish();
    return fbo_->toImage();
  };
  EXPECT_EQ(At(draw(level), kSize / 2, kSize / 2), qRgb(0, 255, 0));
  level.Items[0].Angle = 0;  // unturned, the mesh lies off to the side
  EXPECT_EQ(At(draw(level), kSize / 2, kSize / 2), qRgb(0, 0, 255));

  level.Items[0].ObjectID = 9;  // a sprite: red, a sector square, standing half below the eye
  level.Items[0].X = 2048;
  level.Items[0].Y = 512;
  level.SpriteSequences = {{9, -1, 0}};
  level.SpriteTextures = {SpriteTexture{0, 0, 0, 63 * 256 + 255, 63 * 256 + 255, -512, -1024, 512}};
  const QImage image = draw(level);
  EXPECT_EQ(At(image, kSize / 2, kSize / 2), qRgb(255, 0, 0));
  EXPECT_EQ(At(image, kSize / 2, 2), qRgb(0, 0, 255));  // above the sprite
}

TEST_F(Render, MarkerPicturesFromOurToolFaceTheCamera) {
  RecordingSink sink;
  const auto pictures = LoadMarkerPictures(SLAB_BIN_DIR, sink);
  ASSERT_TRUE(sink.Shown.empty()) << sink.Shown[0];
  for (const MarkerPicture& p : pictures) {
    ASSERT_TRUE(p.Loaded());
    EXPECT_EQ(p.Texels[0], 0u);  // black corner: transparent
  }
  renderer_->SetMarkers(pictures);
  OrbitCamera camera;
  camera.AngleA = 0.7;
  UpdateOrbitCamera(camera, Level{}, 0, 0, 0);  // no rooms: the camera stays put
  camera.TargetX = camera.TargetY = camera.TargetZ = camera.EyeY = 0;
  camera.EyeX = -0.3 * std::sin(camera.AngleA);
  camera.EyeZ = -0.3 * std::cos(camera.AngleA);
  renderer_->BeginFrame(kSize, kSize, OrbitViewMatrix(camera));
  renderer_->DrawMarker(Marker::Light, MarkerMatrix(camera, 0, 0, 0));
  context_->functions()->glFinish();
  const QImage image = fbo_->toImage();
  EXPECT_NE(At(image, kSize / 2, kSize / 2), qRgb(0, 0, 255));  // the sun's centre
  EXPECT_EQ(At(image, 2, 2), qRgb(0, 0, 255));  // its black corner shows the background

  RecordingSink missing;
  const auto none = LoadMarkerPictures("no-such-folder", missing);
  ASSERT_EQ(missing.Shown.size(), 4u);
  EXPECT_EQ(missing.Shown[3],
            "Can't find texture file no-such-folder/Sink.bmp (looked in no-such-folder and "
            "share/slabwright)");
  EXPECT_FALSE(none[0].Loaded());
}

// The first room of the sample level and of each real fourth-game level, framed by
// FrameRoom, fills the view: at most three quarters of the frame keep the clear colour.
TEST_F(Render, FramedRoomsFillTheView) {
  const auto sample = std::filesystem::path(testing::TempDir()) / "slab_framed_level.tr2";
  test::WriteShowcaseLevel(sample);
  std::vector<std::filesystem::path> files{sample};
  for (const auto& path : test::RealLevels({"tr4/"})) files.push_back(path);  // when there
  for (const auto& path : files) {
    RecordingSink sink;
    const LoadResult result = LoadLevel(path, sink);
    Game version = result.DetectedGame.value_or(Game::None);
    ASSERT_TRUE(result.Loaded) << path;
    const Level& level = result.Lvl;
    OrbitCamera camera;
    ASSERT_TRUE(FrameRoom(camera, level, 0, 1)) << path;
    renderer_->SetPages(BuildTextureStrip(level, version, TexelRules::MainWindow));
    RoomFaceList list;
    BuildRoomFaces(level, result.TextureTiles, 0, {}, list);
    renderer_->SetRoomFaces(level, list);
    renderer_->BeginFrame(kSize, kSize, OrbitViewMatrix(camera));
    renderer_->DrawRooms();
    context_->functions()->glFinish();
    const QImage image = fbo_->toImage();
    int clear = 0;
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) clear += image.pixel(x, y) == qRgb(0, 0, 255) ? 1 : 0;
    EXPECT_LE(clear * 4, kSize * kSize * 3) << path << ": " << clear << " clear pixels";
  }
  std::filesystem::remove(sample);
}

// The viewer's red "Fps:" and "Room:" texts show over the frame: every texel the overlay
// picture paints comes out red in the widget's frame, both texts have pixels, and nothing
// else in the frame is that red.
TEST_F(Render, ViewerOverlayIsRedWhereTheTextIs) {
  const auto path = std::filesystem::path(testing::TempDir()) / "slab_overlay_level.tr2";
  test::WriteShowcaseLevel(path);
  for (const std::string& file : {path.string(), std::string("no-such-level.tr2")}) {
    SCOPED_TRACE(file);
    RecordingSink sink;
    LevelView view(sink);
    view.Open(QString::fromStdString(file));
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.Tick(10);
    const QImage frame = view.Area()->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(view.Area()->OverlayDrawn());
    const QImage text = OverlayPicture(view.Area()->OverlayFps(), view.Area()->OverlayRoom(),
                                       view.Area()->devicePixelRatioF());
    int fpsPixels = 0, roomPixels = 0, stray = 0;
    for (int y = 0; y < frame.height(); ++y)
      for (int x = 0; x < frame.width(); ++x) {
        const bool painted = x < text.width() && y < text.height() && qAlpha(text.pixel(x, y)) > 0;
        const bool red = frame.pixel(x, y) == qRgb(255, 0, 0);
        if (painted) {
          EXPECT_TRUE(red) << x << ", " << y;
          (x < 80 ? fpsPixels : roomPixels) += red ? 1 : 0;
        } else {
          stray += red ? 1 : 0;
        }
      }
    EXPECT_GT(fpsPixels, 20);
    EXPECT_GT(roomPixels, 20);
    if (file != path.string()) {
      EXPECT_EQ(stray, 0);  // a blue frame has no red of its own
    }
  }
  std::filesystem::remove(path);
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
