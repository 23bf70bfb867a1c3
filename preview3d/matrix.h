// 4 x 4 matrices for row vectors (v' = v * M, translation in the fourth row) in a left-handed
// frame: X right, Y up, Z into the screen. Positions are the game's with Y negated, which is
// left-handed as well, so the picture is never mirrored against the game.
#pragma once

#include <array>

namespace slab {

struct Vec3 {
  float X = 0, Y = 0, Z = 0;
};

struct Mat4 {
  std::array<std::array<float, 4>, 4> M{};  // M[row][column]
};

Mat4 Identity();
// Turning about Y by angle radians: (1, 0, 0) goes to (cos, 0, -sin).
Mat4 RotateY(float angle);
Mat4 RotateX(float angle);
Mat4 Multiply(const Mat4& a, const Mat4& b);  // first a, then b
// Looking from eye at target, up being +Y.
Mat4 ViewMatrix(Vec3 eye, Vec3 target, Vec3 up = {0, 1, 0});
// fovY in radians; depth runs to -1 at the near and +1 at the far plane (OpenGL's clip space).
Mat4 ProjectionMatrix(float nearPlane, float farPlane, float fovY, float aspect);
// Homogeneous transform of a point: x, y, z, w.
std::array<float, 4> TransformPoint(Vec3 p, const Mat4& m);

inline constexpr float kNearPlane = 0.1f;
inline constexpr float kFarPlane = 100.0f;
inline constexpr float kFieldOfView = 3.141592653f / 2;

}  // namespace slab
