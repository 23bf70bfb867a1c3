// The picture box SectorMap: the room map at its left and, 10 pixels to its right, the
// 400 x 400 right-hand view (the level overview, or the 3D view laid over that place).
// Everything is scaled by one whole factor, so the map's pixels stay sharp on any screen.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

#include "map/map_image.h"

namespace slab {

inline constexpr int kRightViewGap = 10;
inline constexpr int kRightViewSize = 400;

class SectorMapWidget : public QWidget {
  Q_OBJECT

 public:
  explicit SectorMapWidget(QWidget* parent = nullptr);

  void SetMap(const MapImage& map);
  void SetOverview(const MapImage& overview);
  // The 3D view, placed over the right-hand view while shown.
  void SetRightView(QWidget* view);

  // Width of the map part in picture pixels: clicks left of it belong to the map. 300 for
  // every room of up to 30 sectors; a larger room's map is wider.
  int MapPartWidth() const;
  // Picture pixels per device pixel, a whole number.
  int Scale() const;
  const QImage& MapPicture() const { return map_; }
  const QImage& OverviewPicture() const { return overview_; }
  // The picture pixel under a point of the widget.
  QPoint PicturePixel(QPointF position) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // A mouse button went down at picture pixel (x, y); button and shift as the map reads them.
  void MouseDown(int button, int shift, int x, int y);
  void KeyDown(int qtKey, Qt::KeyboardModifiers modifiers);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QSize PictureSize() const;
  int MinimumScale() const;
  void PlaceRightView();

  QImage map_;
  QImage overview_;
  QPointer<QWidget> rightView_;
};

QImage ToQImage(const MapImage& image);

}  // namespace slab
