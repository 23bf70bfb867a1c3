#include "tools/compose_classic.h"

#include <fstream>
#include <stdexcept>

#include "tools/compose_out.h"
#include "tools/showcase_level.h"

namespace slab::test {

namespace {

void WriteObjectTexture(Out& o, const ObjectTexture& t, Game v) {
  o.W16(t.Attribute, t.Tile);
  if (v >= Game::TR4) o.W16(t.NewFlags);
  for (const auto& c : t.Corners) o.U8(c.XCoordinate, c.XPixel, c.YCoordinate, c.YPixel);
  if (v >= Game::TR4) {
    o.Block(t.UVOrigin);
    o.W32(t.Width, t.Height);
  }
  if (v == Game::TR5) o.W16(t.Tr5Padding);
}

// A room of the first four games (the fifth game's are blocks of their own).
void WriteRoom(Out& o, const DraftRoom& r, Game v) {
  size_t start = o.Mark();
  o.W32(r.Info.X, r.Info.Z, r.Info.YBottom, r.Info.YTop);
  o.Name("Info", start);

  const size_t vertexSize = v == Game::TR1 ? 8 : 12;
  const size_t geometryBytes = 8 + r.Vertices.size() * vertexSize + r.Rectangles.size() * 10 +
                               r.Triangles.size() * 8 + r.Sprites.size() * 4;
  o.Count<4>("NumDataWords", geometryBytes / 2);
  o.Counted<2>("Vertices", r.Vertices, [&](const RoomVertex& x) {
    o.W16(x.X, x.Y, x.Z, x.Lighting1);
    if (v != Game::TR1) o.W16(x.Attributes, x.Lighting2);
  });
  o.Counted<2>("Rectangles", r.Rectangles, [&](const RoomQuad& q) {
    for (auto i : q.Vertices) o.W16(i);
    o.W16(q.Texture);
  });
  o.Counted<2>("Triangles", r.Triangles, [&](const RoomTriangle& t) {
    for (auto i : t.Vertices) o.W16(i);
    o.W16(t.Texture);
  });
  if (v == Game::TR4) {  // a count kept as it is, with no entries after it
    start = o.Mark();
    o.W16(r.Sprites.size());
    o.Name("sprite count as stored", start);
  } else {
    o.Counted<2>("Sprites", r.Sprites, [&](const RoomSprite& s) { o.W16(s.Vertex, s.Texture); });
  }
  o.Counted<2>("Portals", r.Portals, [&](const Portal& p) { WritePortal(o, p); });

  start = o.Mark();
  o.W16(r.NumZSectors, r.NumXSectors);
  o.Name("sector grid", start);
  start = o.Mark();
  const size_t numSectors =
      r.NumZSectors > 0 && r.NumXSectors > 0 ? size_t(r.NumZSectors) * size_t(r.NumXSectors) : 0;
  for (size_t i = 0; i < numSectors; ++i)
    WriteSector(o, i < r.Sectors.size() ? r.Sectors[i] : Sector{});
  o.Name("Sectors", start);

  start = o.Mark();
  o.W16(r.AmbientIntensity1);
  if (v != Game::TR1) o.W16(r.AmbientIntensity2);
  if (v == Game::TR2) o.W16(r.LightMode);
  o.Name("ambience", start);
  o.Counted<2>("Lights", r.Lights, [&](const RoomLight& l) {
    o.W32(l.X, l.Y, l.Z);
    if (v == Game::TR4) {
      o.U8(l.Colour[0], l.Colour[1], l.Colour[2]);
      o.W16(l.LightType);
      o.U8(l.Intensity);
      o.F32(l.In, l.Out, l.Length, l.CutOff);
      o.W32(l.DX, l.DY, l.DZ);
    } else {
      o.W16(l.Intensity1);
      if (v != Game::TR1) o.W16(l.Intensity2);
      o.W32(l.Fade1);
      if (v != Game::TR1) o.W32(l.Fade2);
    }
  });
  o.Counted<2>("StaticMeshes", r.StaticMeshes,
               [&](const RoomStatic& s) { WriteRoomStatic(o, s, v); });

  start = o.Mark();
  o.W16(r.AlternateRoom, r.Flags);
  if (v >= Game::TR3) o.U8(r.WaterScheme, r.ReverbInfo, r.AlternateGroup);
  o.Name("AlternateRoom and Flags", start);
}

}  // namespace

const ComposedSection& ComposedFile::Section(const std::string& name) const {
  for (const auto& s : Sections)
    if (s.Name == name) return s;
  throw std::out_of_range("no section named " + name);
}

std::vector<uint8_t> ComposedFile::Truncated(size_t length) const {
  return {Bytes.begin(),
          Bytes.begin() + static_cast<std::ptrdiff_t>(std::min(length, Bytes.size()))};
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
  d.FlybyCameras = l.FlybyCameras;
  d.SoundSources = l.SoundSources;
  d.Boxes = l.Boxes;
  for (size_t i = 0; i < l.Tr1BoxBounds.size() && i < l.Boxes.size(); ++i) {
    const auto& w = l.Tr1BoxBounds[i];
    d.Tr1Boxes.push_back({w[0], w[1], w[2], w[3], l.Boxes[i].TrueFloor, l.Boxes[i].OverlapIndex});
  }
  d.Overlaps = l.Overlaps;
  d.Zones = l.Zones;
  d.AnimatedTextures = l.AnimatedTextures;
  d.AnimatedTexturesUVCount = l.AnimatedTexturesUVCount;
  d.Items = l.Items;
  d.AIObjects = l.AIObjects;
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

void WriteLists(Out& o, const DraftLevel& d) {
  const Game v = d.GameVersion;
  auto word = [&](auto w) { o.W16(w); };
  auto dword = [&](auto w) { o.W32(w); };
  o.Counted<4>("FloorData", d.FloorData, word);
  o.Counted<4>("MeshData", d.MeshData, word);
  o.Counted<4>("MeshPointers", d.MeshPointers, dword);
  o.Counted<4>("Animations", d.Animations, [&](const Animation& a) {
    o.W32(a.FrameOffset);
    o.U8(a.FrameRate, a.FrameSize);
    o.W16(a.StateID);
    o.W32(a.Speed[0], a.Speed[1]);
    if (v >= Game::TR4) o.W32(a.LateralSpeed[0], a.LateralSpeed[1]);
    o.W16(a.FrameStart, a.FrameEnd, a.NextAnimation, a.NextFrame, a.NumStateChanges,
          a.StateChangeOffset, a.NumAnimCommands, a.AnimCommand);
  });
  o.Counted<4>("StateChanges", d.StateChanges, [&](const StateChange& s) {
    o.W16(s.StateID, s.NumAnimDispatches, s.AnimDispatch);
  });
  o.Counted<4>("AnimDispatches", d.AnimDispatches,
               [&](const AnimDispatch& a) { o.W16(a.Low, a.High, a.NextAnimation, a.NextFrame); });
  o.Counted<4>("AnimCommands", d.AnimCommands, word);
  o.Counted<4>("MeshTrees", d.MeshTrees, dword);
  o.Counted<4>("Frames", d.Frames, word);
  o.Counted<4>("Moveables", d.Moveables, [&](const Moveable& m) {
    o.W32(m.ObjectID);
    o.W16(m.NumMeshes, m.StartingMesh);
    o.W32(m.MeshTree, m.FrameOffset);
    o.W16(m.Animation);
    if (v == Game::TR5) o.W16(m.Spare);
  });
  o.Counted<4>("StaticMeshes", d.StaticMeshDefs, [&](const StaticMeshDef& s) {
    o.W32(s.ID);
    o.W16(s.Mesh);
    for (auto x : s.VisibilityBox) o.W16(x);
    for (auto x : s.CollisionBox) o.W16(x);
    o.W16(s.Flags);
  });
  auto objectTextures = [&] {
    o.Counted<4>("ObjectTextures", d.ObjectTextures,
                 [&](const ObjectTexture& t) { WriteObjectTexture(o, t, v); });
  };
  // The fourth game's markers are three letters, the fifth game's four with a zero.
  const size_t markerLength = v == Game::TR4 ? 3 : 4;
  if (v < Game::TR3) objectTextures();
  if (v >= Game::TR4) o.Text("SPR", markerLength);
  o.Counted<4>("SpriteTextures", d.SpriteTextures, [&](const SpriteTexture& s) {
    o.W16(s.Tile);
    o.U8(s.X, s.Y);
    o.W16(s.Width, s.Height, s.LeftSide, s.TopSide, s.RightSide, s.BottomSide);
  });
  o.Counted<4>("SpriteSequences", d.SpriteSequences, [&](const SpriteSequence& s) {
    o.W32(s.SpriteID);
    o.W16(s.NegativeLength, s.Offset);
  });
  if (v == Game::TR1 && d.Tr1Palette == Tr1PaletteLayout::AfterSpriteSequences)
    o.NamedBlock("Palette", d.Palette);
  o.Counted<4>("Cameras", d.Cameras, [&](const Camera& c) {
    o.W32(c.X, c.Y, c.Z);
    o.W16(c.Room, c.Flag);
  });
  if (v >= Game::TR4)
    o.Counted<4>("FlybyCameras", d.FlybyCameras, [&](const FlybyCamera& f) { o.Block(f.Bytes); });
  o.Counted<4>("SoundSources", d.SoundSources, [&](const SoundSource& s) {
    o.W32(s.X, s.Y, s.Z);
    o.W16(s.SoundID, s.Flags);
  });

  size_t numBoxes;
  if (v == Game::TR1) {
    std::vector<Tr1FileBox> boxes = d.Tr1Boxes;
    if (boxes.empty())
      for (const Box& b : d.Boxes)
        boxes.push_back({b.Zmin * 1024, b.Zmax * 1024, b.Xmin * 1024, b.Xmax * 1024, b.TrueFloor,
                         b.OverlapIndex});
    numBoxes = boxes.size();
    o.Counted<4>("Boxes", boxes, [&](const Tr1FileBox& b) {
      o.W32(b.Zmin, b.Zmax, b.Xmin, b.Xmax);
      o.W16(b.TrueFloor, b.OverlapIndex);
    });
  } else {
    numBoxes = d.Boxes.size();
    o.Counted<4>("Boxes", d.Boxes, [&](const Box& b) {
      o.U8(b.Zmin, b.Zmax, b.Xmin, b.Xmax);
      o.W16(b.TrueFloor, b.OverlapIndex);
    });
  }
  o.Counted<4>("Overlaps", d.Overlaps, word);
  size_t start = o.Mark();
  const size_t numZones = numBoxes * (v == Game::TR1 ? 6 : 10);
  for (size_t i = 0; i < numZones; ++i) o.W16(i < d.Zones.size() ? d.Zones[i] : int16_t(i % 7));
  o.Name("Zones", start);
  o.Counted<4>("AnimatedTextures", d.AnimatedTextures, word);
  if (v >= Game::TR4) {
    o.U8(d.AnimatedTexturesUVCount);
    o.Text("TEX", markerLength);
  }
  if (v >= Game::TR3) objectTextures();
  o.Counted<4>("Items", d.Items, [&](const Item& it) {
    o.W16(it.ObjectID, it.Room);
    o.W32(it.X, it.Y, it.Z);
    o.W16(it.Angle, it.Intensity1);
    if (v != Game::TR1) o.W16(it.OCB);
    o.W16(it.Flags);
  });
  if (v >= Game::TR4)
    o.Counted<4>("AIObjects", d.AIObjects, [&](const AIObject& a) {
      o.W16(a.ObjectID, a.Room);
      o.W32(a.X, a.Y, a.Z);
      o.W16(a.OCB, a.Flags);
      o.W32(a.Angle);
    });
  if (v <= Game::TR3) {
    o.NamedBlock("LightMap", d.LightMap);
    if (v == Game::TR1 && d.Tr1Palette == Tr1PaletteLayout::AfterLightMap)
      o.NamedBlock("Palette", d.Palette);
    o.Counted<2>("CinematicFrames", d.CinematicFrames, [&](const CinematicFrame& c) {
      o.W16(c.TargetX, c.TargetY, c.TargetZ, c.PosZ, c.PosY, c.PosX, c.FOV, c.Roll);
    });
  }
  if (d.AddOnSoundMap) {
    o.W16(d.SoundMap.size());
  } else {
    o.Count<2>("NumDemoData", d.DemoBytes.size());
    o.NamedBlock("DemoData", d.DemoBytes);
  }
  start = o.Mark();
  const size_t soundMapEntries = v == Game::TR1   ? kTr1SoundMapEntries
                                 : v == Game::TR4 ? d.SoundMap.size()
                                 : v == Game::TR5 ? 450
                                                  : kSoundMapEntries;
  for (size_t i = 0; i < soundMapEntries; ++i) o.W16(i < d.SoundMap.size() ? d.SoundMap[i] : -1);
  o.Name("SoundMap", start);
  o.Counted<4>("SoundDetails", d.SoundDetails, [&](const SoundDetail& s) { o.Block(s.Bytes); });
  if (v == Game::TR1) {
    o.Count<4>("Tr1SampleData size", d.Tr1SampleData.size());
    o.NamedBlock("Tr1SampleData", d.Tr1SampleData);
  }
  o.Counted<4>("SampleIndices", d.SampleIndices, dword);
  if (v >= Game::TR4) o.Fill(6, 0xCD);  // closing bytes, which the reader passes over
}

ComposedFile ComposeClassic(const DraftLevel& d) {
  const Game v = d.GameVersion;
  Out o;
  if (v <= Game::TR3) {
    size_t start = o.Mark();
    o.W32(d.VersionWord.value_or(v == Game::TR1 ? 0x20 : v == Game::TR2 ? 0x2D : 0xFF180038));
    o.Name("Version", start);
    if (v != Game::TR1) {
      o.NamedBlock("Palette", d.Palette);
      o.NamedBlock("Palette16", d.Palette16);
    }
    const auto pages = static_cast<size_t>(std::max(d.NumTextiles, 0));
    o.Count<4>("NumTextiles", pages);
    // A checkerboard of 16-texel squares, so a page looks like something when drawn.
    auto texels = [](size_t page, auto light, auto dark) {
      std::vector<decltype(light)> out;
      for (size_t y = 0; y < 256; ++y)
        for (size_t x = 0; x < 256; ++x)
          out.push_back(((x / 16 + y / 16 + page) & 1) ? light : dark);
      return out;
    };
    start = o.Mark();
    for (size_t page = 0; page < pages; ++page) o.Block(texels(page, uint8_t{15}, uint8_t{200}));
    o.Name("Textile8", start);
    if (v != Game::TR1) {
      start = o.Mark();
      if (d.Textile16.size() == pages * 65536) {
        for (uint16_t texel : d.Textile16) o.W16(texel);
      } else {
        for (size_t page = 0; page < pages; ++page)
          for (uint16_t texel : texels(page, uint16_t{0xFFFF}, uint16_t{0x8000 | 0x1084}))
            o.W16(texel);
      }
      o.Name("Textile16", start);
    }
  }
  size_t start = o.Mark();
  o.W32(d.Reserved32);
  o.Name("Reserved32", start);
  o.Count<2>("NumRooms", d.Rooms.size());
  for (size_t i = 0; i < d.Rooms.size(); ++i) {
    o.Prefix = "room " + std::to_string(i) + " ";
    WriteRoom(o, d.Rooms[i], v);
  }
  o.Prefix.clear();
  WriteLists(o, d);
  return o.Finish();
}

// The showcase with what it leaves empty filled in, so every list of the file has entries.
DraftLevel SampleDraft(Game gameVersion) {
  // Before the third game the fields of the second game's form (its object ids, box words and
  // lights); the third-game floor data stays, the reader takes it as it is.
  DraftLevel d = gameVersion < Game::TR3 ? SecondGameShowcaseDraft(/*keepThirdGameFloorData=*/true)
                                         : ShowcaseDraft();
  d.GameVersion = gameVersion;
  DraftRoom& hall = d.Rooms[0];
  hall.Triangles.push_back({{0, 1, 2}, 1, 0});
  hall.Sprites.push_back({0, 0});
  d.Rooms[1].LightMode = 1;
  d.Rooms[2].WaterScheme = 5;
  d.Rooms[2].AlternateGroup = 7;
  d.Reserved32 = 0x01020304;
  // A room of nothing but a static: the reader steps over its empty lists and sector grid.
  DraftRoom bare;
  bare.Info = {0, 0, 0, -1024};
  bare.StaticMeshes = {hall.StaticMeshes[0]};
  d.Rooms.push_back(bare);
  d.Animations[0].NumStateChanges = 1;
  d.Animations[0].NumAnimCommands = 1;
  d.StateChanges = {{1, 1, 0}};
  d.AnimDispatches = {{0, 1, 0, 0}};
  d.AnimCommands = {1, 0};
  d.MeshTrees = {0, 0, 0, 0};
  d.AnimatedTextures = {1, 1, 0, 1};
  d.CinematicFrames = {{1, 2, 3, 4, 5, 6, 80, 0}, {7, 8, 9, 10, 11, 12, 80, 1}};
  d.DemoBytes = {1, 2, 3, 4, 5, 6, 7};  // an odd length: every byte is kept
  d.SoundMap = {0, 1, 2, -1, 2};
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

}  // namespace slab::test
