// The two views of the main window's map area: RoomMap, the room's sector grid scaled to a
// whole number of device pixels a sector so every sector looks alike (it fills its pane, or
// shows the zoom the user chose, and the pane scrolls), and RoomView3D, the right-hand view
// that shows the level overview or holds the 3D view.
#pragma once

#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QSplitter>
#include <QWidget>
#include <optional>

#include "map/map_image.h"
#include "map/selection.h"

namespace slab {

inline constexpr int kRightViewSize = 400;
inline constexpr int kMaxZoom = 16;

class RoomMapWidget : public QWidget {
  Q_OBJECT

 public:
  explicit RoomMapWidget(QWidget* parent = nullptr);

  // The room's picture; only its used area holds the room and is shown (the rest of the
  // picture is black margin).
  void SetMap(const MapImage& map);
  const QImage& MapPicture() const { return map_; }

  // Device pixels per sector: the zoom chosen, or the most that lets the room fit the pane.
  // Never fewer than a picture pixel each, so no outline is lost; a larger room scrolls.
  int SectorPixels() const;
  // Device pixels per picture pixel: SectorPixels() / 10.
  qreal DeviceScale() const;
  // 0: fit to the pane; else the device pixels per sector chosen with the wheel or Ctrl+plus/minus.
  int Zoom() const { return zoom_; }
  // Zooms in (steps > 0) or out about the middle of what the pane shows.
  void ZoomBy(int steps);
  // Zooms about a point of the widget, which keeps showing the same place of the room.
  void ZoomAbout(int steps, QPointF anchor);
  void ZoomToFit();

  // The picture pixel under a point of the widget, and the centre of a picture pixel.
  QPoint PicturePixel(QPointF position) const;
  QPointF WidgetPoint(QPoint pixel) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // A mouse button went down at picture pixel (x, y); button and shift as the map reads them.
  void MouseDown(MouseButton button, int shift, int x, int y);
  // The mouse rests over picture pixel (x, y): the window answers with a tooltip.
  void HoverAt(int x, int y, QPoint globalPosition);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  qreal LogicalScale() const;
  QPointF Origin() const;
  void UpdateSize();

  QImage map_;
  QSize used_;
  int zoom_ = 0;
  // Zoomed, where the picture is smaller than the pane: where it was put so the point under
  // the pointer stayed there (else it is centred).
  std::optional<QPointF> placed_;
  QImage scaled_;  // the used part at the last scale painted, kept while neither changes
  int scaledFor_ = 0;
};

// The right-hand view: the overview picture, or the 3D view laid over it while that is shown.
// The overview's rooms fill the pane at the largest whole factor; the wheel zooms about the
// pointer, as on the room map.
class RightViewWidget : public QWidget {
  Q_OBJECT

 public:
  explicit RightViewWidget(QWidget* parent = nullptr);

  void SetOverview(const MapImage& overview);
  const QImage& OverviewPicture() const { return overview_; }
  void SetView3D(QWidget* view);

  // Device pixels per overview cell: the zoom chosen, or the most that show every room.
  int CellPixels() const;
  // Device pixels per picture pixel: CellPixels() / 4.
  qreal DeviceScale() const;
  void ZoomToFit();
  // The picture pixel under a point of the widget, and the centre of a picture pixel.
  QPoint PicturePixel(QPointF position) const;
  QPointF WidgetPoint(QPoint pixel) const;

  // The number of the room under the pointer, shown beside it; empty hides it.
  void ShowRoomNumber(const QString& text);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // A left click on picture pixel (x, y) of the overview.
  void PictureClicked(int x, int y);
  // The pointer moved over picture pixel (x, y).
  void HoverAt(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  QRect Shown() const;  // the part of the picture fitted to the pane
  QPointF Origin() const;

  QImage overview_;
  QRect rooms_;  // the picture's pixels that are not background
  int zoom_ = 0;
  QPointF centre_;  // the picture point in the pane's middle while zoomed
  QPointer<QWidget> view3d_;
  QLabel* roomNumber_;
  QPoint pointer_;  // where the pointer was last seen, for the room number's place
};

QImage ToQImage(const MapImage& image);

// The part of a picture drawn in cells of `cell` pixels, scaled so each cell becomes `device`
// device pixels: every device pixel takes the picture pixel it falls in, counted in whole
// numbers from the part's corner, so every cell and every outline comes out alike (a scaling
// by any factor would not promise that). The part's corner should lie on a cell's corner.
QImage ScaleByCells(const QImage& picture, QRect part, int cell, int device);

// SectorMap: the room map in its pane MapPane (which scrolls when the user zooms in beyond
// it) and the right-hand view, sharing the space the window gives them. They lie side by side
// unless their area is clearly taller than wide, so neither becomes a narrow strip; that is
// decided only when the window changes size, so a list opened or closed beside them leaves
// them as they were.
class SectorMapSplitter : public QSplitter {
 public:
  explicit SectorMapSplitter(QWidget* parent = nullptr);
  RoomMapWidget* Map() const { return map_; }
  RightViewWidget* View() const { return view_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  RoomMapWidget* map_;
  RightViewWidget* view_;
  QSize arrangedFor_;  // the window size they were last arranged for
};

}  // namespace slab
