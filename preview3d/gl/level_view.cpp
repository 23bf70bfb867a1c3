#include "preview3d/gl/level_view.h"

#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <span>

#include "level/load_level.h"
#include "preview3d/gl/room3d_view.h"
#include "preview3d/gl/texture_strip_view.h"

namespace slab {

QSurfaceFormat PreviewFormat();  // room3d_view.cpp

ViewerArea::ViewerArea(MessageSink& messages, QWidget* parent)
    : QOpenGLWidget(parent), messages_(messages) {
  setFormat(PreviewFormat());
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(400, 400);
}

ViewerArea::~ViewerArea() {
  makeCurrent();
  renderer_.reset();
  doneCurrent();
}

void ViewerArea::SetScene(const Level* level, const TextureStrip* strip,
                          const std::vector<MeshFaceList>* statics,
                          const std::vector<TextureTile>* tiles) {
  level_ = level;
  strip_ = strip;
  statics_ = statics;
  tiles_ = tiles;
  uploadPending_ = true;
  faceListBuilt_ = false;
}

void ViewerArea::initializeGL() {
  if (!renderer_->Initialise(messages_)) {
    deviceFailed_ = true;
    emit DeviceUnavailable();
  }
}

void ViewerArea::paintGL() {
  if (deviceFailed_ || !renderer_->Ready()) return;
  if (uploadPending_ && strip_ != nullptr && statics_ != nullptr) {
    renderer_->SetPages(*strip_);
    renderer_->SetStaticMeshes(*statics_);
    uploadPending_ = false;
  }
  const qreal ratio = devicePixelRatioF();
  renderer_->BeginFrame(static_cast<int>(width() * ratio), static_cast<int>(height() * ratio),
                        ViewerViewMatrix(camera_));
  if (level_ != nullptr && tiles_ != nullptr) {
    if (faceListBuilt_) {
      renderer_->DrawRooms();
      for (size_t r = 0; r < level_->Rooms.size(); ++r)
        renderer_->DrawRoomStatics(*level_, static_cast<int>(r));
    } else {
      RoomFaceList list;
      for (size_t r = 0; r < level_->Rooms.size(); ++r)
        BuildRoomFaces(*level_, *tiles_, static_cast<int>(r), {}, list);
      renderer_->SetRoomFaces(*level_, list);
      renderer_->DrawRooms();
      faceListBuilt_ = true;
    }
    roomText_ = slab::RoomText(CameraRoom(*level_, camera_));
  }

  DrawOverlay();
}

QImage OverlayPicture(const std::string& fpsText, const std::string& roomText, qreal ratio) {
  QFont font = QApplication::font();
  font.setPointSize(10);
  font.setBold(true);
  font.setStyleStrategy(QFont::NoAntialias);
  const QFontMetrics metrics(font);
  const QString fps = QString::fromStdString(fpsText);
  const QString room = QString::fromStdString(roomText);
  const int width = std::max(metrics.horizontalAdvance(fps), 80 + metrics.horizontalAdvance(room));
  const int height = metrics.height();
  QImage picture(static_cast<int>(std::ceil(width * ratio)),
                 static_cast<int>(std::ceil(height * ratio)), QImage::Format_RGBA8888);
  picture.setDevicePixelRatio(ratio);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  painter.setFont(font);
  painter.setPen(QColor(255, 0, 0));
  painter.drawText(0, metrics.ascent(), fps);
  painter.drawText(80, metrics.ascent(), room);
  return picture;
}

// Text painted with a QPainter straight over the core-profile frame never showed, so it is
// painted into a picture and the device draws that, with the state it sets itself.
void ViewerArea::DrawOverlay() {
  const QImage picture = OverlayPicture(fpsText_, roomText_, devicePixelRatioF());
  const auto* texels = reinterpret_cast<const Rgba*>(picture.constBits());
  renderer_->Device().DrawOverlay(
      std::span<const Rgba>(
          texels, static_cast<size_t>(picture.width()) * static_cast<size_t>(picture.height())),
      picture.width(), picture.height());
  overlayDrawn_ = true;
}

void ViewerArea::keyPressEvent(QKeyEvent* event) {
  const int code = CameraKeyCode(event->key());
  if (code == 0 || !ViewerKey(camera_, code)) QOpenGLWidget::keyPressEvent(event);
}

void ViewerArea::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  if (event->button() == Qt::RightButton) {
    lookFrom_ = event->position().toPoint();
    event->accept();
    return;
  }
  QOpenGLWidget::mousePressEvent(event);
}

