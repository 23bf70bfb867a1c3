#include "preview3d/room_faces.h"

namespace slab {
namespace {

bool Usable(const Level& level, std::span<const TextureTile> tiles, int index) {
  return index >= 0 && static_cast<size_t>(index) < level.ObjectTextures.size() &&
         static_cast<size_t>(index) < tiles.size();
}

template <size_t N>
bool VerticesExist(const Room& room, const std::array<int16_t, N>& corners) {
  for (int16_t c : corners)
    if (c < 0 || static_cast<size_t>(c) >= room.Vertices.size()) return false;
  return true;
}

// Positions, colours and inset texture coordinates for corners in the given order.
template <size_t N, size_t K>
void FillCorners(const Room& room, const std::array<int16_t, N>& corners,
                 const std::array<int, K>& order, const ObjectTexture& texture,
                 const TextureTile& tile, uint32_t colour, std::array<LitVertex, 5>& scratch) {
  for (size_t k = 0; k < K; ++k) {
    const int c = order[k];
    LitVertex v = ScenePoint(room.Vertices[static_cast<size_t>(corners[c])], colour);
    v.U = InsetCoordinate(CornerCoordinate(texture.Corners[c].XPixel), tile.X);
    v.V = InsetCoordinate(CornerCoordinate(texture.Corners[c].YPixel), tile.Y);
    scratch[k] = v;
  }
}

}  // namespace

TextureWord QuadTextureWord(int16_t texture) {
  TextureWord word;
  int32_t t = texture;
  if (t == -1) {
    word.Colour = kRed;
    t = 0x8000;
  }
  if (t < 0) t += 65536;
  word.Full = t;
  word.Index = t % 4096;
  word.DoubleSided = (t & 0x8000) != 0;
  return word;
}

TextureWord TriangleTextureWord(int16_t texture) {
  TextureWord word;
  int32_t t = texture;
  if (t < 0) t += 65536;
  word.Full = t;
  word.Index = t % 4096;
  return word;
}

void HighlightSelectedSector(std::span<LitVertex> scratch, int count, SelectedSector selected) {
  const auto a = static_cast<float>(selected.X);
  const auto b = static_cast<float>(selected.Z);
  for (int k = 0; k < count; ++k) {
    const LitVertex& v = scratch[static_cast<size_t>(k)];
    if ((v.X != a && v.X != a + 1) || (v.Z != b && v.Z != b + 1)) return;
  }
  for (LitVertex& v : scratch) v.Colour = kRed;
}

void BuildRoomFaces(const Level& level, std::span<const TextureTile> tiles, int roomNumber,
                    SelectedSector selected, RoomFaceList& list) {
  if (roomNumber < 0 || static_cast<size_t>(roomNumber) >= level.Rooms.size()) return;
  const Room& room = level.Rooms[static_cast<size_t>(roomNumber)];
  const auto roomTag = static_cast<int16_t>(roomNumber);
  std::array<LitVertex, 5> scratch{};

  for (const RoomQuad& quad : room.Rectangles) {
    const TextureWord word = QuadTextureWord(quad.Texture);
    if (!Usable(level, tiles, word.Index) || !VerticesExist(room, quad.Vertices)) continue;
    const ObjectTexture& texture = level.ObjectTextures[static_cast<size_t>(word.Index)];
    const TextureTile& tile = tiles[static_cast<size_t>(word.Index)];
    FillCorners(room, quad.Vertices, std::array{0, 1, 2, 3, 0}, texture, tile, word.Colour,
                scratch);
    HighlightSelectedSector(scratch, 5, selected);

    PreparedFace face;
    face.VertexCount = 5;
    face.Vertices = scratch;
    face.Surface = tile.Page;
    face.Room = roomTag;
    list.Faces.push_back(face);
    list.FaceAttributes.push_back(texture.Attribute);
    if (word.DoubleSided) {
      PreparedFace back = face;
      const std::array order{1, 0, 3, 2, 1};
      for (size_t k = 0; k < 5; ++k) back.Vertices[k] = scratch[static_cast<size_t>(order[k])];
      list.Faces.push_back(back);
      list.FaceAttributes.push_back(texture.Attribute);
    }
  }

  for (const RoomTriangle& triangle : room.Triangles) {
    const TextureWord word = TriangleTextureWord(triangle.Texture);
    if (!Usable(level, tiles, word.Index) || !VerticesExist(room, triangle.Vertices)) continue;
    const ObjectTexture& texture = level.ObjectTextures[static_cast<size_t>(word.Index)];
    const TextureTile& tile = tiles[static_cast<size_t>(word.Index)];
    FillCorners(room, triangle.Vertices, std::array{0, 1, 2}, texture, tile, kWhite, scratch);

    PreparedFace face;
    face.VertexCount = 3;
    face.Vertices = scratch;
    face.Vertices[3] = face.Vertices[4] = LitVertex{};
    face.Surface = tile.Page;
    face.Room = roomTag;
    list.Faces.push_back(face);
    list.FaceAttributes.push_back(texture.Attribute);
  }
}

RoomOffset RoomTranslation(const Level& level, int room) {
  if (room < 0 || static_cast<size_t>(room) >= level.Rooms.size()) return {};
  const RoomInfo& info = level.Rooms[static_cast<size_t>(room)].Info;
  return {SceneUnits(info.X), 0.0f, SceneUnits(info.Z)};
}

}  // namespace slab
