// Checks of what stands in the rooms and what it is drawn with: items, textures, sprites,
// statics and the pathfinding boxes.
#include <algorithm>
#include <set>

#include "check/check_context.h"
#include "level/byte_cursor.h"
#include "level/mesh.h"
#include "level/text.h"

namespace slab::checks {
namespace {

// Room and mesh faces keep a flag above the texture number (double-sided); the games mask it.
constexpr uint16_t kFaceTextureBits = 0x7FFF;
// An object texture's page, less the fourth game's triangle flag.
constexpr uint16_t kTexturePageBits = 0x7FFF;
constexpr int16_t kLaraObject = 0;

int FaceTexture(int16_t texture) { return static_cast<uint16_t>(texture) & kFaceTextureBits; }

int SectorHeight(uint8_t heightByte) { return static_cast<int8_t>(heightByte) * 256; }

}  // namespace

// An item's room is taken as it is to link it into the room's item list; a type without a model
// or sprite leaves the game nothing to draw or run. Inside a wall or outside its room the item
// cannot be reached and its collision reads the sector lists at the wrong place.
void CheckItems(Context& c) {
  std::set<int> types;
  for (const Moveable& m : c.L.Moveables) types.insert(m.ObjectID);
  const bool sprites = c.Kept(c.L.SpriteSequences);
  for (const SpriteSequence& s : c.L.SpriteSequences) types.insert(s.SpriteID);
  int laras = 0;
  for (size_t i = 0; i < c.L.Items.size(); ++i) {
    const Item& item = c.L.Items[i];
    const Place at{.Item = static_cast<int>(i)};
    const std::string name = "Item " + std::to_string(i);
    if (item.ObjectID == kLaraObject) ++laras;
    if (sprites && !types.count(item.ObjectID))
      c.Add("item-model", at,
            name + " is of type " + std::to_string(item.ObjectID) +
                ", for which the level has no model or sprite");
    if (!HasRoom(c.L, item.Room)) {
      c.Add("item-room", at,
            name + " stands in room " + std::to_string(item.Room) +
                LevelHas(c.L.Rooms.size(), "room", "rooms"));
      continue;
    }
    const Room& room = c.L.Rooms[static_cast<size_t>(item.Room)];
    int a = 0, b = 0;
    const std::string where =
        " (X " + std::to_string(item.X) + ", Z " + std::to_string(item.Z) + ")";
    if (!SectorAtWorld(room, item.X, item.Z, a, b)) {
      c.Add("item-outside", at,
            name + " stands outside the sectors of its room " + std::to_string(item.Room) + where);
      continue;
    }
    const Sector& sector = room.SectorAt(a, b);
    if (sector.Floor == kWallMarker && GetDoor(c.L, sector.FDIndex) < 0) {
      c.Add("item-wall", at,
            name + " stands in the wall sector " + SectorPlace(a, b) + " of room " +
                std::to_string(item.Room) + where);
      continue;
    }
    const int floor = SectorHeight(sector.Floor), ceiling = SectorHeight(sector.Ceiling);
    if (sector.RoomBelow == kNoRoom && item.Y > floor)
      c.Add("item-height", at,
            name + " stands at Y " + std::to_string(item.Y) + ", below the floor of room " +
                std::to_string(item.Room) + "'s sector " + SectorPlace(a, b) + " at Y " +
                std::to_string(floor));
    else if (sector.RoomAbove == kNoRoom && item.Y < ceiling)
      c.Add("item-height", at,
            name + " stands at Y " + std::to_string(item.Y) + ", above the ceiling of room " +
                std::to_string(item.Room) + "'s sector " + SectorPlace(a, b) + " at Y " +
                std::to_string(ceiling));
  }
  // The games take one item as Lara; a title or cutscene level without her model needs none.
  if (types.count(kLaraObject) && laras != 1 && c.Kept(c.L.Moveables))
    c.Add("lara-count", {},
          laras == 0 ? "The level has Lara's model but no item of her type"
                     : "The level has " + std::to_string(laras) + " items of Lara's type");
}

// Faces and animated ranges name object textures, and object textures name pages, by number;
// the games look them up without a check, so one past the list draws from whatever follows.
void CheckTextures(Context& c) {
  const size_t textures = c.L.ObjectTextures.size();
  for (size_t r = 0; r < c.L.Rooms.size(); ++r) {
    const Room& room = c.L.Rooms[r];
    auto faces = [&](const auto& list, Record what, const char* word) {
      size_t bad = 0, first = 0;
      for (size_t f = 0; f < list.size(); ++f)
        if (static_cast<size_t>(FaceTexture(list[f].Texture)) >= textures && bad++ == 0) first = f;
      if (bad == 0) return;
      c.Add("texture-room",
            {.Room = static_cast<int>(r), .What = what, .Index = static_cast<int>(first)},
            RoomText(static_cast<int>(r)) + "'s " + word + " " + std::to_string(first) +
                " uses object texture " + std::to_string(FaceTexture(list[first].Texture)) +
                (bad > 1
                     ? " (and " + std::to_string(bad - 1) + " more of its faces are past the list)"
                     : "") +
                LevelHas(textures, "object texture", "object textures"));
    };
    faces(room.Rectangles, Record::RoomRectangle, "rectangle");
    faces(room.Triangles, Record::RoomTriangle, "triangle");
  }
  // Each mesh once, however many pointers share it.
  std::set<int32_t> seen;
  for (size_t m = 0; m < c.L.MeshPointers.size(); ++m) {
    const int32_t pointer = c.L.MeshPointers[m];
    const Place at{.What = Record::Mesh, .Index = static_cast<int>(m)};
    if (!seen.insert(pointer).second) continue;
    if (pointer < 0 || static_cast<size_t>(pointer) >= c.L.MeshData.size()) {
      c.Add("mesh-data", at,
            "Mesh " + std::to_string(m) + " starts at byte " + std::to_string(pointer) +
                "; the mesh data has " + Count(c.L.MeshData.size(), "byte", "bytes"));
      continue;
    }
    Mesh mesh;
    try {
      size_t offset = static_cast<size_t>(pointer);
      mesh = ParseMesh(c.L.MeshData, offset, c.G);
    } catch (const FormatError& e) {
      c.Add("mesh-data", at,
            "Mesh " + std::to_string(m) + " at byte " + std::to_string(pointer) +
                " runs past the mesh data: " + e.what());
      continue;
    }
    int bad = -1;
    for (const auto& q : mesh.TexturedQuads)
      if (static_cast<size_t>(FaceTexture(q.Texture)) >= textures) bad = FaceTexture(q.Texture);
    for (const auto& t : mesh.TexturedTriangles)
      if (static_cast<size_t>(FaceTexture(t.Texture)) >= textures) bad = FaceTexture(t.Texture);
    if (bad >= 0)
      c.Add("texture-mesh", at,
            "Mesh " + std::to_string(m) + " has a face with object texture " + std::to_string(bad) +
                LevelHas(textures, "object texture", "object textures"));
  }
  for (size_t t = 0; t < textures; ++t) {
    const int page = c.L.ObjectTextures[t].Tile & kTexturePageBits;
    if (page >= c.L.NumTextiles)
      c.Add("texture-page", {.What = Record::ObjectTexture, .Index = static_cast<int>(t)},
            "Object texture " + std::to_string(t) + " lies on page " + std::to_string(page) +
                LevelHas(static_cast<size_t>(std::max(c.L.NumTextiles, 0)), "page", "pages"));
  }
  // The ranges: their number, then each range as its length less one and its textures.
  const auto& words = c.L.AnimatedTextures;
  if (words.empty()) return;
  const int ranges = words[0];
  size_t pos = 1;
  for (int range = 0; range < ranges; ++range) {
    const Place at{.What = Record::AnimatedTextures, .Index = static_cast<int>(pos)};
    if (pos >= words.size()) {
      c.Add("texture-animated", at,
            "The animated textures hold " + std::to_string(ranges) + " ranges, but their " +
                Count(words.size(), "word ends", "words end") + " inside range " +
                std::to_string(range));
      return;
    }
    const int length = words[pos] + 1;
    if (length < 0 || pos + 1 + static_cast<size_t>(length) > words.size()) {
      c.Add("texture-animated", at,
            "Animated-texture range " + std::to_string(range) + " has " + std::to_string(length) +
                " textures from word " + std::to_string(pos + 1) + "; the list has " +
                Count(words.size(), "word", "words"));
      return;
    }
    for (size_t k = pos + 1; k <= pos + static_cast<size_t>(length); ++k)
      if (words[k] < 0 || static_cast<size_t>(words[k]) >= textures) {
        c.Add("texture-animated", {.What = Record::AnimatedTextures, .Index = static_cast<int>(k)},
              "Animated-texture range " + std::to_string(range) + " names object texture " +
                  std::to_string(words[k]) +
                  LevelHas(textures, "object texture", "object textures"));
        break;
      }
    pos += 1 + static_cast<size_t>(length);
  }
}

// Room sprites and sprite sequences index the sprite table, placed statics look up their
// definition by id and the definition its mesh by number, all without a check. A box with its
// minimum above its maximum collides with nothing.
void CheckSpritesAndStatics(Context& c) {
  const size_t spriteTextures = c.L.SpriteTextures.size();
  for (size_t r = 0; r < c.L.Rooms.size(); ++r) {
    const Room& room = c.L.Rooms[r];
    for (size_t s = 0; s < room.Sprites.size(); ++s) {
      const RoomSprite& sprite = room.Sprites[s];
      const Place at{
          .Room = static_cast<int>(r), .What = Record::RoomSprite, .Index = static_cast<int>(s)};
      const std::string name = RoomText(static_cast<int>(r)) + "'s sprite " + std::to_string(s);
      if (sprite.Texture < 0 || static_cast<size_t>(sprite.Texture) >= spriteTextures) {
        c.Add("sprite-room", at,
              name + " names sprite texture " + std::to_string(sprite.Texture) +
                  LevelHas(spriteTextures, "sprite texture", "sprite textures"));
        break;
      }
      if (sprite.Vertex < 0 || static_cast<size_t>(sprite.Vertex) >= room.Vertices.size()) {
        c.Add("sprite-room", at,
              name + " stands on vertex " + std::to_string(sprite.Vertex) + "; the room has " +
                  Count(room.Vertices.size(), "vertex", "vertices"));
        break;
      }
    }
  }
  if (c.Kept(c.L.SpriteSequences))
    for (size_t q = 0; q < c.L.SpriteSequences.size(); ++q) {
      const SpriteSequence& s = c.L.SpriteSequences[q];
      const int64_t length = -int64_t{s.NegativeLength};
      if (s.Offset < 0 || length < 0 || s.Offset + length > static_cast<int64_t>(spriteTextures))
        c.Add("sprite-sequence", {.What = Record::SpriteSequence, .Index = static_cast<int>(q)},
              "Sprite sequence " + std::to_string(q) + " (type " + std::to_string(s.SpriteID) +
                  ") takes " + std::to_string(length) + " sprites from sprite " +
                  std::to_string(s.Offset) +
                  LevelHas(spriteTextures, "sprite texture", "sprite textures"));
    }
  std::set<int32_t> defined;
  for (size_t d = 0; d < c.L.StaticMeshDefs.size(); ++d) {
    const StaticMeshDef& def = c.L.StaticMeshDefs[d];
    defined.insert(def.ID);
    const Place at{.What = Record::StaticMesh, .Index = static_cast<int>(d)};
    const std::string name =
        "Static mesh " + std::to_string(d) + " (id " + std::to_string(def.ID) + ")";
    if (def.Mesh < 0 || static_cast<size_t>(def.Mesh) >= c.L.MeshPointers.size())
      c.Add("static-mesh", at,
            name + " names mesh " + std::to_string(def.Mesh) +
                LevelHas(c.L.MeshPointers.size(), "mesh", "meshes"));
    for (const auto* box : {&def.VisibilityBox, &def.CollisionBox})
      for (size_t axis = 0; axis < 3; ++axis)
        if ((*box)[2 * axis] > (*box)[2 * axis + 1]) {
          c.Add("static-box", at,
                name + "'s " + (box == &def.VisibilityBox ? "visibility" : "collision") +
                    " box runs from " + std::to_string((*box)[2 * axis]) + " down to " +
                    std::to_string((*box)[2 * axis + 1]) + " along " + "XYZ"[axis]);
          axis = 3;
        }
  }
  for (size_t r = 0; r < c.L.Rooms.size(); ++r) {
    const auto& statics = c.L.Rooms[r].StaticMeshes;
    for (size_t s = 0; s < statics.size(); ++s)
      if (!defined.count(statics[s].ObjectID))
        c.Add("static-undefined", {.Room = static_cast<int>(r), .Static = static_cast<int>(s)},
              RoomText(static_cast<int>(r)) + "'s static " + std::to_string(s) + " is of id " +
                  std::to_string(statics[s].ObjectID) + ", which the level does not define");
  }
}

// Enemies look up their sector's box and walk the box's overlap list to its end bit, all
// unchecked: a box past the list or an overlap list without its end sends them through memory.
void CheckBoxes(Context& c) {
  const size_t boxes = c.L.Boxes.size();
  if (!c.Kept(c.L.Boxes)) return;
  const bool early = c.G == Game::TR1 || c.G == Game::TR2;
  ForEachSector(c.L, [&](int r, const Room&, int x, int z, const Sector& sector) {
    // The third game on keeps the material in the low four bits and 0x7FF for "no box".
    const int box = early ? sector.BoxIndex : (sector.BoxIndex >> 4) & 0x7FF;
    if (box == (early ? 0xFFFF : 0x7FF) || static_cast<size_t>(box) < boxes) return;
    c.Add("box-index", {.Room = r, .SectorX = x, .SectorZ = z},
          RoomText(r) + "'s sector " + SectorPlace(x, z) + " is in box " + std::to_string(box) +
              LevelHas(boxes, "box", "boxes"));
  });
  const auto& overlaps = c.L.Overlaps;
  const uint16_t boxBits = early ? 0x7FFF : 0x7FF;
  for (size_t b = 0; b < boxes; ++b) {
    const Place at{.What = Record::Box, .Index = static_cast<int>(b)};
    const std::string name = "Box " + std::to_string(b);
    size_t k = static_cast<uint16_t>(c.L.Boxes[b].OverlapIndex) & 0x3FFF;
    // A box that overlaps none says so with all the index bits set, or from the third game on
    // with the eleven bits the boxes are numbered in.
    if (k == 0x3FFF || (!early && k == 0x7FF)) continue;
    if (k >= overlaps.size()) {
      c.Add("box-overlaps", at,
            name + "'s overlaps start at " + std::to_string(k) +
                LevelHas(overlaps.size(), "overlap", "overlaps"));
      continue;
    }
    for (;; ++k) {
      if (k >= overlaps.size()) {
        c.Add("box-overlaps", at,
              name + "'s overlap list has no end before the overlaps end at " +
                  std::to_string(overlaps.size()));
        break;
      }
      const auto word = static_cast<uint16_t>(overlaps[k]);
      if ((word & boxBits) >= boxes) {
        c.Add("box-overlaps", at,
              name + " overlaps box " + std::to_string(word & boxBits) +
                  LevelHas(boxes, "box", "boxes"));
        break;
      }
      if (word & 0x8000) break;
    }
  }
}

}  // namespace slab::checks
