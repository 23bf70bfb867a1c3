#include "level/mesh.h"

#include <algorithm>
#include <string>

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

  cursor.SetContext("the textured quads" + where);
  mesh.NumTexturedQuads = cursor.ReadI16();
  cursor.ReadEach(mesh.TexturedQuads, listSize(mesh.NumTexturedQuads), 2 * (4 + texturedWords),
                  [&](MeshTexturedQuad& q) {
                    q.Vertices = ReadIndices<4>(cursor);
                    q.Texture = cursor.ReadI16();
                    if (withEffects) q.Effects = cursor.ReadI16();
                  });

  cursor.SetContext("the textured triangles" + where);
  mesh.NumTexturedTriangles = cursor.ReadI16();
  cursor.ReadEach(mesh.TexturedTriangles, listSize(mesh.NumTexturedTriangles),
                  2 * (3 + texturedWords), [&](MeshTexturedTriangle& t) {
                    t.Vertices = ReadIndices<3>(cursor);
                    t.Texture = cursor.ReadI16();
                    if (withEffects) t.Effects = cursor.ReadI16();
                  });

  if (!withEffects) {
    cursor.SetContext("the coloured quads" + where);
    mesh.NumColouredQuads = cursor.ReadI16();
    cursor.ReadEach(mesh.ColouredQuads, listSize(mesh.NumColouredQuads), 10,
                    [&](MeshColouredQuad& q) {
                      q.Vertices = ReadIndices<4>(cursor);
                      q.Colour = cursor.ReadI16();
                    });
    cursor.SetContext("the coloured triangles" + where);
    mesh.NumColouredTriangles = cursor.ReadI16();
    cursor.ReadEach(mesh.ColouredTriangles, listSize(mesh.NumColouredTriangles), 8,
                    [&](MeshColouredTriangle& t) {
                      t.Vertices = ReadIndices<3>(cursor);
                      t.Colour = cursor.ReadI16();
                    });
  }

  offset = cursor.Pos();
  return mesh;
}

}  // namespace slab
