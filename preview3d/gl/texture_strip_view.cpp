#include "preview3d/gl/texture_strip_view.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <algorithm>

namespace slab {

TextureStripPicture::TextureStripPicture(QWidget* parent) : QWidget(parent) {
  setObjectName("TextPB");
  setAccessibleName("Texture strip");
  setFixedWidth(256);
}

void TextureStripPicture::SetStrip(const TextureStrip& strip) {
  if (strip.PageCount == 0) {
    image_ = QImage();
  } else {
    // The strip's bytes are red, green, blue, alpha in memory; the transparent black shows
    // as black.
    image_ = QImage(reinterpret_cast<const uchar*>(strip.Texels.data()), 256, 256 * strip.PageCount,
                    256 * 4, QImage::Format_RGBX8888)
                 .copy();
  }
  top_ = 0;
  update();
}

void TextureStripPicture::SetTop(int rows) {
  top_ = rows;
  update();
}

void TextureStripPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (!image_.isNull()) painter.drawImage(0, -top_, image_);
}

TextureStripView::TextureStripView(QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  picture_ = new TextureStripPicture(this);
  scroll_ = new QScrollBar(Qt::Vertical, this);
  scroll_->setObjectName("TextScroll");
  scroll_->setAccessibleName("Scroll textures");
  layout->addWidget(picture_);
  layout->addWidget(scroll_);
  connect(scroll_, &QScrollBar::valueChanged, picture_, &TextureStripPicture::SetTop);
  picture_->installEventFilter(this);
}

void TextureStripView::SetStrip(const TextureStrip& strip) {
  picture_->SetStrip(strip);
  scroll_->setValue(0);
  UpdateRange();
}

bool TextureStripView::eventFilter(QObject* watched, QEvent* event) {
  // The wheel over the pages scrolls them as it would over the scroll bar.
  if (watched == picture_ && event->type() == QEvent::Wheel)
    return QCoreApplication::sendEvent(scroll_, event);
  return QWidget::eventFilter(watched, event);
}

void TextureStripView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  UpdateRange();
}

void TextureStripView::UpdateRange() {
  const int rows = picture_->Image().height();
  scroll_->setRange(0, std::max(0, rows - picture_->height()));
  scroll_->setPageStep(std::max(1, picture_->height()));
  scroll_->setSingleStep(16);
}

}  // namespace slab
