#include "preview3d/item_faces.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "preview3d/scene_units.h"

namespace slab {

// Game units a scene unit (a sector) holds.
constexpr float kUnits = kSectorUnits;
namespace {

constexpr float kTurn = 6.283185307f;
constexpr size_t kFrameHeaderWords = 9;  // bounding box (6), offset (3)
constexpr size_t kTreeEntryWords = 4;    // flags, X, Y, Z

float Angle10(uint32_t units) { return static_cast<float>(units & 0x3FF) * kTurn / 1024.0f; }

// All three axes packed in 32 bits: X in bits 20-29, Y in 10-19, Z in 0-9.
FrameRotation ThreeAxes(uint32_t packed) {
  return {Angle10(packed >> 20), Angle10(packed >> 10), Angle10(packed)};
}

GamePose RotY(float a) {
  const float c = std::cos(a), s = std::sin(a);
  GamePose p;
  p.R = {{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
  return p;
}
GamePose RotX(float a) {
  const float c = std::cos(a), s = std::sin(a);
  GamePose p;
  p.R = {{{1, 0, 0}, {0, c, -s}, {0, s, c}}};
  return p;
}
GamePose RotZ(float a) {
  const float c = std::cos(a), s = std::sin(a);
  GamePose p;
  p.R = {{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
  return p;
}
GamePose Move(float x, float y, float z) {
  GamePose p;
  p.T = {x, y, z};
  return p;
}

// A vertex of the moveable's faces (sector units, Y up) through a game-unit pose.
LitVertex Placed(const GamePose& pose, LitVertex v) {
  const std::array<float, 3> p = Apply(pose, {v.X * kUnits, -v.Y * kUnits, v.Z * kUnits});
  v.X = p[0] / kUnits;
  v.Y = -p[1] / kUnits;
  v.Z = p[2] / kUnits;
  return v;
}

// The first sprite of a sequence as a quad in its own plane. Up to the third game the sides
// are game units around the item and Width / Height hold n texels as n * 256 - 1;
// from the fourth game the sides are the texel rectangle itself and no size in the world is
// stored, so a texel is drawn 4 units wide.
std::optional<MeshFace> SpriteFace(const SpriteTexture& t, Game gameVersion, int pageCount) {
  if (t.Tile >= pageCount) return std::nullopt;
  float u0, v0, u1, v1, left, top, right, bottom;
  if (gameVersion >= Game::TR4) {
    u0 = t.LeftSide, v0 = t.TopSide, u1 = t.RightSide, v1 = t.BottomSide;
    const float halfWidth = (u1 - u0) * 2.0f;
    left = -halfWidth, right = halfWidth, top = -(v1 - v0) * 4.0f, bottom = 0;
  } else {
    u0 = t.X, v0 = t.Y;
    u1 = u0 + static_cast<float>((t.Width + 1) / 256);
    v1 = v0 + static_cast<float>((t.Height + 1) / 256);
    left = t.LeftSide, right = t.RightSide, top = t.TopSide, bottom = t.BottomSide;
  }
  if (u1 <= u0 || v1 <= v0) return std::nullopt;
  // Half a texel in from each edge so filtering never reaches the neighbouring picture.
  u0 = (u0 + 0.5f) / 256.0f, u1 = (u1 - 0.5f) / 256.0f;
  v0 = (v0 + 0.5f) / 256.0f, v1 = (v1 - 0.5f) / 256.0f;
  const std::array<std::array<float, 4>, 4> corners{
      {{left, top, u0, v0}, {right, top, u1, v0}, {right, bottom, u1, v1}, {left, bottom, u0, v1}}};
  MeshFace face;
  face.VertexCount = 5;
  for (size_t k = 0; k < 5; ++k) {
    const auto& c = corners[k % 4];
    LitVertex& v = face.Vertices[k];
    v.X = c[0] / kUnits;
    v.Y = -c[1] / kUnits;  // the game's Y runs down
    v.U = c[2];
    v.V = c[3];
    v.Colour = v.Specular = kWhite;
  }
  face.Surface = t.Tile;
  return face;
}

struct Placement {
  int16_t ObjectID = 0;
  int32_t X = 0, Y = 0, Z = 0;
  int32_t Angle = 0;
  int Entity = 0;
};

}  // namespace

AnimationFrame ReadAnimationFrame(std::span<const int16_t> frames, size_t start, int meshCount,
                                  Game gameVersion) {
  AnimationFrame frame;
  const size_t meshes = static_cast<size_t>(std::max(meshCount, 0));
  frame.Rotations.resize(meshes);
  auto word = [&](size_t at) -> std::optional<uint16_t> {
    if (start > frames.size() || at >= frames.size() - start) return std::nullopt;
    return static_cast<uint16_t>(frames[start + at]);
  };
  for (size_t i = 0; i < 3; ++i) {
    const auto w = word(6 + i);
    if (!w) return frame;
    frame.Offset[i] = static_cast<int16_t>(*w);
  }
  size_t at = kFrameHeaderWords;
  if (gameVersion == Game::TR1) {
    ++at;  // the mesh count; the moveable's own count decides
    for (size_t m = 0; m < meshes; ++m, at += 2) {
      const auto low = word(at), high = word(at + 1);
      if (!low || !high) return frame;
      frame.Rotations[m] = ThreeAxes(uint32_t{*high} << 16 | *low);
    }
    frame.Complete = true;
    return frame;
  }
  const bool fineAngles = gameVersion >= Game::TR4;
  for (size_t m = 0; m < meshes; ++m) {
    const auto first = word(at);
    if (!first) return frame;
    const uint16_t axis = *first & 0xC000;
    if (axis == 0) {
      const auto second = word(at + 1);
      if (!second) return frame;
      frame.Rotations[m] = ThreeAxes(uint32_t{*first} << 16 | *second);
      at += 2;
      continue;
    }
    const float angle =
        fineAngles ? static_cast<float>(*first & 0xFFF) * kTurn / 4096.0f : Angle10(*first);
    FrameRotation& r = frame.Rotations[m];
    (axis == 0x4000 ? r.X : axis == 0x8000 ? r.Y : r.Z) = angle;
    ++at;
  }
  frame.Complete = true;
  return frame;
}

GamePose Compose(const GamePose& outer, const GamePose& inner) {
  GamePose out;
  for (size_t i = 0; i < 3; ++i) {
    for (size_t j = 0; j < 3; ++j) {
      float sum = 0;
      for (size_t k = 0; k < 3; ++k) sum += outer.R[i][k] * inner.R[k][j];
      out.R[i][j] = sum;
    }
    out.T[i] = outer.T[i];
    for (size_t k = 0; k < 3; ++k) out.T[i] += outer.R[i][k] * inner.T[k];
  }
  return out;
}

std::array<float, 3> Apply(const GamePose& pose, std::array<float, 3> v) {
  std::array<float, 3> out = pose.T;
  for (size_t i = 0; i < 3; ++i)
    for (size_t k = 0; k < 3; ++k) out[i] += pose.R[i][k] * v[k];
  return out;
}

GamePose GameRotation(FrameRotation rotation) {
  return Compose(Compose(RotY(rotation.Y), RotX(rotation.X)), RotZ(rotation.Z));
}

MoveablePose PoseMoveable(const Level& level, const Moveable& moveable, Game gameVersion) {
  MoveablePose pose;
  const int meshCount = std::max<int>(moveable.NumMeshes, 0);
  if (meshCount == 0) return pose;
  AnimationFrame frame;
  if (moveable.FrameOffset >= 0) {
    frame = ReadAnimationFrame(level.Frames, static_cast<size_t>(moveable.FrameOffset) / 2,
                               meshCount, gameVersion);
  } else {
    frame.Rotations.resize(static_cast<size_t>(meshCount));
  }
  pose.Complete = frame.Complete;

  GamePose parent = Compose(Move(frame.Offset[0], frame.Offset[1], frame.Offset[2]),
                            GameRotation(frame.Rotations[0]));
  pose.Meshes.push_back(parent);
  std::vector<GamePose> stack;
  for (size_t j = 1; j < static_cast<size_t>(meshCount); ++j) {
    std::array<int32_t, 4> entry{};
    const int64_t base =
        int64_t{moveable.MeshTree} + static_cast<int64_t>((j - 1) * kTreeEntryWords);
    for (size_t w = 0; w < kTreeEntryWords; ++w) {
      const int64_t at = base + static_cast<int64_t>(w);
      if (at < 0 || static_cast<size_t>(at) >= level.MeshTrees.size()) {
        pose.Complete = false;
        continue;
      }
      entry[w] = level.MeshTrees[static_cast<size_t>(at)];
    }
    if ((entry[0] & 1) != 0 && !stack.empty()) {
      parent = stack.back();
      stack.pop_back();
    }
    if ((entry[0] & 2) != 0) stack.push_back(parent);
    parent =
        Compose(Compose(parent, Move(static_cast<float>(entry[1]), static_cast<float>(entry[2]),
                                     static_cast<float>(entry[3]))),
                GameRotation(frame.Rotations[j]));
    pose.Meshes.push_back(parent);
  }
  return pose;
}

ItemFaces BuildItemFaces(const Level& level, std::span<const MoveableMeshFaces> moveables,
                         std::span<const int> rooms, Game gameVersion, int pageCount) {
  ItemFaces out;
  std::vector<Placement> placements;
  auto shown = [&](int room) { return std::find(rooms.begin(), rooms.end(), room) != rooms.end(); };
  const int numItems = static_cast<int>(level.Items.size());
  for (int i = 0; i < numItems; ++i) {
    const Item& item = level.Items[static_cast<size_t>(i)];
    if (shown(item.Room))
      placements.push_back({item.ObjectID, item.X, item.Y, item.Z, item.Angle, i});
  }
  for (size_t k = 0; k < level.AIObjects.size(); ++k) {
    const AIObject& ai = level.AIObjects[k];
    if (shown(ai.Room))
      placements.push_back(
          {ai.ObjectID, ai.X, ai.Y, ai.Z, ai.Angle, numItems + static_cast<int>(k)});
  }
  if (placements.empty()) return out;

  // Each moveable is posed once, however many items share it.
  std::map<int32_t, size_t> moveableOf;
  for (size_t i = 0; i < level.Moveables.size() && i < moveables.size(); ++i)
    moveableOf.emplace(level.Moveables[i].ObjectID, i);
  std::map<size_t, MoveablePose> poses;

  for (const Placement& p : placements) {
    GamePose itemPose =
        Compose(Move(static_cast<float>(p.X), static_cast<float>(p.Y), static_cast<float>(p.Z)),
                RotY(static_cast<float>(p.Angle) * kTurn / 65536.0f));
    if (const auto found = moveableOf.find(p.ObjectID); found != moveableOf.end()) {
      const size_t index = found->second;
      auto [at, added] = poses.try_emplace(index);
      if (added) at->second = PoseMoveable(level, level.Moveables[index], gameVersion);
      const MoveablePose& pose = at->second;
      if (!pose.Complete) ++out.Unplaced;
      const MoveableMeshFaces& faces = moveables[index];
      for (size_t j = 0; j < faces.Meshes.size() && j < pose.Meshes.size(); ++j) {
        const GamePose meshPose = Compose(itemPose, pose.Meshes[j]);
        for (MeshFace face : faces.Meshes[j]) {
          for (int k = 0; k < face.VertexCount; ++k)
            face.Vertices[static_cast<size_t>(k)] =
                Placed(meshPose, face.Vertices[static_cast<size_t>(k)]);
          out.Faces.push_back(face);
          out.FaceEntities.push_back(p.Entity);
        }
      }
      continue;
    }
    const auto sequence =
        std::find_if(level.SpriteSequences.begin(), level.SpriteSequences.end(),
                     [&](const SpriteSequence& s) { return s.SpriteID == p.ObjectID; });
    if (sequence == level.SpriteSequences.end() || sequence->Offset < 0 ||
        static_cast<size_t>(sequence->Offset) >= level.SpriteTextures.size()) {
      ++out.Unknown;
      continue;
    }
    const auto face = SpriteFace(level.SpriteTextures[static_cast<size_t>(sequence->Offset)],
                                 gameVersion, pageCount);
    if (!face) continue;
    const Vec3 at = ScenePosition(p.X, p.Y, p.Z);
    out.Sprites.push_back({at.X, at.Y, at.Z, *face, p.Entity});
  }
  return out;
}

}  // namespace slab
