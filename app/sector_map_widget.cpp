#include "app/sector_map_widget.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "map/draw_room.h"
#include "map/overview.h"
#include "map/selection.h"

namespace slab {

QImage ToQImage(const MapImage& image) {
  if (image.Width() == 0 || image.Height() == 0) return QImage();
  return QImage(image.Bytes().data(), image.Width(), image.Height(), image.Width() * 3,
                QImage::Format_RGB888)
      .copy();
}

QImage ScaleByCells(const QImage& picture, QRect part, int cell, int device) {
  const QImage source = picture.convertToFormat(QImage::Format_RGB888);
  const int w = part.width() * device / cell, h = part.height() * device / cell;
  QImage scaled(std::max(1, w), std::max(1, h), QImage::Format_RGB888);
  std::vector<int> column(static_cast<size_t>(w));
  for (int x = 0; x < w; ++x) column[static_cast<size_t>(x)] = part.left() + x * cell / device;
  for (int y = 0; y < h; ++y) {
    const uchar* from = source.constScanLine(part.top() + y * cell / device);
    uchar* to = scaled.scanLine(y);
    for (int x = 0; x < w; ++x)
      std::memcpy(to + 3 * x, from + 3 * column[static_cast<size_t>(x)], 3);
  }
  return scaled;
}

RoomMapWidget::RoomMapWidget(QWidget* parent) : QWidget(parent) {
  setObjectName("RoomMap");
  setAccessibleName("Room map");
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  map_ = QImage(kMapSize, kMapSize, QImage::Format_RGB888);
  map_.fill(Qt::black);
  used_ = map_.size();
}

void RoomMapWidget::SetMap(const MapImage& map) {
  map_ = ToQImage(map);
  scaled_ = QImage();
  used_ = QSize(std::max(1, map.UsedWidth()), std::max(1, map.UsedHeight()));
  UpdateSize();
  update();
}

namespace {
QScrollArea* PaneOf(QWidget* widget) {
  QWidget* viewport = widget->parentWidget();
  return viewport != nullptr ? qobject_cast<QScrollArea*>(viewport->parentWidget()) : nullptr;
}
}  // namespace

int RoomMapWidget::SectorPixels() const {
  const qreal ratio = devicePixelRatioF();
  const int least = kSectorPixels * std::max(1, static_cast<int>(std::lround(ratio)));
  if (zoom_ > 0) return std::max(least, zoom_);
  // Fitted to what the pane shows, not to the widget, which a zoom may have left larger.
  QSize room = size();
  if (QScrollArea* pane = PaneOf(const_cast<RoomMapWidget*>(this)))
    room = pane->maximumViewportSize();
  const int fit =
      static_cast<int>(std::min(room.width() * ratio * kSectorPixels / used_.width(),
                                room.height() * ratio * kSectorPixels / used_.height()));
  return std::clamp(fit, least, kMaxZoom * least);
}

qreal RoomMapWidget::DeviceScale() const {
  return static_cast<qreal>(SectorPixels()) / kSectorPixels;
}

qreal RoomMapWidget::LogicalScale() const { return DeviceScale() / devicePixelRatioF(); }

QPointF RoomMapWidget::Origin() const {
  // The picture sits in the middle of the pane when the pane is larger, or where a zoom about
  // the pointer put it.
  const qreal scale = LogicalScale();
  const QPointF room = QPointF(width() - used_.width() * scale, height() - used_.height() * scale);
  if (zoom_ > 0 && placed_)
    return QPointF(std::floor(std::clamp(placed_->x(), 0.0, std::max(0.0, room.x()))),
                   std::floor(std::clamp(placed_->y(), 0.0, std::max(0.0, room.y()))));
  return QPointF(std::max(0.0, std::floor(room.x() / 2)), std::max(0.0, std::floor(room.y() / 2)));
}

void RoomMapWidget::ZoomBy(int steps) {
  QPointF middle = rect().center();
  if (QScrollArea* pane = PaneOf(this))
    middle = mapFrom(pane->viewport(), pane->viewport()->rect().center());
  ZoomAbout(steps, middle);
}

void RoomMapWidget::ZoomAbout(int steps, QPointF anchor) {
  const qreal ratio = devicePixelRatioF();
  const int least = kSectorPixels * std::max(1, static_cast<int>(std::lround(ratio)));
  const int from = SectorPixels();
  // A quarter larger or smaller a step, and always at least a device pixel a sector.
  int to = from;
  for (int i = 0; i < std::abs(steps); ++i)
    to = steps > 0 ? std::max(to + 1, static_cast<int>(std::lround(to * 1.25)))
                   : std::min(to - 1, static_cast<int>(std::lround(to / 1.25)));
  to = std::clamp(to, least, kMaxZoom * least);
  const QPointF picture = (anchor - Origin()) / LogicalScale();
  QScrollArea* pane = PaneOf(this);
  const QPointF inPane =
      pane != nullptr ? QPointF(mapTo(pane->viewport(), anchor.toPoint())) : anchor;
  zoom_ = to;
  // Where the picture's corner must lie in the pane for the anchor to stay put: the widget puts
  // it there where the picture is smaller than the pane, the pane scrolls to it where larger.
  const QPointF corner = inPane - picture * LogicalScale();
  placed_ = corner;
  UpdateSize();
  update();
  if (pane == nullptr) return;
  // Laid out now rather than on the next turn of the event loop, so the scroll bars can be set.
  QEvent layout(QEvent::LayoutRequest);
  QCoreApplication::sendEvent(pane, &layout);
  pane->horizontalScrollBar()->setValue(static_cast<int>(std::lround(-corner.x())));
  pane->verticalScrollBar()->setValue(static_cast<int>(std::lround(-corner.y())));
}

void RoomMapWidget::ZoomToFit() {
  zoom_ = 0;
  placed_.reset();
  UpdateSize();
  update();
}

void RoomMapWidget::UpdateSize() {
  // With a chosen zoom the widget is as large as the picture, so the pane scrolls; fitted it
  // takes whatever the pane gives.
  if (zoom_ > 0) {
    const qreal scale = LogicalScale();
    setMinimumSize(static_cast<int>(std::ceil(used_.width() * scale)),
                   static_cast<int>(std::ceil(used_.height() * scale)));
  } else {
    setMinimumSize(minimumSizeHint());
  }
  updateGeometry();
}

QPoint RoomMapWidget::PicturePixel(QPointF position) const {
  const qreal scale = LogicalScale();
  const QPointF at = position - Origin();
  return QPoint(static_cast<int>(std::floor(at.x() / scale)),
                static_cast<int>(std::floor(at.y() / scale)));
}

QPointF RoomMapWidget::WidgetPoint(QPoint pixel) const {
  const qreal scale = LogicalScale();
  return Origin() + QPointF((pixel.x() + 0.5) * scale, (pixel.y() + 0.5) * scale);
}

QSize RoomMapWidget::minimumSizeHint() const { return QSize(150, 150); }
QSize RoomMapWidget::sizeHint() const { return QSize(kMapSize * 2, kMapSize * 2); }

void RoomMapWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (map_.isNull()) return;
  const int sector = SectorPixels();
  if (scaledFor_ != sector || scaled_.isNull()) {
    scaled_ = ScaleByCells(map_, QRect(QPoint(0, 0), used_), kSectorPixels, sector);
    scaledFor_ = sector;
  }
  scaled_.setDevicePixelRatio(devicePixelRatioF());
  painter.drawImage(Origin(), scaled_);
}

