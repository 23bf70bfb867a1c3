#include "level/mesh.h"

#include <algorithm>
#include <string>
#include <tuple>

#include "level/byte_cursor.h"

namespace slab {
namespace {

MeshVertex ReadVertex(ByteCursor& cursor) {
  MeshVertex v;
  v.X = cursor.ReadI16();
  v.Y = cursor.ReadI16();
  v.Z = cursor.ReadI16();
  return v;
}

template <size_t N>
std::array<int16_t, N> ReadIndices(ByteCursor& cursor) {
  std::array<int16_t, N> indices{};
  for (auto& index : indices) index = cursor.ReadI16();
  return indices;
}

}  // namespace

Mesh ParseMesh(std::span<const uint8_t> meshData, size_t& offset, Game gameVersion) {
  ByteCursor cursor(meshData, 0, "the mesh data");
  const std::string where = " of the mesh at byte " + std::to_string(offset);
  // Meshes are read when drawn, not when the level opens: a negative count there reads as an
  // empty list, so one damaged mesh leaves the rest of the level usable.
  auto listSize = [](int16_t count) { return std::max<int64_t>(count, 0); };
  cursor.SetContext("the start" + where);
  cursor.Seek(offset);

  const bool withEffects = gameVersion >= Game::TR4;
  const size_t texturedWords = withEffects ? 2 : 1;
  Mesh mesh;

  cursor.SetContext("the centre and radius" + where);
  mesh.Centre = ReadVertex(cursor);
  mesh.Radius = cursor.ReadI32();

  cursor.SetContext("the vertices" + where);
  mesh.NumVertices = cursor.ReadI16();
  cursor.ReadEach(mesh.Vertices, listSize(mesh.NumVertices), 6,
                  [&](MeshVertex& v) { v = ReadVertex(cursor); });

  cursor.SetContext("the normals" + where);
  mesh.NumNormals = cursor.ReadI16();
  if (mesh.NumNormals > 0) {
    cursor.ReadEach(mesh.Normals, mesh.NumNormals, 6,
                    [&](MeshVertex& v) { v = ReadVertex(cursor); });
  } else {
    cursor.ReadEach(mesh.Lights, -static_cast<int64_t>(mesh.NumNormals), 2,
                    [&](int16_t& light) { light = cursor.ReadI16(); });
  }

  // A face list: its count, then each face's corner indices and what follows them (the
  // texture word and, from the fourth game on, the effects word; or the colour).
  auto readFaces = [&](const char* what, int16_t& count, auto& faces, size_t faceBytes) {
    cursor.SetContext(what + where);
    count = cursor.ReadI16();
    cursor.ReadEach(faces, listSize(count), faceBytes, [&](auto& face) {
      face.Vertices = ReadIndices<std::tuple_size_v<decltype(face.Vertices)>>(cursor);
      if constexpr (requires { face.Colour; }) {
        face.Colour = cursor.ReadI16();
      } else {
        face.Texture = cursor.ReadI16();
        if (withEffects) face.Effects = cursor.ReadI16();
      }
    });
  };
  readFaces("the textured quads", mesh.NumTexturedQuads, mesh.TexturedQuads,
            2 * (4 + texturedWords));
  readFaces("the textured triangles", mesh.NumTexturedTriangles, mesh.TexturedTriangles,
            2 * (3 + texturedWords));
  if (!withEffects) {
    readFaces("the coloured quads", mesh.NumColouredQuads, mesh.ColouredQuads, 10);
    readFaces("the coloured triangles", mesh.NumColouredTriangles, mesh.ColouredTriangles, 8);
  }

  offset = cursor.Pos();
  return mesh;
}

}  // namespace slab
