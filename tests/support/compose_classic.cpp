#include "support/compose_classic.h"

#include <fstream>
#include <stdexcept>

namespace slab::test {

namespace {

// Appends little-endian fields and remembers where each named stretch lies.
class Out {
 public:
  void U8(uint8_t v) { bytes_.push_back(v); }
  void U16(uint16_t v) {
    U8(static_cast<uint8_t>(v));
    U8(static_cast<uint8_t>(v >> 8));
  }
  void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
  void U32(uint32_t v) {
    U16(static_cast<uint16_t>(v));
    U16(static_cast<uint16_t>(v >> 16));
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  template <size_t N>
  void Block(const std::array<uint8_t, N>& a) {
    bytes_.insert(bytes_.end(), a.begin(), a.end());
  }
  void Block(const std::vector<uint8_t>& v) { bytes_.insert(bytes_.end(), v.begin(), v.end()); }

  size_t Mark() const { return bytes_.size(); }
  void Name(const std::string& name, size_t start) {
    if (bytes_.size() > start) sections_.push_back({name, start, bytes_.size() - start});
  }
  void Count16(const std::string& name, size_t n) {
    size_t start = Mark();
    U16(static_cast<uint16_t>(n));
    Name(name, start);
  }
  void Count32(const std::string& name, size_t n) {
    size_t start = Mark();
    U32(static_cast<uint32_t>(n));
    Name(name, start);
  }
  // Writes a list entry by entry under one section name.
  template <typename T, typename F>
  void List(const std::string& name, const std::vector<T>& list, F writeOne) {
    size_t start = Mark();
    for (const auto& entry : list) writeOne(entry);
    Name(name, start);
  }

  ComposedFile Finish() { return {std::move(bytes_), std::move(sections_)}; }

 private:
  std::vector<uint8_t> bytes_;
  std::vector<ComposedSection> sections_;
};

void WriteObjectTexture(Out& o, const ObjectTexture& t) {
  o.U16(t.Attribute);
  o.U16(t.Tile);
  for (const auto& c : t.Corners) {
    o.U8(c.XCoordinate);
    o.U8(c.XPixel);
    o.U8(c.YCoordinate);
    o.U8(c.YPixel);
  }
}

void WriteRoom(Out& o, const DraftRoom& r, Game v, size_t index) {
  const std::string p = "room " + std::to_string(index) + " ";
  size_t start = o.Mark();
  o.I32(r.Info.X);
  o.I32(r.Info.Z);
  o.I32(r.Info.YBottom);
  o.I32(r.Info.YTop);
  o.Name(p + "Info", start);

  const size_t vertexSize = v == Game::TR1 ? 8 : 12;
  const size_t geometryBytes = 8 + r.Vertices.size() * vertexSize + r.Rectangles.size() * 10 +
                               r.Triangles.size() * 8 + r.Sprites.size() * 4;
  o.Count32(p + "NumDataWords", geometryBytes / 2);

  o.Count16(p + "NumVertices", r.Vertices.size());
  o.List(p + "Vertices", r.Vertices, [&](const RoomVertex& x) {
    o.I16(x.X);
    o.I16(x.Y);
    o.I16(x.Z);
    o.I16(x.Lighting1);
    if (v != Game::TR1) {
      o.U16(x.Attributes);
      o.I16(x.Lighting2);
    }
  });
  o.Count16(p + "NumRectangles", r.Rectangles.size());
  o.List(p + "Rectangles", r.Rectangles, [&](const RoomQuad& q) {
    for (auto i : q.Vertices) o.I16(i);
    o.I16(q.Texture);
  });
  o.Count16(p + "NumTriangles", r.Triangles.size());
  o.List(p + "Triangles", r.Triangles, [&](const RoomTriangle& t) {
    for (auto i : t.Vertices) o.I16(i);
    o.I16(t.Texture);
  });
  o.Count16(p + "NumSprites", r.Sprites.size());
  o.List(p + "Sprites", r.Sprites, [&](const RoomSprite& s) {
    o.I16(s.Vertex);
    o.I16(s.Texture);
  });
  o.Count16(p + "NumPortals", r.Portals.size());
  o.List(p + "Portals", r.Portals, [&](const Portal& d) {
    o.U16(d.AdjoiningRoom);
    for (auto n : d.Normal) o.I16(n);
    for (auto c : d.Vertices) o.I16(c);
  });

  start = o.Mark();
  o.I16(r.NumZSectors);
  o.I16(r.NumXSectors);
  o.Name(p + "sector grid", start);
  start = o.Mark();
  const size_t numSectors =
      r.NumZSectors > 0 && r.NumXSectors > 0 ? size_t(r.NumZSectors) * size_t(r.NumXSectors) : 0;
  for (size_t i = 0; i < numSectors; ++i) {
    Sector s = i < r.Sectors.size() ? r.Sectors[i] : Sector{};
    o.U16(s.FDIndex);
    o.U16(s.BoxIndex);
    o.U8(s.RoomBelow);
    o.U8(s.Floor);
    o.U8(s.RoomAbove);
    o.U8(s.Ceiling);
  }
  o.Name(p + "Sectors", start);

  start = o.Mark();
  o.I16(r.AmbientIntensity1);
  if (v != Game::TR1) o.I16(r.AmbientIntensity2);
  if (v == Game::TR2) o.I16(r.LightMode);
  o.Name(p + "ambience", start);

  o.Count16(p + "NumLights", r.Lights.size());
  o.List(p + "Lights", r.Lights, [&](const RoomLight& l) {
    o.I32(l.X);
    o.I32(l.Y);
    o.I32(l.Z);
    o.I16(l.Intensity1);
    if (v != Game::TR1) o.I16(l.Intensity2);
    o.I32(l.Fade1);
    if (v != Game::TR1) o.I32(l.Fade2);
  });
  o.Count16(p + "NumStaticMeshes", r.StaticMeshes.size());
  o.List(p + "StaticMeshes", r.StaticMeshes, [&](const RoomStatic& s) {
    o.I32(s.X);
    o.I32(s.Y);
    o.I32(s.Z);
    o.U16(s.Rotation);
    o.I16(s.Intensity1);
    if (v != Game::TR1) o.I16(s.Intensity2);
    o.U16(s.ObjectID);
  });

  start = o.Mark();
  o.I16(r.AlternateRoom);
  o.I16(r.Flags);
  if (v == Game::TR3) {
    o.U8(r.WaterScheme);
    o.U8(r.ReverbInfo);
    o.U8(r.AlternateGroup);
  }
  o.Name(p + "AlternateRoom and Flags", start);
}

}  // namespace

const ComposedSection& ComposedFile::Section(const std::string& name) const {
  for (const auto& s : Sections)
    if (s.Name == name) return s;
  throw std::out_of_range("no section named " + name);
}

bool ComposedFile::HasSection(const std::string& name) const {
  for (const auto& s : Sections)
    if (s.Name == name) return true;
  return false;
}

std::vector<uint8_t> ComposedFile::Truncated(size_t length) const {
  return {Bytes.begin(),
          Bytes.begin() + static_cast<std::ptrdiff_t>(std::min(length, Bytes.size()))};
}

std::vector<uint8_t> ComposedFile::WithCount(const std::string& name, uint32_t value) const {
  const auto& s = Section(name);
  std::vector<uint8_t> out = Bytes;
  for (size_t i = 0; i < s.Size && i < 4; ++i)
    out[s.Offset + i] = static_cast<uint8_t>(value >> (8 * i));
  return out;
}

DraftLevel DraftFromLevel(const Level& l, Game v) {
  auto words = [](const std::vector<uint8_t>& bytes) {
    std::vector<uint16_t> out(bytes.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) out[i] = uint16_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return out;
  };
  DraftLevel d;
  d.GameVersion = v;
  d.VersionWord = static_cast<uint32_t>(l.Version);
  d.Palette = l.Palette;
  d.Palette16 = l.Palette16;
  d.NumTextiles = l.NumTextiles;
  d.Textile16.assign(l.Textile16.begin(), l.Textile16.end());
  d.Reserved32 = l.Reserved32;
  for (const Room& r : l.Rooms)
    d.Rooms.push_back({r.Info, r.Vertices, r.Rectangles, r.Triangles, r.Sprites, r.Portals,
                       r.NumZSectors, r.NumXSectors, r.Sectors, r.AmbientIntensity1,
                       r.AmbientIntensity2, r.LightMode, r.Lights, r.StaticMeshes, r.AlternateRoom,
                       r.Flags, r.WaterScheme, r.ReverbInfo, r.AlternateGroup});
  d.FloorData = words(l.FloorData);
  d.MeshData = words(l.MeshData);
  d.MeshPointers = l.MeshPointers;
  d.Animations = l.Animations;
  d.StateChanges = l.StateChanges;
  d.AnimDispatches = l.AnimDispatches;
  d.AnimCommands = l.AnimCommands;
  d.MeshTrees = l.MeshTrees;
  d.Frames = l.Frames;
  d.Moveables = l.Moveables;
  d.StaticMeshDefs = l.StaticMeshDefs;
  d.ObjectTextures = l.ObjectTextures;
  d.SpriteTextures = l.SpriteTextures;
  d.SpriteSequences = l.SpriteSequences;
  d.Cameras = l.Cameras;
  d.SoundSources = l.SoundSources;
  d.Boxes = l.Boxes;
  for (size_t i = 0; i < l.Tr1BoxBounds.size() && i < l.Boxes.size(); ++i) {
    const auto& w = l.Tr1BoxBounds[i];
    d.Tr1Boxes.push_back({w[0], w[1], w[2], w[3], l.Boxes[i].TrueFloor, l.Boxes[i].OverlapIndex});
  }
  d.Overlaps = l.Overlaps;
  d.Zones = l.Zones;
  d.AnimatedTextures = l.AnimatedTextures;
  d.Items = l.Items;
  d.LightMap = l.LightMap;
  d.Tr1Palette = l.Tr1Palette;
  d.CinematicFrames = l.CinematicFrames;
  const auto* demo = reinterpret_cast<const uint8_t*>(l.DemoData.data());
  d.DemoBytes.assign(demo, demo + std::min<size_t>(l.NumDemoData, l.DemoData.size() * 4));
  d.SoundMap = l.SoundMap;
  d.SoundDetails = l.SoundDetails;
  d.Tr1SampleData = l.Tr1SampleData;
  d.SampleIndices = l.SampleIndices;
  return d;
}

uint32_t UsualVersionWord(Game gameVersion) {
  switch (gameVersion) {
    case Game::TR1:
      return 0x00000020;
    case Game::TR2:
      return 0x0000002D;
    default:
      return 0xFF180038;
  }
}

ComposedFile ComposeClassic(const DraftLevel& d) {
  const Game v = d.GameVersion;
  Out o;

  size_t start = o.Mark();
  o.U32(d.VersionWord.value_or(UsualVersionWord(v)));
  o.Name("Version", start);
  if (v != Game::TR1) {
    start = o.Mark();
    o.Block(d.Palette);
    o.Name("Palette", start);
    start = o.Mark();
    o.Block(d.Palette16);
    o.Name("Palette16", start);
  }
  o.Count32("NumTextiles", static_cast<size_t>(std::max(d.NumTextiles, 0)));
  // A checkerboard of 16-texel squares, so a page looks like something when drawn.
  start = o.Mark();
  for (int32_t page = 0; page < d.NumTextiles; ++page)
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x)
        o.U8(static_cast<uint8_t>(((x / 16 + y / 16 + page) & 1) ? 15 : 200));
  o.Name("Textile8", start);
  if (v != Game::TR1) {
    start = o.Mark();
    if (d.Textile16.size() == static_cast<size_t>(std::max(d.NumTextiles, 0)) * 65536) {
      for (uint16_t texel : d.Textile16) o.U16(texel);
    } else {
      for (int32_t page = 0; page < d.NumTextiles; ++page)
        for (int y = 0; y < 256; ++y)
          for (int x = 0; x < 256; ++x)
            o.U16(((x / 16 + y / 16 + page) & 1) ? 0xFFFF : 0x8000 | 0x1084);
    }
    o.Name("Textile16", start);
  }
  start = o.Mark();
  o.I32(d.Reserved32);
  o.Name("Reserved32", start);