void RoomMapWidget::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  MouseButton button = kLeftButton;
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
  if (pixel.x() < 0 || pixel.y() < 0 || pixel.x() >= used_.width() || pixel.y() >= used_.height())
    return;
  emit MouseDown(button, shift, pixel.x(), pixel.y());
}

void RoomMapWidget::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 120;
  if (steps == 0) return event->ignore();
  ZoomAbout(steps, event->position());
  event->accept();
}

bool RoomMapWidget::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QPoint pixel = PicturePixel(help->pos());
    emit HoverAt(pixel.x(), pixel.y(), help->globalPos());
    return true;
  }
  return QWidget::event(event);
}

RightViewWidget::RightViewWidget(QWidget* parent) : QWidget(parent) {
  setObjectName("RoomView3D");
  setAccessibleName("Level overview");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  roomNumber_ = new QLabel(this);
  roomNumber_->setObjectName("OverviewRoomNumber");
  roomNumber_->setAccessibleName("Room under the pointer");
  roomNumber_->setAttribute(Qt::WA_TransparentForMouseEvents);
  roomNumber_->setMargin(2);
  roomNumber_->setAutoFillBackground(true);
  QPalette palette = roomNumber_->palette();
  palette.setColor(QPalette::Window, Qt::black);
  palette.setColor(QPalette::WindowText, Qt::white);
  roomNumber_->setPalette(palette);
  roomNumber_->hide();
  overview_ = QImage(kRightViewSize, kRightViewSize, QImage::Format_RGB888);
  overview_.fill(Qt::white);
}

