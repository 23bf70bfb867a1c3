// The vertex and face records the 3D preview draws: pre-lit, textured, in sector units
// (game units / 1024) with the game's downward Y turned upward.
#pragma once

#include <array>
#include <cstdint>
#include <type_traits>

namespace slab {

struct LitVertex {
  float X = 0, Y = 0, Z = 0;
  int32_t Reserved = 0;
  uint32_t Colour = 0;    // 0xAARRGGBB
  uint32_t Specular = 0;  // as Colour when the face is made
  float U = 0, V = 0;
};
static_assert(sizeof(LitVertex) == 32 && std::is_trivially_copyable_v<LitVertex>);

inline constexpr uint32_t kWhite = 0x00FFFFFF;
inline constexpr uint32_t kRed = 0x00FF0000;

// A fan of 5 vertices for a four-cornered face (the first corner repeated at the end) or of
// 3 for a three-cornered one.
struct PreparedFace {
  int32_t VertexCount = 0;
  std::array<LitVertex, 5> Vertices{};
  int32_t Surface = 0;  // texture page
  int16_t Room = 0;     // selects the translation the face is drawn with
};

struct MeshFace {
  int32_t VertexCount = 0;
  std::array<LitVertex, 5> Vertices{};
  int32_t Surface = 0;  // texture page; kNoSurface for a coloured face
};

// Coloured moveable faces have no page; they are drawn with a plain white texture.
inline constexpr int32_t kNoSurface = -1;

}  // namespace slab
