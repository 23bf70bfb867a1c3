#include "preview3d/matrix.h"

#include <cmath>

namespace slab {
namespace {

Vec3 Sub(Vec3 a, Vec3 b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
Vec3 Cross(Vec3 a, Vec3 b) {
  return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
float Dot(Vec3 a, Vec3 b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }
Vec3 Normalise(Vec3 a) {
  const float length = std::sqrt(Dot(a, a));
  if (length == 0) return a;
  return {a.X / length, a.Y / length, a.Z / length};
}

}  // namespace

Mat4 Identity() {
  Mat4 m;
  for (int i = 0; i < 4; ++i) m.M[i][i] = 1;
  return m;
}

Mat4 RotateY(float angle) {
  Mat4 m = Identity();
  const float c = std::cos(angle), s = std::sin(angle);
  m.M[0][0] = c;
  m.M[0][2] = -s;
  m.M[2][0] = s;
  m.M[2][2] = c;
  return m;
}

Mat4 RotateX(float angle) {
  Mat4 m = Identity();
  const float c = std::cos(angle), s = std::sin(angle);
  m.M[1][1] = c;
  m.M[1][2] = s;
  m.M[2][1] = -s;
  m.M[2][2] = c;
  return m;
}

Mat4 Multiply(const Mat4& a, const Mat4& b) {
  Mat4 r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a.M[i][k] * b.M[k][j];
      r.M[i][j] = sum;
    }
  return r;
}

Mat4 ViewMatrix(Vec3 eye, Vec3 target, Vec3 up) {
  const Vec3 z = Normalise(Sub(target, eye));
  const Vec3 x = Normalise(Cross(up, z));
  const Vec3 y = Cross(z, x);
  Mat4 m = Identity();
  m.M[0] = {x.X, y.X, z.X, 0};
  m.M[1] = {x.Y, y.Y, z.Y, 0};
  m.M[2] = {x.Z, y.Z, z.Z, 0};
  m.M[3] = {-Dot(x, eye), -Dot(y, eye), -Dot(z, eye), 1};
  return m;
}

Mat4 ProjectionMatrix(float nearPlane, float farPlane, float fovY, float aspect) {
  const float yScale = 1.0f / std::tan(fovY / 2);
  Mat4 m;
  m.M[0][0] = yScale / (aspect > 0 ? aspect : 1.0f);
  m.M[1][1] = yScale;
  m.M[2][2] = (farPlane + nearPlane) / (farPlane - nearPlane);
  m.M[2][3] = 1;
  m.M[3][2] = -2 * farPlane * nearPlane / (farPlane - nearPlane);
  return m;
}

std::array<float, 4> TransformPoint(Vec3 p, const Mat4& m) {
  std::array<float, 4> out{};
  const std::array<float, 4> v{p.X, p.Y, p.Z, 1};
  for (int j = 0; j < 4; ++j)
    for (int k = 0; k < 4; ++k)
      out[static_cast<size_t>(j)] += v[static_cast<size_t>(k)] * m.M[k][j];
  return out;
}

}  // namespace slab