  o.Count16("NumRooms", d.Rooms.size());
  for (size_t i = 0; i < d.Rooms.size(); ++i) WriteRoom(o, d.Rooms[i], v, i);

  o.Count32("NumFloorData", d.FloorData.size());
  o.List("FloorData", d.FloorData, [&](uint16_t w) { o.U16(w); });
  o.Count32("NumMeshData", d.MeshData.size());
  o.List("MeshData", d.MeshData, [&](uint16_t w) { o.U16(w); });
  o.Count32("NumMeshPointers", d.MeshPointers.size());
  o.List("MeshPointers", d.MeshPointers, [&](int32_t x) { o.I32(x); });
  o.Count32("NumAnimations", d.Animations.size());
  o.List("Animations", d.Animations, [&](const Animation& a) {
    o.I32(a.FrameOffset);
    o.U8(a.FrameRate);
    o.U8(a.FrameSize);
    o.I16(a.StateID);
    o.I32(a.Speed[0]);
    o.I32(a.Speed[1]);
    for (int16_t x : {a.FrameStart, a.FrameEnd, a.NextAnimation, a.NextFrame, a.NumStateChanges,
                      a.StateChangeOffset, a.NumAnimCommands, a.AnimCommand})
      o.I16(x);
  });
  o.Count32("NumStateChanges", d.StateChanges.size());
  o.List("StateChanges", d.StateChanges, [&](const StateChange& s) {
    o.I16(s.StateID);
    o.I16(s.NumAnimDispatches);
    o.I16(s.AnimDispatch);
  });
  o.Count32("NumAnimDispatches", d.AnimDispatches.size());
  o.List("AnimDispatches", d.AnimDispatches, [&](const AnimDispatch& a) {
    o.I16(a.Low);
    o.I16(a.High);
    o.I16(a.NextAnimation);
    o.I16(a.NextFrame);
  });
  o.Count32("NumAnimCommands", d.AnimCommands.size());
  o.List("AnimCommands", d.AnimCommands, [&](int16_t x) { o.I16(x); });
  o.Count32("NumMeshTrees", d.MeshTrees.size());
  o.List("MeshTrees", d.MeshTrees, [&](int32_t x) { o.I32(x); });
  o.Count32("NumFrames", d.Frames.size());
  o.List("Frames", d.Frames, [&](int16_t x) { o.I16(x); });
  o.Count32("NumMoveables", d.Moveables.size());
  o.List("Moveables", d.Moveables, [&](const Moveable& m) {
    o.I32(m.ObjectID);
    o.I16(m.NumMeshes);
    o.I16(m.StartingMesh);
    o.I32(m.MeshTree);
    o.I32(m.FrameOffset);
    o.I16(m.Animation);
  });
  o.Count32("NumStaticMeshes", d.StaticMeshDefs.size());
  o.List("StaticMeshDefs", d.StaticMeshDefs, [&](const StaticMeshDef& s) {
    o.I32(s.ID);
    o.I16(s.Mesh);
    for (auto x : s.VisibilityBox) o.I16(x);
    for (auto x : s.CollisionBox) o.I16(x);
    o.U16(s.Flags);
  });
  if (v != Game::TR3) {
    o.Count32("NumObjectTextures", d.ObjectTextures.size());
    o.List("ObjectTextures", d.ObjectTextures,
           [&](const ObjectTexture& t) { WriteObjectTexture(o, t); });
  }
  o.Count32("NumSpriteTextures", d.SpriteTextures.size());
  o.List("SpriteTextures", d.SpriteTextures, [&](const SpriteTexture& s) {
    o.U16(s.Tile);
    o.U8(s.X);
    o.U8(s.Y);
    o.U16(s.Width);
    o.U16(s.Height);
    o.I16(s.LeftSide);
    o.I16(s.TopSide);
    o.I16(s.RightSide);
    o.I16(s.BottomSide);
  });
  o.Count32("NumSpriteSequences", d.SpriteSequences.size());
  o.List("SpriteSequences", d.SpriteSequences, [&](const SpriteSequence& s) {
    o.I32(s.SpriteID);
    o.I16(s.NegativeLength);
    o.I16(s.Offset);
  });
  if (v == Game::TR1 && d.Tr1Palette == Tr1PaletteLayout::AfterSpriteSequences) {
    start = o.Mark();
    o.Block(d.Palette);
    o.Name("Palette", start);
  }
  o.Count32("NumCameras", d.Cameras.size());
  o.List("Cameras", d.Cameras, [&](const Camera& c) {
    o.I32(c.X);
    o.I32(c.Y);
    o.I32(c.Z);
    o.I16(c.Room);
    o.U16(c.Flag);
  });
  o.Count32("NumSoundSources", d.SoundSources.size());
  o.List("SoundSources", d.SoundSources, [&](const SoundSource& s) {
    o.I32(s.X);
    o.I32(s.Y);
    o.I32(s.Z);
    o.U16(s.SoundID);
    o.U16(s.Flags);
  });

