// Draws the application icon: a few sectors of a room's map, one of them a raised slab and
// one a trigger, on a rounded dark square. One list of shapes gives both the scalable SVG and
// the PNG sizes, so they always show the same picture.
//
//   make_icon FOLDER   writes FOLDER/slabwright2.svg and FOLDER/slabwright2-N.png
#include <png.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "packaging/tool_output.h"

namespace {

constexpr double kCanvas = 64.0;  // the SVG's view box; shapes are drawn in these units
constexpr std::array<int, 7> kSizes{16, 24, 32, 48, 64, 128, 256};

struct Point {
  double X, Y;
};

struct Shape {
  std::vector<Point> Outline;
  uint32_t Colour;  // 0xRRGGBB, opaque
};

std::vector<Point> Rectangle(double x0, double y0, double x1, double y1) {
  return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

std::vector<Point> RoundedRectangle(double x0, double y0, double x1, double y1, double r) {
  std::vector<Point> points;
  const Point centres[4] = {{x1 - r, y0 + r}, {x1 - r, y1 - r}, {x0 + r, y1 - r}, {x0 + r, y0 + r}};
  constexpr int kSteps = 8;
  for (int corner = 0; corner < 4; ++corner)
    for (int i = 0; i <= kSteps; ++i) {
      const double angle = (corner - 1 + static_cast<double>(i) / kSteps) * M_PI / 2;
      points.push_back(
          {centres[corner].X + r * std::cos(angle), centres[corner].Y + r * std::sin(angle)});
    }
  return points;
}

std::vector<Shape> IconShapes() {
  constexpr uint32_t kBackground = 0x24313F, kWall = 0x5F6F80, kFloor = 0xD8C49A,
                     kSlabTop = 0xEAD9B0, kSlabSide = 0x9C8661, kTrigger = 0xE0533D;
  std::vector<Shape> shapes{{RoundedRectangle(2, 2, 62, 62, 11), kBackground}};
  // Three by three sectors of 14 units with 3-unit joints, as the map draws them.
  const char* rows[3] = {"wff", "fst", "ffw"};
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column) {
      const double x = 8 + 17 * column, y = 8 + 17 * row;
      switch (rows[row][column]) {
        case 'w':
          shapes.push_back({Rectangle(x, y, x + 14, y + 14), kWall});
          break;
        case 'f':
          shapes.push_back({Rectangle(x, y, x + 14, y + 14), kFloor});
          break;
        case 't':
          shapes.push_back({Rectangle(x, y, x + 14, y + 14), kTrigger});
          shapes.push_back({Rectangle(x + 4, y + 4, x + 10, y + 10), kFloor});
          break;
        case 's':  // lifted by four units: its front face shows below the top
          shapes.push_back({Rectangle(x, y + 10, x + 14, y + 14), kSlabSide});
          shapes.push_back({Rectangle(x, y - 4, x + 14, y + 10), kSlabTop});
          break;
      }
    }
  return shapes;
}

std::string Hex(uint32_t colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", colour);
  return text;
}

std::string Svg(const std::vector<Shape>& shapes) {
  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 "
      "64\">\n";
  for (const Shape& shape : shapes) {
    svg += "  <polygon fill=\"" + Hex(shape.Colour) + "\" points=\"";
    for (size_t i = 0; i < shape.Outline.size(); ++i) {
      char point[48];
      std::snprintf(point, sizeof point, "%s%.3f,%.3f", i ? " " : "", shape.Outline[i].X,
                    shape.Outline[i].Y);
      svg += point;
    }
    svg += "\"/>\n";
  }
  return svg + "</svg>\n";
}

bool Inside(const std::vector<Point>& outline, double x, double y) {
  bool inside = false;
  for (size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
    const Point& a = outline[i];
    const Point& b = outline[j];
    if ((a.Y > y) != (b.Y > y) && x < (b.X - a.X) * (y - a.Y) / (b.Y - a.Y) + a.X) inside = !inside;
  }
  return inside;
}

// RGBA pixels, each the average of 8 x 8 samples, shapes painted in order.
std::vector<uint8_t> Render(const std::vector<Shape>& shapes, int size) {
  constexpr int kSamples = 8;
  std::vector<uint8_t> pixels(static_cast<size_t>(size) * size * 4);
  const double scale = kCanvas / size;
  for (int py = 0; py < size; ++py)
    for (int px = 0; px < size; ++px) {
      double sum[4] = {0, 0, 0, 0};
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx) {
          const double x = (px + (sx + 0.5) / kSamples) * scale;
          const double y = (py + (sy + 0.5) / kSamples) * scale;
          const Shape* top = nullptr;
          for (const Shape& shape : shapes)
            if (Inside(shape.Outline, x, y)) top = &shape;
          if (!top) continue;
          sum[0] += (top->Colour >> 16) & 0xFF;
          sum[1] += (top->Colour >> 8) & 0xFF;
          sum[2] += top->Colour & 0xFF;
          sum[3] += 255;
        }
      uint8_t* out = &pixels[(static_cast<size_t>(py) * size + px) * 4];
      // Colour is averaged over the covered samples only (straight, not premultiplied alpha).
      const double covered = sum[3] / 255;
      for (int c = 0; c < 3; ++c)
        out[c] = covered > 0 ? static_cast<uint8_t>(std::lround(sum[c] / covered)) : 0;
      out[3] = static_cast<uint8_t>(std::lround(sum[3] / (kSamples * kSamples)));
    }
  return pixels;
}

bool WritePng(const std::filesystem::path& path, const std::vector<uint8_t>& pixels, int size) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = png.height = static_cast<png_uint_32>(size);
  png.format = PNG_FORMAT_RGBA;
  if (png_image_write_to_file(&png, path.string().c_str(), 0, pixels.data(), size * 4, nullptr))
    return true;
  std::cerr << path.string() << ": cannot write the icon (" << png.message << ")\n";
  png_image_free(&png);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const auto out = OutputFolder(argc, argv, "make_icon");
  if (!out) return 1;
  const std::filesystem::path& folder = *out;
  const std::vector<Shape> shapes = IconShapes();
  if (!WriteText(folder / "slabwright2.svg", Svg(shapes))) return 1;
  for (int size : kSizes)
    if (!WritePng(folder / ("slabwright2-" + std::to_string(size) + ".png"), Render(shapes, size),
                  size))
      return 1;
  return 0;
}
