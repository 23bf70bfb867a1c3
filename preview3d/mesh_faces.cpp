#include "preview3d/mesh_faces.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "level/byte_cursor.h"
#include "level/text.h"
#include "preview3d/room_faces.h"

namespace slab {
namespace {

template <size_t N>
bool VerticesExist(const Mesh& mesh, const std::array<int16_t, N>& corners) {
  for (int16_t c : corners)
    if (c < 0 || static_cast<size_t>(c) >= mesh.Vertices.size()) return false;
  return true;
}

// The object texture a mesh face's texture word names: its low 12 bits, as on room faces.
// Fourth-game objects set flag bits above them, the top one for a face seen from both sides.
struct MeshTextureWord {
  size_t Index = 0;
  bool DoubleSided = false;
};
MeshTextureWord ReadMeshTextureWord(int16_t texture) {
  const auto word = static_cast<uint16_t>(texture);
  return {static_cast<size_t>(word & 0x0FFFu), (word & 0x8000u) != 0};
}

template <size_t N>
void AddTextured(const Mesh& mesh, const Level& level, std::span<const TextureTile> tiles,
                 const std::array<int16_t, N>& corners, int16_t texture, MeshFaceList& out) {
  const MeshTextureWord word = ReadMeshTextureWord(texture);
  if (word.Index >= level.ObjectTextures.size() || word.Index >= tiles.size() ||
      !VerticesExist(mesh, corners))
    return;
  const ObjectTexture& objectTexture = level.ObjectTextures[word.Index];
  const TextureTile& tile = tiles[word.Index];
  MeshFace face;
  face.VertexCount = N == 4 ? 5 : 3;
  for (size_t k = 0; k < static_cast<size_t>(face.VertexCount); ++k) {
    const size_t c = k % N;
    LitVertex v = ScenePoint(mesh.Vertices[static_cast<size_t>(corners[c])], kWhite);
    v.U = InsetCoordinate(CornerCoordinate(objectTexture.Corners[c].XPixel), tile.X);
    v.V = InsetCoordinate(CornerCoordinate(objectTexture.Corners[c].YPixel), tile.Y);
    face.Vertices[k] = v;
  }
  face.Surface = tile.Page;
  out.push_back(face);
  if (!word.DoubleSided) return;
  // The back: the same corners in the other turning order, so culling keeps it from behind.
  MeshFace back = face;
  constexpr auto kBack = [] {
    if constexpr (N == 4)
      return std::array<size_t, 5>{1, 0, 3, 2, 1};
    else
      return std::array<size_t, 3>{1, 0, 2};
  }();
  for (size_t k = 0; k < kBack.size(); ++k) back.Vertices[k] = face.Vertices[kBack[k]];
  out.push_back(back);
}

uint32_t FaceColour(const Level& level, Game gameVersion, int16_t colour) {
  const auto word = static_cast<uint16_t>(colour);
  if (gameVersion == Game::TR1) {
    const size_t i = (word & 0xFF) * 3u;  // a palette has 256 entries
    return uint32_t{static_cast<uint8_t>(level.Palette[i] * 4)} << 16 |
           uint32_t{static_cast<uint8_t>(level.Palette[i + 1] * 4)} << 8 |
           uint32_t{static_cast<uint8_t>(level.Palette[i + 2] * 4)};
  }
  const size_t i = ((word & 0xFF00) / 256u) * 4u;
  return uint32_t{level.Palette16[i]} << 16 | uint32_t{level.Palette16[i + 1]} << 8 |
         uint32_t{level.Palette16[i + 2]};
}

template <size_t N>
void AddColoured(const Mesh& mesh, const Level& level, Game gameVersion,
                 const std::array<int16_t, N>& corners, int16_t colour, MeshFaceList& out) {
  if (!VerticesExist(mesh, corners)) return;
  const uint32_t c = FaceColour(level, gameVersion, colour);
  MeshFace face;
  face.VertexCount = N == 4 ? 5 : 3;
  for (size_t k = 0; k < static_cast<size_t>(face.VertexCount); ++k)
    face.Vertices[k] = ScenePoint(mesh.Vertices[static_cast<size_t>(corners[k % N])], c);
  face.Surface = kNoSurface;
  out.push_back(face);
}

// Reports the first unreadable mesh and how many more followed, once per build.
struct MeshTrouble {
  std::string First;
  int More = 0;
  void Note(int pointerIndex, const std::string& why) {
    if (First.empty())
      First = "Mesh" + NumText(pointerIndex) + " can't be read: " + why;
    else
      ++More;
  }
  void Report(MessageSink& messages) const {
    if (First.empty()) return;
    std::string text = First;
    if (More > 0) text += " (and" + NumText(More) + " more)";
    messages.Show(text);
  }
};

std::optional<Mesh> MeshAt(const Level& level, int pointerIndex, Game gameVersion,
                           MeshTrouble& trouble) {
  if (pointerIndex < 0 || static_cast<size_t>(pointerIndex) >= level.MeshPointers.size()) {
    trouble.Note(pointerIndex, "there is no such mesh pointer");
    return std::nullopt;
  }
  const int32_t pointer = level.MeshPointers[static_cast<size_t>(pointerIndex)];
  if (pointer < 0) {
    trouble.Note(pointerIndex, "its pointer is negative");
    return std::nullopt;
  }
  try {
    size_t offset = static_cast<size_t>(pointer);
    return ParseMesh(level.MeshData, offset, gameVersion);
  } catch (const FormatError& e) {
    trouble.Note(pointerIndex, e.what());
    return std::nullopt;
  }
}

}  // namespace

MeshFaceList BuildMeshFaces(const Mesh& mesh, const Level& level,
                            std::span<const TextureTile> tiles, Game gameVersion,
                            bool withColoured) {
  MeshFaceList faces;
  for (const auto& q : mesh.TexturedQuads)
    AddTextured(mesh, level, tiles, q.Vertices, q.Texture, faces);
  for (const auto& t : mesh.TexturedTriangles)
    AddTextured(mesh, level, tiles, t.Vertices, t.Texture, faces);
  if (withColoured) {
    for (const auto& q : mesh.ColouredQuads)
      AddColoured(mesh, level, gameVersion, q.Vertices, q.Colour, faces);
    for (const auto& t : mesh.ColouredTriangles)
      AddColoured(mesh, level, gameVersion, t.Vertices, t.Colour, faces);
  }
  return faces;
}

std::vector<MeshFaceList> BuildStaticMeshes(const Level& level, std::span<const TextureTile> tiles,
                                            Game gameVersion, MessageSink& messages) {
  std::vector<MeshFaceList> result(level.StaticMeshDefs.size());
  MeshTrouble trouble;
  for (size_t k = 0; k < level.StaticMeshDefs.size(); ++k) {
    if (auto mesh = MeshAt(level, level.StaticMeshDefs[k].Mesh, gameVersion, trouble))
      result[k] = BuildMeshFaces(*mesh, level, tiles, gameVersion, false);
  }
  trouble.Report(messages);
  return result;
}

std::vector<MoveableMeshFaces> BuildMoveableMeshes(const Level& level,
                                                   std::span<const TextureTile> tiles,
                                                   Game gameVersion, MessageSink& messages) {
  std::vector<MoveableMeshFaces> result(level.Moveables.size());
  MeshTrouble trouble;
  for (size_t i = 0; i < level.Moveables.size(); ++i) {
    const Moveable& moveable = level.Moveables[i];
    MoveableMeshFaces& entry = result[i];
    entry.MeshCount = moveable.NumMeshes;
    entry.Meshes.resize(static_cast<size_t>(std::max<int>(0, moveable.NumMeshes)));
    for (size_t j = 0; j < entry.Meshes.size(); ++j) {
      if (auto mesh =
              MeshAt(level, moveable.StartingMesh + static_cast<int>(j), gameVersion, trouble))
        entry.Meshes[j] = BuildMeshFaces(*mesh, level, tiles, gameVersion, true);
    }
  }
  trouble.Report(messages);
  return result;
}

int16_t StaticMeshIndex(const Level& level, int32_t id) {
  for (size_t k = 0; k < level.StaticMeshDefs.size(); ++k)
    if (level.StaticMeshDefs[k].ID == id) return static_cast<int16_t>(k);
  return 0;
}

float StaticMeshAngle(uint16_t rotation) {
  const auto rot = static_cast<int16_t>(rotation);
  float a = -(static_cast<float>(rot) / 16384.0f * 1.57f);
  // A negative heading wraps by the full turn. Mirroring it and adding a half turn instead
  // agrees only at the right angles and would turn a mesh at 45 degrees to 135.
  if (a < 0) a += 6.28f;
  return a;
}

}  // namespace slab