void RightViewWidget::SetOverview(const MapImage& overview) {
  overview_ = ToQImage(overview);
  // The rooms' extent; the background is the top-left pixel's colour, which no room reaches.
  int left = overview_.width(), top = overview_.height(), right = -1, bottom = -1;
  if (!overview_.isNull()) {
    const QRgb background = overview_.pixel(0, 0);
    for (int y = 0; y < overview_.height(); ++y)
      for (int x = 0; x < overview_.width(); ++x)
        if (overview_.pixel(x, y) != background) {
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
  }
  rooms_ = right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
  update();
}

QRect RightViewWidget::Shown() const {
  // A cell's width of background around the rooms, so the outermost ones do not touch the edge.
  if (rooms_.isNull()) return overview_.rect();
  return rooms_.adjusted(-4, -4, 4, 4).intersected(overview_.rect());
}

int RightViewWidget::CellPixels() const {
  const qreal ratio = devicePixelRatioF();
  const int least = kOverviewCellPixels * std::max(1, static_cast<int>(std::lround(ratio)));
  if (zoom_ > 0) return std::max(least, zoom_);
  const QRect shown = Shown();
  if (shown.isEmpty()) return least;
  const int fit =
      static_cast<int>(std::min(width() * ratio * kOverviewCellPixels / shown.width(),
                                height() * ratio * kOverviewCellPixels / shown.height()));
  return std::clamp(fit, least, kMaxZoom * least);
}

qreal RightViewWidget::DeviceScale() const {
  return static_cast<qreal>(CellPixels()) / kOverviewCellPixels;
}

QPointF RightViewWidget::Origin() const {
  const qreal scale = DeviceScale() / devicePixelRatioF();
  const QPointF centre = zoom_ > 0 ? centre_ : QRectF(Shown()).center();
  const QPointF at = QPointF(width() / 2.0, height() / 2.0) - centre * scale;
  return QPointF(std::floor(at.x()), std::floor(at.y()));
}

QPoint RightViewWidget::PicturePixel(QPointF position) const {
  const qreal scale = DeviceScale() / devicePixelRatioF();
  const QPointF at = (position - Origin()) / scale;
  return QPoint(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())));
}

QPointF RightViewWidget::WidgetPoint(QPoint pixel) const {
  const qreal scale = DeviceScale() / devicePixelRatioF();
  return Origin() + QPointF((pixel.x() + 0.5) * scale, (pixel.y() + 0.5) * scale);
}

void RightViewWidget::ZoomToFit() {
  zoom_ = 0;
  update();
}

void RightViewWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  const QPoint pixel = PicturePixel(event->position());
  if (overview_.rect().contains(pixel)) emit PictureClicked(pixel.x(), pixel.y());
}

void RightViewWidget::mouseMoveEvent(QMouseEvent* event) {
  pointer_ = event->position().toPoint();
  const QPoint pixel = PicturePixel(event->position());
  emit HoverAt(pixel.x(), pixel.y());
  QWidget::mouseMoveEvent(event);
}

void RightViewWidget::leaveEvent(QEvent* event) {
  ShowRoomNumber({});
  QWidget::leaveEvent(event);
}

