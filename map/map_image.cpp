#include "map/map_image.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace slab {

MapImage::MapImage(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      usedWidth_(width_),
      usedHeight_(height_),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 3, 0) {}

void MapImage::SetUsedArea(int width, int height) {
  usedWidth_ = std::clamp(width, 1, std::max(1, width_));
  usedHeight_ = std::clamp(height, 1, std::max(1, height_));
}

void MapImage::Put(int x, int y, Rgb colour) {
  if (!Contains(x, y)) return;
  uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 3];
  p[0] = colour.R;
  p[1] = colour.G;
  p[2] = colour.B;
}

Rgb MapImage::Pixel(int x, int y) const {
  if (!Contains(x, y)) return {};
  const uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 3];
  return {p[0], p[1], p[2]};
}

void MapImage::FillRect(int x1, int y1, int x2, int y2, Rgb colour) {
  x1 = std::max(x1, 0);
  y1 = std::max(y1, 0);
  x2 = std::min(x2, width_);
  y2 = std::min(y2, height_);
  for (int y = y1; y < y2; ++y)
    for (int x = x1; x < x2; ++x) Put(x, y, colour);
}

void MapImage::Fill(Rgb colour) { FillRect(0, 0, width_, height_, colour); }

void MapImage::DrawBox(int x1, int y1, int x2, int y2) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  if (x1 == x2 || y1 == y2) return;
  FillRect(x1, y1, x2, y2, outline_);
  FillRect(x1 + 1, y1 + 1, x2 - 1, y2 - 1, fill_);
}

void MapImage::DrawLine(int x1, int y1, int x2, int y2) {
  // Bresenham; the map only draws straight edges, but any line is drawn correctly.
  const int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
  const int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    Put(x1, y1, outline_);
    if (x1 == x2 && y1 == y2) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x1 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y1 += sy;
    }
  }
}

}  // namespace slab
