// The meshes of a converted level in the older layout: no effects word per textured face,
// and the two coloured face lists after the textured ones.
#include <cstring>
#include <map>

#include "level/byte_cursor.h"
#include "write/convert_tr4.h"

namespace slab {

namespace {

// Little-endian words appended straight to the mesh data being built.
struct MeshWriter {
  std::vector<uint8_t>& out;
  template <typename T>
  void Put(T value) {
    const size_t at = out.size();
    out.resize(at + sizeof(T));
    std::memcpy(out.data() + at, &value, sizeof(T));
  }
  void WriteI16(int16_t v) { Put(v); }
  void WriteI32(int32_t v) { Put(v); }
};

void WriteVertices(MeshWriter& w, const std::vector<MeshVertex>& vertices) {
  for (const MeshVertex& v : vertices) {
    w.WriteI16(v.X);
    w.WriteI16(v.Y);
    w.WriteI16(v.Z);
  }
}

template <typename Face>
void WriteFaces(MeshWriter& w, const std::vector<Face>& faces, int16_t Face::*value) {
  w.WriteI16(static_cast<int16_t>(faces.size()));
  for (const Face& face : faces) {
    for (int16_t index : face.Vertices) w.WriteI16(index);
    w.WriteI16(face.*value);
  }
}

}  // namespace

void AppendClassicMesh(const Mesh& mesh, std::vector<uint8_t>& out) {
  MeshWriter w{out};
  w.WriteI16(mesh.Centre.X);
  w.WriteI16(mesh.Centre.Y);
  w.WriteI16(mesh.Centre.Z);
  w.WriteI32(mesh.Radius);
  w.WriteI16(static_cast<int16_t>(mesh.Vertices.size()));
  WriteVertices(w, mesh.Vertices);
  // Counts come from the lists, so a negative count the parser read as empty stays empty.
  if (mesh.NumNormals > 0) {
    w.WriteI16(static_cast<int16_t>(mesh.Normals.size()));
    WriteVertices(w, mesh.Normals);
  } else {
    w.WriteI16(static_cast<int16_t>(-static_cast<int>(mesh.Lights.size())));
    for (int16_t light : mesh.Lights) w.WriteI16(light);
  }
  WriteFaces(w, mesh.TexturedQuads, &MeshTexturedQuad::Texture);
  WriteFaces(w, mesh.TexturedTriangles, &MeshTexturedTriangle::Texture);
  WriteFaces(w, mesh.ColouredQuads, &MeshColouredQuad::Colour);
  WriteFaces(w, mesh.ColouredTriangles, &MeshColouredTriangle::Colour);
}

RewrittenMeshes RewriteMeshes(const Level& level) {
  RewrittenMeshes result;
  result.AdditiveTextures.assign(level.ObjectTextures.size(), false);
  auto markAdditive = [&](int16_t texture, int16_t effects) {
    // The texture word's top bit is a flag, not part of the index.
    const size_t index = static_cast<uint16_t>(texture) & 0x7FFF;
    if ((effects & 1) != 0 && index < result.AdditiveTextures.size())
      result.AdditiveTextures[index] = true;
  };
  std::map<int32_t, int32_t> written;  // old offset -> new offset
  for (size_t i = 0; i < level.MeshPointers.size(); ++i) {
    const int32_t old = level.MeshPointers[i];
    auto [at, added] = written.emplace(old, static_cast<int32_t>(result.MeshData.size()));
    if (added) {
      if (old < 0)
        throw ConversionError("mesh pointer " + std::to_string(i) + " is negative (" +
                              std::to_string(old) + ")");
      size_t offset = static_cast<size_t>(old);
      Mesh mesh;
      try {
        mesh = ParseMesh(level.MeshData, offset, Game::TR4);
      } catch (const FormatError& e) {
        throw ConversionError("mesh pointer " + std::to_string(i) + ": " + e.what() +
                              " of the mesh data");
      }
      for (const auto& q : mesh.TexturedQuads) markAdditive(q.Texture, q.Effects);
      for (const auto& t : mesh.TexturedTriangles) markAdditive(t.Texture, t.Effects);
      AppendClassicMesh(mesh, result.MeshData);
    }
    result.MeshPointers.push_back(at->second);
  }
  return result;
}

}  // namespace slab
