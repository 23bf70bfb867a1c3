// The meshes of a converted level in the older layout: no effects word per textured face,
// and the two coloured face lists after the textured ones.
#include <map>

#include "level/byte_cursor.h"
#include "write/convert_tr4.h"
#include "write/record_writers.h"

namespace slab {

void AppendClassicMesh(const Mesh& mesh, ByteWriter& out) {
  // The first three games share one mesh layout. Counts come from the lists, so a negative
  // count the parser read as empty stays empty.
  RecordWriter io(out);
  Transfer(io, mesh, Game::TR3);
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
  ByteWriter meshData;
  std::map<int32_t, int32_t> written;  // old offset -> new offset
  for (size_t i = 0; i < level.MeshPointers.size(); ++i) {
    const int32_t old = level.MeshPointers[i];
    auto [at, added] = written.emplace(old, static_cast<int32_t>(meshData.Size()));
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
      AppendClassicMesh(mesh, meshData);
    }
    result.MeshPointers.push_back(at->second);
  }
  result.MeshData = std::move(meshData.Bytes());
  return result;
}

}  // namespace slab
