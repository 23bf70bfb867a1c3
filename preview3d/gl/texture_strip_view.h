// The texture browser: the strip picture TextPB (the pages one below the other) and its
// scroll bar TextScroll, whose value is the number of strip rows scrolled out at the top.
#pragma once

#include <QImage>
#include <QScrollBar>
#include <QWidget>

#include "preview3d/texels.h"

namespace slab {

class TextureStripPicture : public QWidget {
 public:
  explicit TextureStripPicture(QWidget* parent = nullptr);
  void SetStrip(const TextureStrip& strip);
  void SetTop(int rows);
  const QImage& Image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
  int top_ = 0;
};

class TextureStripView : public QWidget {
 public:
  explicit TextureStripView(QWidget* parent = nullptr);
  void SetStrip(const TextureStrip& strip);
  TextureStripPicture* Picture() { return picture_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void UpdateRange();
  TextureStripPicture* picture_;
  QScrollBar* scroll_;
};

}  // namespace slab
