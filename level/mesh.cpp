#include "level/mesh.h"

#include <string>

#include "level/byte_cursor.h"
#include "level/record_transfer.h"

namespace slab {

Mesh ParseMesh(std::span<const uint8_t> meshData, size_t& offset, Game gameVersion) {
  ByteCursor cursor(meshData, 0, "the mesh data");
  const std::string where = " of the mesh at byte " + std::to_string(offset);
  cursor.SetContext("the start" + where);
  cursor.Seek(offset);
  Mesh mesh;
  RecordReader io(cursor, where);
  Transfer(io, mesh, gameVersion);
  offset = cursor.Pos();
  return mesh;
}

}  // namespace slab
