#include "app/sector_map_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "map/draw_room.h"
#include "map/selection.h"

namespace slab {

QImage ToQImage(const MapImage& image) {
  if (image.Width() == 0 || image.Height() == 0) return QImage();
  return QImage(image.Bytes().data(), image.Width(), image.Height(), image.Width() * 3,
                QImage::Format_RGB888)
      .copy();
}

SectorMapWidget::SectorMapWidget(QWidget* parent) : QWidget(parent) {
  setObjectName("SectorMap");
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  map_ = QImage(kMapSize, kMapSize, QImage::Format_RGB888);
  map_.fill(Qt::black);
  overview_ = QImage(kRightViewSize, kRightViewSize, QImage::Format_RGB888);
  overview_.fill(Qt::white);
}

void SectorMapWidget::SetMap(const MapImage& map) {
  map_ = ToQImage(map);
  PlaceRightView();
  updateGeometry();
  update();
}

void SectorMapWidget::SetOverview(const MapImage& overview) {
  overview_ = ToQImage(overview);
  update();
}

void SectorMapWidget::SetRightView(QWidget* view) {
  rightView_ = view;
  if (view != nullptr) view->setParent(this);
  PlaceRightView();
}

int SectorMapWidget::MapPartWidth() const { return std::max(kMapSize, map_.width()); }

QSize SectorMapWidget::PictureSize() const {
  return QSize(MapPartWidth() + kRightViewGap + kRightViewSize,
               std::max({kRightViewSize, kMapSize, map_.height()}));
}

int SectorMapWidget::MinimumScale() const {
  return std::max(1, static_cast<int>(std::lround(devicePixelRatioF())));
}

int SectorMapWidget::Scale() const {
  const qreal ratio = devicePixelRatioF();
  const QSize picture = PictureSize();
  const int fit = static_cast<int>(
      std::min(width() * ratio / picture.width(), height() * ratio / picture.height()));
  return std::max(MinimumScale(), fit);
}

QSize SectorMapWidget::minimumSizeHint() const {
  const qreal factor = MinimumScale() / devicePixelRatioF();
  const QSize picture = PictureSize();
  return QSize(static_cast<int>(std::ceil(picture.width() * factor)),
               static_cast<int>(std::ceil(picture.height() * factor)));
}

QSize SectorMapWidget::sizeHint() const { return minimumSizeHint(); }

QPoint SectorMapWidget::PicturePixel(QPointF position) const {
  const qreal perPixel = Scale() / devicePixelRatioF();
  return QPoint(static_cast<int>(std::floor(position.x() / perPixel)),
                static_cast<int>(std::floor(position.y() / perPixel)));
}

void SectorMapWidget::PlaceRightView() {
  if (!rightView_) return;
  const qreal perPixel = Scale() / devicePixelRatioF();
  const int left = static_cast<int>(std::lround((MapPartWidth() + kRightViewGap) * perPixel));
  const int size = static_cast<int>(std::lround(kRightViewSize * perPixel));
  rightView_->setGeometry(left, 0, size, size);
}

void SectorMapWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceRightView();
}

void SectorMapWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const int scale = Scale();
  const qreal ratio = devicePixelRatioF();
  // Scaled here by a whole factor without smoothing, then shown at the screen's own ratio:
  // every picture pixel becomes scale x scale device pixels.
  auto draw = [&](const QImage& image, int pictureX) {
    if (image.isNull()) return;
    QImage scaled = image.scaled(image.width() * scale, image.height() * scale,
                                 Qt::IgnoreAspectRatio, Qt::FastTransformation);
    scaled.setDevicePixelRatio(ratio);
    painter.drawImage(QPointF(pictureX * scale / ratio, 0), scaled);
  };
  draw(map_, 0);
  if (!rightView_ || rightView_->isHidden()) draw(overview_, MapPartWidth() + kRightViewGap);
}

void SectorMapWidget::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  int button = 0;
  switch (event->button()) {
    case Qt::LeftButton:
      button = kLeftButton;
      break;
    case Qt::RightButton:
      button = kRightButton;
      break;
    case Qt::MiddleButton:
      button = kMiddleButton;
      break;
    default:
      return;
  }
  int shift = 0;
  if (event->modifiers() & Qt::ShiftModifier) shift |= kShiftKey;
  if (event->modifiers() & Qt::ControlModifier) shift |= kCtrlKey;
  if (event->modifiers() & Qt::AltModifier) shift |= kAltKey;
  const QPoint pixel = PicturePixel(event->position());
  emit MouseDown(button, shift, pixel.x(), pixel.y());
}

void SectorMapWidget::keyPressEvent(QKeyEvent* event) {
  emit KeyDown(event->key(), event->modifiers());
}

}  // namespace slab
