#include "preview3d/level_view.h"

#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "level/load_level.h"
#include "preview3d/room3d_view.h"
#include "preview3d/texture_strip_view.h"

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
  std::string error;
  if (!renderer_->Initialise(error)) {
    deviceFailed_ = true;
    messages_.Show(std::string(kNoDeviceMessage) + " - " + error, kNoDeviceTitle);
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

  QPainter painter(this);
  QFont font = painter.font();
  font.setPointSize(10);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(QColor(255, 0, 0));
  const int line = painter.fontMetrics().ascent();
  painter.drawText(0, line, QString::fromStdString(fpsText_));
  painter.drawText(80, line, QString::fromStdString(roomText_));
}

void ViewerArea::keyPressEvent(QKeyEvent* event) {
  const int code = CameraKeyCode(event->key());
  if (code == 0 || !ViewerKey(camera_, code)) QOpenGLWidget::keyPressEvent(event);
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

void LevelView::Open(const QString& given) {
  QString path = given;
  if (path.isEmpty()) path = QFileDialog::getOpenFileName(this);
  path_ = path;
  LoadResult result = LoadLevel(path.toStdString(), gameVersion_, messages_);
  level_ = std::move(result.Lvl);
  tiles_ = std::move(result.TextureTiles);

  strip_ = BuildTextureStrip(
      level_, gameVersion_, TexelRules::Viewer,
      [](void* self, int row) {
        auto* view = static_cast<LevelView*>(self);
        view->setWindowTitle(QString::fromStdString(BuildingTilesCaption(row)));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      },
      this);
  statics_ = BuildStaticMeshes(level_, tiles_, gameVersion_, messages_);
  moveables_ = BuildMoveableMeshes(level_, tiles_, gameVersion_, messages_);
  setWindowTitle(LevelViewCaption(path_));
  stripView_->SetStrip(strip_);
  area_->SetScene(&level_, &strip_, &statics_, &tiles_);
  area_->Camera() = StartCamera(level_);
  previousFrame_ = 0;
  frameTimer_.start();
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
  view->Open(path);
  view->show();
  view->Area()->setFocus();
  return view;
}

}  // namespace slab
