// Items and AI objects of the main window's 3D view: each one as its moveable, posed in the
// first frame of its animation, or as its sprite. Built once per set of shown rooms, in world
// positions, so drawing them costs no more than drawing a room.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "level/level.h"
#include "preview3d/lit_vertex.h"
#include "preview3d/mesh_faces.h"

namespace slab {

// A mesh's turn in one frame, in radians. The game turns a mesh about Y, then X, then Z:
// the matrix is Ry * Rx * Rz, so a vertex meets Z first.
struct FrameRotation {
  float X = 0, Y = 0, Z = 0;
};

struct AnimationFrame {
  std::array<int16_t, 3> Offset{};       // where mesh 0 sits, game units
  std::vector<FrameRotation> Rotations;  // one per mesh
  bool Complete = false;                 // false when the frame ran out before the last mesh
};

// Reads the frame whose bounding box starts at word start of frames, for meshCount meshes.
// First game: a mesh-count word after the offset, then two words per mesh holding all three
// axes, the low half first. Later games: the first word's top bits choose one axis (one word;
// 10-bit angle up to the third game, 12-bit from the fourth) or all three (two words, high
// half first, 10 bits each). Rotations the frame does not hold stay zero.
AnimationFrame ReadAnimationFrame(std::span<const int16_t> frames, size_t start, int meshCount,
                                  Game gameVersion);

// A placement in game units (Y down): v' = R v + T, column vectors as the game has them.
struct GamePose {
  std::array<std::array<float, 3>, 3> R{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  std::array<float, 3> T{};
};
GamePose Compose(const GamePose& outer, const GamePose& inner);  // inner first, then outer
std::array<float, 3> Apply(const GamePose& pose, std::array<float, 3> v);
// The game's turns: RotY(a) takes +Z towards +X, so angle 16384 of 65536 faces east.
GamePose GameRotation(FrameRotation rotation);

// Where each mesh of the moveable lies relative to the object's origin: mesh 0 at the frame
// offset, each later mesh at its mesh-tree offset from its parent. The tree's flags pop the
// parent from a stack (bit 0) and then push it (bit 1); a pop from an empty stack keeps the
// parent, and tree words past the list read as zero. The frame is the one at the moveable's
// FrameOffset / 2.
struct MoveablePose {
  std::vector<GamePose> Meshes;
  bool Complete = true;  // false when the frame or the tree was cut short
};
MoveablePose PoseMoveable(const Level& level, const Moveable& moveable, Game gameVersion);

// A sprite stands upright at (X, Y, Z) and turns to face the camera; its face lies in its own
// plane (X right, Y up, sector units) with the item at the origin.
struct ItemSprite {
  float X = 0, Y = 0, Z = 0;
  MeshFace Face;
  int Entity = -1;  // the item or AI object, numbered as the item panel numbers them
};

struct ItemFaces {
  MeshFaceList Faces;             // moveable items and AI objects, world positions in sector units
  std::vector<int> FaceEntities;  // for each face, the item or AI object it belongs to
  std::vector<ItemSprite> Sprites;
  int Unplaced = 0;  // items drawn with a cut-short frame or tree
  int Unknown = 0;   // items whose id names neither a moveable nor a sprite sequence
};

// The items and AI objects standing in the given rooms. An item is its moveable (the first
// with the item's ObjectID) when there is one, else the first sprite of its sprite sequence.
// Each is turned about Y by its Angle (65536 to a full turn) and moved to its position / 1024
// with Y negated. A sprite on a page the strip does not have (pageCount) is left out.
ItemFaces BuildItemFaces(const Level& level, std::span<const MoveableMeshFaces> moveables,
                         std::span<const int> rooms, Game gameVersion, int pageCount);

}  // namespace slab