  size_t numBoxes;
  if (v == Game::TR1) {
    std::vector<Tr1FileBox> boxes = d.Tr1Boxes;
    if (boxes.empty())
      for (const Box& b : d.Boxes)
        boxes.push_back({b.Zmin * 1024, b.Zmax * 1024, b.Xmin * 1024, b.Xmax * 1024, b.TrueFloor,
                         b.OverlapIndex});
    numBoxes = boxes.size();
    o.Count32("NumBoxes", numBoxes);
    o.List("Boxes", boxes, [&](const Tr1FileBox& b) {
      o.I32(b.Zmin);
      o.I32(b.Zmax);
      o.I32(b.Xmin);
      o.I32(b.Xmax);
      o.I16(b.TrueFloor);
      o.I16(b.OverlapIndex);
    });
  } else {
    numBoxes = d.Boxes.size();
    o.Count32("NumBoxes", numBoxes);
    o.List("Boxes", d.Boxes, [&](const Box& b) {
      o.U8(b.Zmin);
      o.U8(b.Zmax);
      o.U8(b.Xmin);
      o.U8(b.Xmax);
      o.I16(b.TrueFloor);
      o.I16(b.OverlapIndex);
    });
  }
  o.Count32("NumOverlaps", d.Overlaps.size());
  o.List("Overlaps", d.Overlaps, [&](int16_t x) { o.I16(x); });
  start = o.Mark();
  const size_t numZones = numBoxes * (v == Game::TR1 ? 6 : 10);
  for (size_t i = 0; i < numZones; ++i)
    o.I16(i < d.Zones.size() ? d.Zones[i] : static_cast<int16_t>(i % 7));
  o.Name("Zones", start);
  o.Count32("NumAnimatedTextures", d.AnimatedTextures.size());
  o.List("AnimatedTextures", d.AnimatedTextures, [&](int16_t x) { o.I16(x); });
  if (v == Game::TR3) {
    o.Count32("NumObjectTextures", d.ObjectTextures.size());
    o.List("ObjectTextures", d.ObjectTextures,
           [&](const ObjectTexture& t) { WriteObjectTexture(o, t); });
  }
  o.Count32("NumItems", d.Items.size());
  o.List("Items", d.Items, [&](const Item& it) {
    o.I16(it.ObjectID);
    o.I16(it.Room);
    o.I32(it.X);
    o.I32(it.Y);
    o.I32(it.Z);
    o.I16(it.Angle);
    o.I16(it.Intensity1);
    if (v != Game::TR1) o.I16(it.OCB);
    o.U16(it.Flags);
  });
  start = o.Mark();
  o.Block(d.LightMap);
  o.Name("LightMap", start);
  if (v == Game::TR1 && d.Tr1Palette == Tr1PaletteLayout::AfterLightMap) {
    start = o.Mark();
    o.Block(d.Palette);
    o.Name("Palette", start);
  }
  o.Count16("NumCinematicFrames", d.CinematicFrames.size());
  o.List("CinematicFrames", d.CinematicFrames, [&](const CinematicFrame& c) {
    for (int16_t x : {c.TargetX, c.TargetY, c.TargetZ, c.PosZ, c.PosY, c.PosX, c.FOV, c.Roll})
      o.I16(x);
  });
  o.Count16("NumDemoData", d.DemoBytes.size());
  start = o.Mark();
  o.Block(d.DemoBytes);
  o.Name("DemoData", start);
  start = o.Mark();
  const size_t soundMapEntries = v == Game::TR1 ? kTr1SoundMapEntries : kSoundMapEntries;
  for (size_t i = 0; i < soundMapEntries; ++i) o.I16(i < d.SoundMap.size() ? d.SoundMap[i] : -1);
  o.Name("SoundMap", start);
  o.Count32("NumSoundDetails", d.SoundDetails.size());
  o.List("SoundDetails", d.SoundDetails, [&](const SoundDetail& s) {
    for (auto b : s.Bytes) o.U8(b);
  });
  if (v == Game::TR1) {
    o.Count32("Tr1SampleData size", d.Tr1SampleData.size());
    start = o.Mark();
    o.Block(d.Tr1SampleData);
    o.Name("Tr1SampleData", start);
  }
  o.Count32("NumSampleIndices", d.SampleIndices.size());
  o.List("SampleIndices", d.SampleIndices, [&](int32_t x) { o.I32(x); });
  return o.Finish();
}

namespace {

constexpr uint8_t kWall = 0x81;  // floor and ceiling of a solid sector: -127 clicks
constexpr uint8_t kNoRoom = 255;
constexpr int kSectorsX = 4, kSectorsZ = 5;

// A room of 4 x 5 sectors: a ring of walls around 2 x 3 open sectors, floor at 0, ceiling
// at -2048, with one floor rectangle per open sector. Rooms line up along X, two sectors
// apart, so each one's border column lies over its neighbour's open column.
DraftRoom SampleRoom(int index, int roomCount) {
  DraftRoom r;
  r.Info = {index * 2048, 0, 0, -2048};
  r.NumXSectors = kSectorsX;
  r.NumZSectors = kSectorsZ;
  r.Sectors.resize(kSectorsX * kSectorsZ);
  for (int x = 0; x < kSectorsX; ++x)
    for (int z = 0; z < kSectorsZ; ++z) {
      Sector& s = r.Sectors[x * kSectorsZ + z];
      bool open = x > 0 && x < kSectorsX - 1 && z > 0 && z < kSectorsZ - 1;
      s.RoomBelow = s.RoomAbove = kNoRoom;
      s.Floor = open ? 0 : kWall;
      s.Ceiling = open ? static_cast<uint8_t>(-8) : kWall;
      s.BoxIndex = open ? static_cast<uint16_t>(index) : 0xFFFF;
    }
  // Floor-data indexes of the portal sectors and triggers; see SampleDraft.
  if (index > 0) r.Sectors[0 * kSectorsZ + 2].FDIndex = static_cast<uint16_t>(index == 1 ? 3 : 7);
  if (index < roomCount - 1)
    r.Sectors[3 * kSectorsZ + 2].FDIndex = static_cast<uint16_t>(index == 0 ? 1 : 5);
  if (index == 0) r.Sectors[2 * kSectorsZ + 2].FDIndex = 9;
  if (index == 2) r.Sectors[1 * kSectorsZ + 1].FDIndex = 14;

  for (int x = 1; x < kSectorsX; ++x)
    for (int z = 1; z < kSectorsZ; ++z)
      r.Vertices.push_back(
          {static_cast<int16_t>(x * 1024), 0, static_cast<int16_t>(z * 1024), 4096, 0, 4096});
  auto vertexAt = [](int x, int z) {
    return static_cast<int16_t>((x - 1) * (kSectorsZ - 1) + (z - 1));
  };
  for (int x = 1; x < kSectorsX - 1; ++x)
    for (int z = 1; z < kSectorsZ - 1; ++z)
      r.Rectangles.push_back(
          {{vertexAt(x, z), vertexAt(x + 1, z), vertexAt(x + 1, z + 1), vertexAt(x, z + 1)}, 0, 0});
  if (index == 2) {
    r.Triangles.push_back({{vertexAt(1, 1), vertexAt(2, 1), vertexAt(2, 2)}, 1, 0});
    r.Sprites.push_back({vertexAt(2, 2), 0});
    r.StaticMeshes.push_back({r.Info.X + 2560, 0, 2560, 0x4000, 4096, 4096, 0});
  }

  // Portals on the planes X = 3072 (toward the next room) and X = 1024 (toward the last),
  // room-relative, over the middle row of sectors, facing into this room.
  auto portal = [](uint16_t room, int16_t x, int16_t normalX) {
    Portal p;
    p.AdjoiningRoom = room;
    p.Normal = {normalX, 0, 0};
    p.Vertices = {x, 0, 2048, x, -2048, 2048, x, -2048, 3072, x, 0, 3072};
    return p;
  };
  if (index < roomCount - 1)
    r.Portals.push_back(portal(static_cast<uint16_t>(index + 1), 3072, -1));
  if (index > 0) r.Portals.push_back(portal(static_cast<uint16_t>(index - 1), 1024, 1));

  r.AmbientIntensity1 = 2048;
  r.AmbientIntensity2 = 2048;
  RoomLight light;
  light.X = r.Info.X + 2048;
  light.Y = -1024;
  light.Z = 2560;
  light.Intensity1 = light.Intensity2 = 4096;
  light.Fade1 = light.Fade2 = 3072;
  r.Lights.push_back(light);
  return r;
}

}  // namespace

DraftLevel SampleDraft(Game gameVersion) {
  DraftLevel d;
  d.GameVersion = gameVersion;
  for (int i = 0; i < 256; ++i) {
    d.Palette[i * 3] = d.Palette[i * 3 + 1] = d.Palette[i * 3 + 2] = static_cast<uint8_t>(i / 4);
    d.Palette16[i * 4] = d.Palette16[i * 4 + 1] = d.Palette16[i * 4 + 2] = static_cast<uint8_t>(i);
  }
  d.NumTextiles = 1;
  constexpr int kRooms = 3;
  for (int i = 0; i < kRooms; ++i) d.Rooms.push_back(SampleRoom(i, kRooms));
  d.Rooms[1].LightMode = 1;

  // Word 0 stays unused (index 0 means "no list"). Then the portals of the three rooms,
  // a trigger in room 0 that opens the door (item 1) and shows camera 0, and a pickup
  // trigger in room 2 for item 2.
  d.FloorData = {0,      0x8001, 1,      0x8001, 0,      0x8001, 2,      0x8001, 1,
                 0x8004, 0x3E00, 0x0001, 0x0400, 0x8000, 0x8404, 0x3E00, 0x8002};

  d.MeshData.assign(12, 0);  // one mesh with nothing in it
  d.MeshPointers = {0};
  Animation anim;
  anim.FrameSize = 10;
  anim.FrameRate = 1;
  anim.FrameEnd = 1;
  anim.NumStateChanges = 1;
  anim.NumAnimCommands = 1;
  d.Animations = {anim};
  d.StateChanges = {{1, 1, 0}};
  d.AnimDispatches = {{0, 1, 0, 0}};
  d.AnimCommands = {1, 0};
  d.MeshTrees = {0, 0, 0, 0};
  d.Frames.assign(20, 0);
  d.Moveables = {{0, 1, 0, 0, 0, 0, 0}};
  StaticMeshDef def;
  def.VisibilityBox = {-256, 256, -512, 0, -256, 256};
  def.CollisionBox = def.VisibilityBox;
  d.StaticMeshDefs = {def};

  // A rectangle over the top-left 64 x 64 texels of page 0 and a triangle beside it.
  ObjectTexture rect;
  rect.Corners = {{{1, 0, 1, 0}, {255, 63, 1, 0}, {255, 63, 255, 63}, {1, 0, 255, 63}}};
  ObjectTexture tri;
  tri.Corners = {{{1, 64, 1, 0}, {255, 127, 1, 0}, {1, 64, 255, 63}, {0, 0, 0, 0}}};
  d.ObjectTextures = {rect, tri};
  d.SpriteTextures = {{0, 128, 0, 32 * 256 + 255, 32 * 256 + 255, -128, -256, 128, 0}};
  d.SpriteSequences = {{0, -1, 0}};
  d.Cameras = {{1536, -1024, 2560, 0, 0}};
  d.SoundSources = {{2048 + 2048, -512, 2560, 0, 0x80}};

  for (int i = 0; i < kRooms; ++i) {
    Box b;
    b.Xmin = static_cast<uint8_t>(i * 2 + 1);
    b.Xmax = static_cast<uint8_t>(i * 2 + 3);
    b.Zmin = 1;
    b.Zmax = 4;
    b.OverlapIndex = static_cast<int16_t>(i == 0 ? 0 : i == 1 ? 1 : 3);
    d.Boxes.push_back(b);
  }
  d.Overlaps = {static_cast<int16_t>(0x8001), 0, static_cast<int16_t>(0x8002),
                static_cast<int16_t>(0x8001)};
  d.AnimatedTextures = {1, 1, 0, 1};

  d.Items = {{0, 0, 1536, 0, 1536, 0, -1, -1, 0},
             {1, 1, 3584, 0, 2560, static_cast<int16_t>(0x4000), -1, -1, 0},
             {2, 2, 4096 + 1536, 0, 1536, 0, -1, -1, 0}};
  for (size_t i = 0; i < d.LightMap.size(); ++i) d.LightMap[i] = static_cast<uint8_t>(i & 0xFF);
  d.CinematicFrames = {{1, 2, 3, 4, 5, 6, 80, 0}, {7, 8, 9, 10, 11, 12, 80, 1}};
  d.DemoBytes = {1, 2, 3, 4, 5, 6, 7, 8};
  d.SoundMap = {0, 1, 2, -1, 2};
  d.SoundDetails = {{{0, 0, 0x7F, 0x7F, 0, 0, 1, 0}},
                    {{1, 0, 0x7F, 0x7F, 0, 0, 1, 0}},
                    {{2, 0, 0x7F, 0x7F, 0, 0, 1, 0}}};
  d.SampleIndices = {0, 16, 32};
  if (gameVersion == Game::TR1)
    d.Tr1SampleData = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
  return d;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteSampleLevel(const std::filesystem::path& path) {
  WriteBytes(path, ComposeClassic(SampleDraft(Game::TR2)).Bytes);
}

}  // namespace slab::test