void ViewerArea::mouseMoveEvent(QMouseEvent* event) {
  if ((event->buttons() & Qt::RightButton) == 0) {
    QOpenGLWidget::mouseMoveEvent(event);
    return;
  }
  const QPoint at = event->position().toPoint();
  ViewerMouseLook(camera_, at.x() - lookFrom_.x(), at.y() - lookFrom_.y());
  lookFrom_ = at;
  update();
  event->accept();
}

void ViewerArea::wheelEvent(QWheelEvent* event) {
  // 120 eighths of a degree make one notch of an ordinary wheel.
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) {
    QOpenGLWidget::wheelEvent(event);
    return;
  }
  ViewerWheel(camera_, notches);
  update();
  event->accept();
}

QString LevelViewCaption(const QString& path) { return "Slabwright LevelViewer - [" + path + "]"; }

LevelView::LevelView(MessageSink& messages, QWidget* parent)
    : QWidget(parent), messages_(messages) {
  setObjectName("LevelView");
  auto* layout = new QHBoxLayout(this);
  area_ = new ViewerArea(messages, this);
  layout->addWidget(area_, 1);
  auto* frame = new QGroupBox("Texture", this);
  auto* frameLayout = new QVBoxLayout(frame);
  stripView_ = new TextureStripView(frame);
  frameLayout->addWidget(stripView_);
  layout->addWidget(frame);
  resize(960, 640);

  connect(area_, &ViewerArea::DeviceUnavailable, this, [this] {
    frameTimer_.stop();
    // Leave the handler first: the window cannot close while its area is being set up.
    QTimer::singleShot(0, this, &QWidget::close);
  });
  frameTimer_.setTimerType(Qt::PreciseTimer);
  frameTimer_.setInterval(6);
  connect(&frameTimer_, &QTimer::timeout, this, [this] { Tick(clock_.elapsed()); });
  clock_.start();
}

LevelView::~LevelView() = default;

bool LevelView::Open(const QString& given) {
  QString path = given;
  if (path.isEmpty()) path = QFileDialog::getOpenFileName(this);
  path_ = path;
  LoadResult result = LoadLevel(path.toStdString(), messages_);
  if (!result.Loaded) return false;
  gameVersion_ = result.DetectedGame.value_or(gameVersion_);
  level_ = std::move(result.Lvl);
  tiles_ = std::move(result.TextureTiles);

  strip_ = BuildTextureStrip(level_, gameVersion_, TexelRules::Viewer, [this](int row) {
    setWindowTitle(QString::fromStdString(BuildingTilesCaption(row)));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  });
  statics_ = BuildStaticMeshes(level_, tiles_, gameVersion_, messages_);
  moveables_ = BuildMoveableMeshes(level_, tiles_, gameVersion_, messages_);
  setWindowTitle(LevelViewCaption(path_));
  stripView_->SetStrip(strip_);
  area_->SetScene(&level_, &strip_, &statics_, &tiles_);
  area_->Camera() = StartCamera(level_);
  previousFrame_ = 0;
  frameTimer_.start();
  return true;
}

void LevelView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void LevelView::Tick(int64_t now) {
  if (!FrameDue(now, previousFrame_)) return;
  area_->SetFpsText(FpsText(now - previousFrame_));
  previousFrame_ = now;
  area_->update();
}

LevelView* OpenLevelView(const QString& path, MessageSink& messages) {
  auto* view = new LevelView(messages);
  view->setAttribute(Qt::WA_DeleteOnClose);
  if (!view->Open(path)) {
    delete view;
    return nullptr;
  }
  view->show();
  view->Area()->setFocus();
  return view;
}

}  // namespace slab