void RightViewWidget::ShowRoomNumber(const QString& text) {
  if (text.isEmpty() || (view3d_ && !view3d_->isHidden())) return roomNumber_->hide();
  roomNumber_->setText(text);
  roomNumber_->adjustSize();
  // Below and right of the pointer, kept inside the view.
  const QPoint at = pointer_ + QPoint(14, 14);
  roomNumber_->move(std::clamp(at.x(), 0, std::max(0, width() - roomNumber_->width())),
                    std::clamp(at.y(), 0, std::max(0, height() - roomNumber_->height())));
  roomNumber_->show();
  roomNumber_->raise();
}

void RightViewWidget::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 120;
  if (steps == 0 || overview_.isNull()) return event->ignore();
  // The picture point under the pointer stays under it.
  const QPointF pointer = event->position();
  const qreal ratio = devicePixelRatioF();
  const QPointF at = (pointer - Origin()) / (DeviceScale() / ratio);
  const int least = kOverviewCellPixels * std::max(1, static_cast<int>(std::lround(ratio)));
  // A quarter larger or smaller a notch, and always at least a device pixel a cell.
  int to = CellPixels();
  for (int i = 0; i < std::abs(steps); ++i)
    to = steps > 0 ? std::max(to + 1, static_cast<int>(std::lround(to * 1.25)))
                   : std::min(to - 1, static_cast<int>(std::lround(to / 1.25)));
  zoom_ = std::clamp(to, least, kMaxZoom * least);
  const qreal scale = DeviceScale() / ratio;
  centre_ = at - (pointer - QPointF(width() / 2.0, height() / 2.0)) / scale;
  update();
  event->accept();
}

void RightViewWidget::SetView3D(QWidget* view) {
  view3d_ = view;
  if (view == nullptr) return;
  view->setParent(this);
  view->setGeometry(rect());
}

QSize RightViewWidget::minimumSizeHint() const { return QSize(200, 200); }
QSize RightViewWidget::sizeHint() const { return QSize(kRightViewSize, kRightViewSize); }

void RightViewWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (view3d_) view3d_->setGeometry(rect());
}

void RightViewWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  if (overview_.isNull() || (view3d_ && !view3d_->isHidden())) return;
  painter.fillRect(rect(), overview_.pixelColor(0, 0));
  // Only the cells that show, each the same whole number of device pixels.
  const int cell = kOverviewCellPixels;
  const QPoint from = PicturePixel(QPointF(0, 0)), to = PicturePixel(QPointF(width(), height()));
  const QRect part =
      QRect(QPoint(std::max(0, from.x() / cell * cell), std::max(0, from.y() / cell * cell)),
            QPoint(to.x(), to.y()))
          .intersected(overview_.rect());
  if (part.isEmpty()) return;
  QImage scaled = ScaleByCells(overview_, part, cell, CellPixels());
  scaled.setDevicePixelRatio(devicePixelRatioF());
  painter.drawImage(Origin() + QPointF(part.topLeft()) * (DeviceScale() / devicePixelRatioF()),
                    scaled);
}

SectorMapSplitter::SectorMapSplitter(QWidget* parent)
    : QSplitter(Qt::Horizontal, parent), map_(new RoomMapWidget), view_(new RightViewWidget) {
  setObjectName("SectorMap");
  setChildrenCollapsible(false);
  auto* pane = new QScrollArea(this);
  pane->setObjectName("MapPane");
  pane->setWidgetResizable(true);
  pane->setAlignment(Qt::AlignCenter);
  pane->setWidget(map_);
  addWidget(pane);
  addWidget(view_);
  setStretchFactor(0, 1);
  setStretchFactor(1, 1);
  setSizes({10000, 10000});  // halves, whatever the window's width
}

void SectorMapSplitter::resizeEvent(QResizeEvent* event) {
  if (window()->size() != arrangedFor_) {
    arrangedFor_ = window()->size();
    const QSize size = event->size();
    const Qt::Orientation wanted =
        size.width() * 5 >= size.height() * 4 ? Qt::Horizontal : Qt::Vertical;
    if (orientation() != wanted) {
      setOrientation(wanted);
      setSizes({10000, 10000});
    }
  }
  QSplitter::resizeEvent(event);
}

}  // namespace slab
