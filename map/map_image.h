// The off-screen picture the room map is drawn into: an RGB image with a fill colour and an
// outline colour, boxes and lines. Everything drawn outside the image is clipped.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "floordata/rgb.h"

namespace slab {

class MapImage {
 public:
  MapImage() = default;
  // A black image.
  MapImage(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The part from the top left corner that holds the drawing (a small room uses a corner of
  // the picture): the view fits this part to its pane. The whole picture unless set.
  int UsedWidth() const { return usedWidth_; }
  int UsedHeight() const { return usedHeight_; }
  // Taken inside the picture, at least one pixel each way.
  void SetUsedArea(int width, int height);

  void SetFillColour(Rgb colour) { fill_ = colour; }
  void SetOutlineColour(Rgb colour) { outline_ = colour; }

  // A box with a one-pixel outline and a solid fill. As with the platform's rectangles, the
  // right and bottom coordinates lie just outside the box, so neighbouring boxes drawn 10
  // pixels apart share one outline pixel.
  void DrawBox(int x1, int y1, int x2, int y2);
  // A line in the outline colour, both end points included.
  void DrawLine(int x1, int y1, int x2, int y2);
  void Fill(Rgb colour);

  Rgb Pixel(int x, int y) const;
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // Rows top to bottom, three bytes a pixel.
  std::span<const uint8_t> Bytes() const { return pixels_; }

  bool operator==(const MapImage&) const = default;

 private:
  void Put(int x, int y, Rgb colour);
  void FillRect(int x1, int y1, int x2, int y2, Rgb colour);  // x2, y2 excluded

  int width_ = 0;
  int height_ = 0;
  int usedWidth_ = 0;
  int usedHeight_ = 0;
  std::vector<uint8_t> pixels_;
  Rgb fill_{};
  Rgb outline_{};
};

}  // namespace slab
