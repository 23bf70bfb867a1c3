// Draws the four marker pictures of the 3D view as 24-bit BMP files: a light, a camera, a
// fixed camera and a sink. Black is the transparent colour, so every shape is drawn in
// colours that are never exactly black.
//
//   make_markers OUTPUT_FOLDER
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 32;

struct Colour {
  uint8_t R = 0, G = 0, B = 0;
};

struct Picture {
  std::array<Colour, kSize * kSize> Pixels{};
  void Set(int x, int y, Colour c) {
    if (x >= 0 && y >= 0 && x < kSize && y < kSize) Pixels[static_cast<size_t>(y * kSize + x)] = c;
  }
  void Disc(double cx, double cy, double r, Colour c) {
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x)
        if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= r) Set(x, y, c);
  }
  void Ring(double cx, double cy, double r0, double r1, Colour c) {
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
        if (d >= r0 && d <= r1) Set(x, y, c);
      }
  }
  void Box(int x0, int y0, int x1, int y1, Colour c) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) Set(x, y, c);
  }
};

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

bool WriteBmp(const std::filesystem::path& path, const Picture& picture) {
  const uint32_t rowBytes = kSize * 3;  // a multiple of 4 already
  const uint32_t imageBytes = rowBytes * kSize;
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  PutU32(out, 54 + imageBytes);
  PutU32(out, 0);
  PutU32(out, 54);
  PutU32(out, 40);
  PutU32(out, kSize);
  PutU32(out, kSize);  // positive height: rows stored bottom up
  PutU16(out, 1);
  PutU16(out, 24);
  PutU32(out, 0);
  PutU32(out, imageBytes);
  PutU32(out, 2835);
  PutU32(out, 2835);
  PutU32(out, 0);
  PutU32(out, 0);
  for (int y = kSize - 1; y >= 0; --y)
    for (int x = 0; x < kSize; ++x) {
      const Colour c = picture.Pixels[static_cast<size_t>(y * kSize + x)];
      out.push_back(c.B);
      out.push_back(c.G);
      out.push_back(c.R);
    }
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}

Picture Light() {
  Picture p;
  const Colour ray{255, 200, 40};
  for (int i = 0; i < 8; ++i) {
    const double a = i * 3.14159265 / 4;
    for (double r = 10; r < 15; r += 0.5)
      p.Set(static_cast<int>(16 + r * std::cos(a)), static_cast<int>(16 + r * std::sin(a)), ray);
  }
  p.Disc(16, 16, 8, {255, 240, 96});
  p.Disc(14, 14, 3, {255, 255, 220});
  return p;
}

// A camera body with its lens; the body colour tells the kinds apart.
Picture CameraShape(Colour body) {
  Picture p;
  p.Box(4, 10, 27, 25, body);
  p.Box(8, 6, 15, 9, body);
  p.Ring(16, 18, 4, 6, {40, 40, 48});
  p.Disc(16, 18, 4, {90, 150, 230});
  return p;
}

Picture FixedCamera() {
  Picture p = CameraShape({220, 120, 40});
  // A tripod: it does not move.
  for (int i = 0; i < 6; ++i) {
    p.Set(16 - i, 26 + i, {200, 200, 200});
    p.Set(16, 26 + i, {200, 200, 200});
    p.Set(16 + i, 26 + i, {200, 200, 200});
  }
  return p;
}

Picture Sink() {
  Picture p;
  p.Ring(16, 16, 12, 14, {40, 200, 220});
  p.Ring(16, 16, 6, 8, {40, 160, 220});
  p.Disc(16, 16, 2.5, {200, 240, 255});
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_markers OUTPUT_FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const std::array<std::pair<const char*, Picture>, 4> pictures{{
      {"Light.bmp", Light()},
      {"Camera.bmp", CameraShape({170, 170, 180})},
      {"FixedCamera.bmp", FixedCamera()},
      {"Sink.bmp", Sink()},
  }};
  for (const auto& [name, picture] : pictures) {
    if (!WriteBmp(folder / name, picture)) {
      std::fprintf(stderr, "make_markers: can't write %s\n", (folder / name).string().c_str());
      return 1;
    }
  }
  return 0;
}
