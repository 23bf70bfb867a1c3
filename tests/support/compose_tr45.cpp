#include "support/compose_tr45.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace slab::test {

namespace {

class Out {
 public:
  std::vector<uint8_t> bytes;
  std::vector<ComposedSection> sections;  // the counts, by the names the readers give them
  std::string prefix;                     // "room 1 " while a room is written

  size_t Size() const { return bytes.size(); }
  void U8(uint8_t v) { bytes.push_back(v); }
  void I16(int16_t v) { Raw(&v, 2); }
  void U16(uint16_t v) { Raw(&v, 2); }
  void I32(int32_t v) { Raw(&v, 4); }
  void U32(uint32_t v) { Raw(&v, 4); }
  void F32(float v) { Raw(&v, 4); }
  void Text(const char* s, size_t n) { Raw(s, n); }
  void Fill(size_t n, uint8_t value) { bytes.insert(bytes.end(), n, value); }
  void Raw(const void* p, size_t n) {
    auto* b = static_cast<const uint8_t*>(p);
    bytes.insert(bytes.end(), b, b + n);
  }
  void Append(const std::vector<uint8_t>& more) { Raw(more.data(), more.size()); }
  void PatchI32(size_t at, int32_t v) { std::memcpy(bytes.data() + at, &v, 4); }
  void Count16(const char* name, size_t n) {
    sections.push_back({prefix + name, Size(), 2});
    I16(static_cast<int16_t>(n));
  }
  void Count32(const char* name, size_t n) {
    sections.push_back({prefix + name, Size(), 4});
    I32(static_cast<int32_t>(n));
  }
};

// Records whose layout the model fixes, written one field after another all the same.
void WriteSector(Out& o, const Sector& s) {
  o.U16(s.FDIndex);
  o.U16(s.BoxIndex);
  o.U8(s.RoomBelow);
  o.U8(s.Floor);
  o.U8(s.RoomAbove);
  o.U8(s.Ceiling);
}

void WritePortal(Out& o, const Portal& p) {
  o.U16(p.AdjoiningRoom);
  for (auto v : p.Normal) o.I16(v);
  for (auto v : p.Vertices) o.I16(v);
}

void WriteRoomStatic(Out& o, const RoomStatic& s) {
  o.I32(s.X);
  o.I32(s.Y);
  o.I32(s.Z);
  o.U16(s.Rotation);
  o.I16(s.Intensity1);
  o.I16(s.Intensity2);
  o.U16(s.ObjectID);
}

void WriteItem(Out& o, const Item& i) {
  o.I16(i.ObjectID);
  o.I16(i.Room);
  o.I32(i.X);
  o.I32(i.Y);
  o.I32(i.Z);
  o.I16(i.Angle);
  o.I16(i.Intensity1);
  o.I16(i.OCB);
  o.U16(i.Flags);
}

void WriteAIObject(Out& o, const AIObject& a) {
  o.I16(a.ObjectID);
  o.I16(a.Room);
  o.I32(a.X);
  o.I32(a.Y);
  o.I32(a.Z);
  o.I16(a.OCB);
  o.U16(a.Flags);
  o.I32(a.Angle);
}

void WriteObjectTexture(Out& o, const ObjectTexture& t, bool tr5) {
  o.U16(t.Attribute);
  o.U16(t.Tile);
  o.U16(t.NewFlags);
  for (const auto& c : t.Corners) {
    o.U8(c.XCoordinate);
    o.U8(c.XPixel);
    o.U8(c.YCoordinate);
    o.U8(c.YPixel);
  }
  o.Raw(t.UVOrigin.data(), 8);
  o.I32(t.Width);
  o.I32(t.Height);
  if (tr5) o.U16(t.Tr5Padding);
}

void WriteMoveable(Out& o, const Moveable& m, bool tr5) {
  o.I32(m.ObjectID);
  o.I16(m.NumMeshes);
  o.I16(m.StartingMesh);
  o.I32(m.MeshTree);
  o.I32(m.FrameOffset);
  o.I16(m.Animation);
  if (tr5) o.U16(m.Spare);
}

void WriteStaticMeshDef(Out& o, const StaticMeshDef& s) {
  o.I32(s.ID);
  o.I16(s.Mesh);
  for (auto v : s.VisibilityBox) o.I16(v);
  for (auto v : s.CollisionBox) o.I16(v);
  o.U16(s.Flags);
}

template <typename T, typename Write>
void CountedI32(Out& o, const char* name, const std::vector<T>& list, Write write) {
  o.Count32(name, list.size());
  for (const auto& e : list) write(e);
}

template <typename T>
void Words(Out& o, const std::vector<T>& list) {
  for (auto v : list) o.Raw(&v, sizeof(v));
}

void WriteTr4Light(Out& o, const RoomLight& l) {
  o.I32(l.X);
  o.I32(l.Y);
  o.I32(l.Z);
  o.Raw(l.Colour.data(), 3);
  o.I16(l.LightType);
  o.U8(l.Intensity);
  o.F32(l.In);
  o.F32(l.Out);
  o.F32(l.Length);
  o.F32(l.CutOff);
  o.I32(l.DX);
  o.I32(l.DY);
  o.I32(l.DZ);
}

void WriteTr4Room(Out& o, const Room& r) {
  o.I32(r.Info.X);
  o.I32(r.Info.Z);
  o.I32(r.Info.YBottom);
  o.I32(r.Info.YTop);
  o.I32(r.NumDataWords);
  o.Count16("NumVertices", r.Vertices.size());
  for (const auto& v : r.Vertices) {
    o.I16(v.X);
    o.I16(v.Y);
    o.I16(v.Z);
    o.I16(v.Lighting1);
    o.U16(v.Attributes);
    o.I16(v.Lighting2);
  }
  o.Count16("NumRectangles", r.Rectangles.size());
  for (const auto& q : r.Rectangles) {
    for (auto v : q.Vertices) o.I16(v);
    o.I16(q.Texture);
  }
  o.Count16("NumTriangles", r.Triangles.size());
  for (const auto& t : r.Triangles) {
    for (auto v : t.Vertices) o.I16(v);
    o.I16(t.Texture);
  }
  o.I16(r.Tr4SpriteCount);
  o.Count16("NumPortals", r.Portals.size());
  for (const auto& p : r.Portals) WritePortal(o, p);
  o.Count16("NumZSectors", static_cast<size_t>(r.NumZSectors));
  o.Count16("NumXSectors", static_cast<size_t>(r.NumXSectors));
  for (const auto& s : r.Sectors) WriteSector(o, s);
  o.I16(r.AmbientIntensity1);
  o.I16(r.AmbientIntensity2);
  o.Count16("NumLights", r.Lights.size());
  for (const auto& l : r.Lights) WriteTr4Light(o, l);
  o.Count16("NumStaticMeshes", r.StaticMeshes.size());
  for (const auto& s : r.StaticMeshes) WriteRoomStatic(o, s);
  o.I16(r.AlternateRoom);
  o.I16(r.Flags);
  o.U8(r.WaterScheme);
  o.U8(r.ReverbInfo);
  o.U8(r.AlternateGroup);
}

std::vector<uint8_t> VersionWord() { return {'T', 'R', '4', 0}; }

void WritePageChunks(Out& o, const std::vector<uint8_t>& p32, const std::vector<uint8_t>& p16,
                     const std::vector<uint8_t>& misc, size_t* at) {
  const std::vector<uint8_t>* chunks[] = {&p32, &p16, &misc};
  for (int i = 0; i < 3; ++i) {
    if (at) at[i] = o.Size();
    o.Append(ZlibChunkBytes(*chunks[i]));
  }
}

void WriteTr5Light(Out& o, const RoomLight& l) {
  o.F32(l.FX);
  o.F32(l.FY);
  o.F32(l.FZ);
  o.F32(l.Red);
  o.F32(l.Green);
  o.F32(l.Blue);
  o.Fill(4, 0);
  o.F32(l.In);
  o.F32(l.Out);
  o.F32(l.Length);
  o.F32(l.CutOff);
  o.F32(l.Range);
  o.F32(l.DirX);
  o.F32(l.DirY);
  o.F32(l.DirZ);
  o.I32(l.X);
  o.I32(l.Y);
  o.I32(l.Z);
  o.I32(l.DX);
  o.I32(l.DY);
  o.I32(l.DZ);
  o.I16(l.LightType);
  o.Fill(2, 0);
}

void WriteTr5Room(Out& o, const Tr5RoomDraft& d) {
  const Room& r = d.Base;
  const size_t start = o.Size();
  const size_t dataStart = start + 8;
  size_t vertices = 0, rectangles = 0, triangles = 0;
  for (const auto& layer : d.Layers) {
    vertices += layer.Vertices.size();
    rectangles += layer.Rectangles.size();
    triangles += layer.Triangles.size();
  }
  o.Text(d.Marker.data(), 4);
  o.I32(0);  // block size, patched at the end
  o.Fill(8, 0xCD);
  o.I32(0);  // sector offset, patched
  o.Fill(8, 0xCD);
  o.I32(r.Info.X);
  o.I32(-1);  // Y, not read
  o.I32(r.Info.Z);
  o.I32(r.Info.YBottom);
  o.I32(r.Info.YTop);
  o.I16(r.NumZSectors);
  o.I16(r.NumXSectors);
  o.U8(r.Tr5RoomByte);
  o.U8(r.WaterScheme);
  o.U8(r.ReverbInfo);
  o.U8(r.AlternateGroup);
  o.I16(static_cast<int16_t>(r.Lights.size()));
  o.I16(static_cast<int16_t>(r.StaticMeshes.size()));
  o.Fill(24, 0xCD);
  o.I16(r.AlternateRoom);
  o.I16(r.Flags);
  o.I16(static_cast<int16_t>(vertices));
  o.Fill(54, 0xCD);
  o.I16(static_cast<int16_t>(triangles));
  o.Fill(2, 0xCD);
  o.I16(static_cast<int16_t>(rectangles));
  o.Fill(6, 0xCD);
  o.I32(static_cast<int32_t>(r.Lights.size() * 88));
  o.I16(static_cast<int16_t>(r.Lights.size()));
  o.Fill(2, 0xCD);
  o.I32(d.FogCount);
  o.Fill(8, 0xCD);
  o.I32(static_cast<int32_t>(d.Layers.size()));
  const size_t offsetsAt = o.Size();
  o.Fill(12, 0);  // layer, vertex and polygon offsets, patched
  o.Fill(24, 0xCD);
  if (o.Size() - start != 216) throw std::logic_error("fifth-game room header is not 216 bytes");
  const size_t lightsAt = o.Size();
  for (const auto& l : r.Lights) WriteTr5Light(o, l);
  o.Fill(36 * static_cast<size_t>(std::max(d.FogCount, 0)), 0xEE);

  o.PatchI32(start + 16, static_cast<int32_t>(o.Size() - lightsAt));
  for (const auto& s : r.Sectors) WriteSector(o, s);
  o.I16(static_cast<int16_t>(r.Portals.size()));
  for (const auto& p : r.Portals) WritePortal(o, p);
  o.Fill(2, 0xCD);
  for (const auto& s : r.StaticMeshes) WriteRoomStatic(o, s);

  o.PatchI32(offsetsAt, static_cast<int32_t>(o.Size() - lightsAt));
  for (const auto& layer : d.Layers) {
    std::array<uint8_t, 56> bytes{};
    uint32_t n = static_cast<uint32_t>(layer.Vertices.size());
    uint16_t q = static_cast<uint16_t>(layer.Rectangles.size());
    uint16_t t = static_cast<uint16_t>(layer.Triangles.size());
    std::memcpy(bytes.data(), &n, 4);
    std::memcpy(bytes.data() + 6, &q, 2);
    std::memcpy(bytes.data() + 8, &t, 2);
    o.Raw(bytes.data(), bytes.size());
  }
  o.PatchI32(offsetsAt + 8, static_cast<int32_t>(o.Size() - lightsAt));
  for (const auto& layer : d.Layers) {
    for (const auto& quad : layer.Rectangles) {
      for (auto v : quad.Vertices) o.I16(v);
      o.I16(quad.Texture);
      o.I16(quad.Extra);
    }
    for (const auto& triangle : layer.Triangles) {
      for (auto v : triangle.Vertices) o.I16(v);
      o.I16(triangle.Texture);
      o.I16(triangle.Extra);
    }
  }
  if (triangles % 2 == 1) o.Fill(2, 0xCD);
  if (d.Layers.empty()) o.Fill(2, 0xCD);
  o.PatchI32(offsetsAt + 4, static_cast<int32_t>(o.Size() - lightsAt));
  for (const auto& layer : d.Layers)
    for (const auto& v : layer.Vertices) {
      o.F32(v[0]);
      o.F32(v[1]);
      o.F32(v[2]);
      o.Fill(16, 0x11);
    }
  o.Fill(d.Slack, 0xAB);
  o.PatchI32(start + 4, static_cast<int32_t>(o.Size() - dataStart));
}

}  // namespace

std::vector<uint8_t> ZlibChunkBytes(std::span<const uint8_t> raw) {
  uLongf len = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> out(8 + len);
  if (compress(out.data() + 8, &len, raw.data(), static_cast<uLong>(raw.size())) != Z_OK)
    throw std::runtime_error("compress failed");
  out.resize(8 + len);
  uint32_t sizes[2] = {static_cast<uint32_t>(raw.size()), static_cast<uint32_t>(len)};
  std::memcpy(out.data(), sizes, 8);
  return out;
}

std::vector<uint8_t> AddOnBlock(size_t length) {
  std::vector<uint8_t> block(length, 0x5A);
  block[0] = 'N';
  block[1] = 'G';
  std::memcpy(block.data() + length - 8, "NGLE", 4);
  uint32_t n = static_cast<uint32_t>(length);
  std::memcpy(block.data() + length - 4, &n, 4);
  return block;
}

std::vector<uint8_t> PageBytes(double pages, size_t bytesPerPixel) {
  std::vector<uint8_t> out(static_cast<size_t>(pages * 65536 * bytesPerPixel));
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<uint8_t>(i / (65536 * bytesPerPixel) * 37 + i % 251);
  return out;
}

ComposedFile Tr4LevelData(const Level& l, bool addOnSoundMap) {
  Out o;
  o.I32(l.Reserved32);
  o.Count16("NumRooms", l.Rooms.size());
  for (size_t n = 0; n < l.Rooms.size(); ++n) {
    o.prefix = "room " + std::to_string(n) + " ";
    WriteTr4Room(o, l.Rooms[n]);
  }
  o.prefix.clear();
  o.Count32("NumFloorData", l.FloorData.size() / 2);
  o.Append(l.FloorData);
  o.Count32("NumMeshData", l.MeshData.size() / 2);
  o.Append(l.MeshData);
  CountedI32(o, "NumMeshPointers", l.MeshPointers, [&](int32_t v) { o.I32(v); });
  CountedI32(o, "NumAnimations", l.Animations, [&](const Animation& a) { o.Raw(&a, sizeof(a)); });
  CountedI32(o, "NumStateChanges", l.StateChanges, [&](const StateChange& s) {
    o.I16(s.StateID);
    o.I16(s.NumAnimDispatches);
    o.I16(s.AnimDispatch);
  });
  CountedI32(o, "NumAnimDispatches", l.AnimDispatches, [&](const AnimDispatch& d) {
    o.I16(d.Low);
    o.I16(d.High);
    o.I16(d.NextAnimation);
    o.I16(d.NextFrame);
  });
  CountedI32(o, "NumAnimCommands", l.AnimCommands, [&](int16_t v) { o.I16(v); });
  CountedI32(o, "NumMeshTrees", l.MeshTrees, [&](int32_t v) { o.I32(v); });
  CountedI32(o, "NumFrames", l.Frames, [&](int16_t v) { o.I16(v); });
  CountedI32(o, "NumMoveables", l.Moveables,
             [&](const Moveable& m) { WriteMoveable(o, m, false); });
  CountedI32(o, "NumStaticMeshes", l.StaticMeshDefs,
             [&](const StaticMeshDef& s) { WriteStaticMeshDef(o, s); });
  o.Text("SPR", 3);
  CountedI32(o, "NumSpriteTextures", l.SpriteTextures,
             [&](const SpriteTexture& s) { o.Raw(&s, 16); });
  CountedI32(o, "NumSpriteSequences", l.SpriteSequences, [&](const SpriteSequence& s) {
    o.I32(s.SpriteID);
    o.I16(s.NegativeLength);
    o.I16(s.Offset);
  });
  CountedI32(o, "NumCameras", l.Cameras, [&](const Camera& c) {
    o.I32(c.X);
    o.I32(c.Y);
    o.I32(c.Z);
    o.I16(c.Room);
    o.U16(c.Flag);
  });
  CountedI32(o, "NumFlybyCameras", l.FlybyCameras,
             [&](const FlybyCamera& f) { o.Raw(f.Bytes.data(), 40); });
  CountedI32(o, "NumSoundSources", l.SoundSources, [&](const SoundSource& s) {
    o.I32(s.X);
    o.I32(s.Y);
    o.I32(s.Z);
    o.U16(s.SoundID);
    o.U16(s.Flags);
  });
  CountedI32(o, "NumBoxes", l.Boxes, [&](const Box& b) {
    o.U8(b.Zmin);
    o.U8(b.Zmax);
    o.U8(b.Xmin);
    o.U8(b.Xmax);
    o.I16(b.TrueFloor);
    o.I16(b.OverlapIndex);
  });
  CountedI32(o, "NumOverlaps", l.Overlaps, [&](int16_t v) { o.I16(v); });
  Words(o, l.Zones);
  CountedI32(o, "NumAnimatedTextures", l.AnimatedTextures, [&](int16_t v) { o.I16(v); });
  o.U8(l.AnimatedTexturesUVCount);
  o.Text("TEX", 3);
  CountedI32(o, "NumObjectTextures", l.ObjectTextures,
             [&](const ObjectTexture& t) { WriteObjectTexture(o, t, false); });
  CountedI32(o, "NumItems", l.Items, [&](const Item& i) { WriteItem(o, i); });
  CountedI32(o, "NumAIObjects", l.AIObjects, [&](const AIObject& a) { WriteAIObject(o, a); });
  if (addOnSoundMap) {
    o.U16(static_cast<uint16_t>(l.SoundMap.size()));
  } else {
    o.Count16("NumDemoData", static_cast<size_t>(l.NumDemoData));
    if (l.NumDemoData > 0) o.Raw(l.DemoData.data(), static_cast<size_t>(l.NumDemoData));
  }
  Words(o, l.SoundMap);
  CountedI32(o, "NumSoundDetails", l.SoundDetails,
             [&](const SoundDetail& s) { o.Raw(s.Bytes.data(), 8); });
  CountedI32(o, "NumSampleIndices", l.SampleIndices, [&](int32_t v) { o.I32(v); });
  o.Fill(6, 0xCD);
  return {std::move(o.bytes), std::move(o.sections)};
}

std::vector<uint8_t> ComposedTr4::WithLevelData(const std::vector<uint8_t>& data) const {
  uint32_t packed;
  std::memcpy(&packed, Bytes.data() + ChunkAt[3] + 4, 4);
  std::vector<uint8_t> out(Bytes.begin(), Bytes.begin() + ChunkAt[3]);
  const auto chunk = ZlibChunkBytes(data);
  out.insert(out.end(), chunk.begin(), chunk.end());
  out.insert(out.end(), Bytes.begin() + ChunkAt[3] + 8 + packed, Bytes.end());
  return out;
}

ComposedTr4 ComposeTR4(const Tr4Draft& d) {
  ComposedTr4 c;
  Out o;
  o.Append(VersionWord());
  o.I16(d.NumRoomTextiles);
  o.I16(d.NumObjTextiles);
  o.I16(d.NumBumpTextiles);
  WritePageChunks(o, d.Pages32, d.Pages16, d.MiscPages, c.ChunkAt.data());
  c.ChunkAt[3] = o.Size();
  c.LevelData = Tr4LevelData(d.Data, !d.AddOn.empty());
  o.Append(ZlibChunkBytes(c.LevelData.Bytes));
  c.SamplesAt = o.Size();
  o.I32(static_cast<int32_t>(d.Data.Samples.size()));
  for (const auto& s : d.Data.Samples) {
    o.I32(s.UncompressedSize);
    o.I32(static_cast<int32_t>(s.Data.size()));
    o.Append(s.Data);
  }
  o.Append(d.AddOn);
  c.Bytes = std::move(o.bytes);
  return c;
}

Tr4Draft SampleTr4Draft() {
  Tr4Draft d;
  Level& l = d.Data;
  l.Reserved32 = 0x12345678;
  for (int n = 0; n < 2; ++n) {
    Room& r = l.Rooms.emplace_back();
    r.Info = {1024 * (n + 1), 2048, 0, -1024 * (n + 2)};
    r.NumDataWords = 100 + n;
    for (int i = 0; i < 4; ++i)
      r.Vertices.push_back({int16_t(i * 1024), int16_t(-256 * n), 512, 7, 0x8000, -3});
    r.Rectangles.push_back({{0, 1, 2, 3}, 5, 0});
    r.Triangles.push_back({{0, 1, 2}, 6, 0});
    r.Triangles.push_back({{1, 2, 3}, int16_t(0x8007), 0});
    r.Tr4SpriteCount = 0;
    Portal p;
    p.AdjoiningRoom = uint16_t(1 - n);
    p.Normal = {1, 0, 0};
    r.Portals.push_back(p);
    r.NumZSectors = 3;
    r.NumXSectors = 2;
    for (int i = 0; i < 6; ++i)
      r.Sectors.push_back({uint16_t(i), uint16_t(0xFFFF), 255, uint8_t(i), 255, 0x81});
    r.AmbientIntensity1 = 0x4040;
    r.AmbientIntensity2 = 0x40;
    RoomLight light;
    light.X = 100;
    light.Y = -200;
    light.Z = 300;
    light.Colour = {10, 20, 30};
    light.LightType = 0x0101;
    light.Intensity = 31;
    light.In = 1.5f;
    light.Out = 2.5f;
    light.Length = 3.5f;
    light.CutOff = 4.5f;
    light.DX = 0x3F800000;
    light.DY = 0x40000000;
    light.DZ = -0x40400000;
    r.Lights.push_back(light);
    r.StaticMeshes.push_back({5000, -256, 6000, 0x4000, 0x10, 0x20, 3});
    r.AlternateRoom = -1;
    r.Flags = int16_t(0x40 + n);
    r.WaterScheme = 1;
    r.ReverbInfo = 2;
    r.AlternateGroup = 3;
  }
  l.FloorData = {0x01, 0x80, 0x02, 0x00};
  l.MeshData = {1, 2, 3, 4, 5, 6};
  l.MeshPointers = {0, 2};
  Animation a;
  a.FrameOffset = 40;
  a.LateralSpeed = {7, 8};
  l.Animations = {a, a};
  l.StateChanges = {{1, 1, 0}};
  l.AnimDispatches = {{0, 5, 1, 2}};
  l.AnimCommands = {1, 2, 3};
  l.MeshTrees = {2, 0, 0, 0};
  l.Frames = {9, 8, 7, 6, 5};
  l.Moveables = {{0, 2, 0, 0, 0, 0, 0}, {405, 1, 1, 4, 10, 1, 0}};
  l.StaticMeshDefs.resize(1);
  l.StaticMeshDefs[0].ID = 3;
  l.StaticMeshDefs[0].Flags = 2;
  l.SpriteTextures.resize(2);
  l.SpriteTextures[1].Width = 0x1234;
  l.SpriteSequences = {{-1, -2, 0}};
  l.Cameras = {{1, 2, 3, 0, 1}};
  l.FlybyCameras.resize(2);
  l.FlybyCameras[1].Bytes[39] = 0x77;
  l.SoundSources = {{4, 5, 6, 7, 8}};
  l.Boxes = {{1, 2, 3, 4, -256, 0}, {5, 6, 7, 8, -512, 1}};
  l.Overlaps = {1, int16_t(0x8000)};
  l.Zones.assign(20, 3);
  l.AnimatedTextures = {1, 2, 0, 1};
  l.AnimatedTexturesUVCount = 2;
  ObjectTexture t;
  t.Attribute = 1;
  t.Tile = 0x8003;
  t.NewFlags = 4;
  t.Corners = {{{0, 192, 0, 0}, {0, 255, 0, 0}, {0, 255, 0, 63}, {0, 192, 0, 63}}};
  t.UVOrigin = {1, 2, 3, 4, 5, 6, 7, 8};
  t.Width = 63;
  t.Height = 63;
  l.ObjectTextures = {t};
  l.Items = {{0, 0, 4608, 0, 22016, int16_t(-32768), 4096, 17, 0x3E00},
             {405, 1, 100, 200, 300, 0, -1, -5, 0x0100}};
  l.AIObjects = {{1, 0, 1, 2, 3, 4, 5, 90}};
  l.NumDemoData = 0;
  for (size_t i = 0; i < l.SoundMap.size(); ++i) l.SoundMap[i] = int16_t(i % 7 == 0 ? i : -1);
  l.SoundDetails.resize(2);
  l.SoundDetails[0].Bytes = {1, 2, 3, 4, 5, 6, 7, 8};
  l.SampleIndices = {0, 1};
  l.Samples.push_back({10, 5, {1, 2, 3, 4, 5}});
  l.Samples.push_back({20, 3, {9, 9, 9}});
  return d;
}

ComposedTr5 ComposeTR5(const Tr5Draft& d) {
  ComposedTr5 c;
  Out o;
  o.Append(VersionWord());
  o.I16(d.NumRoomTextiles);
  o.I16(d.NumObjTextiles);
  o.I16(d.NumBumpTextiles);
  WritePageChunks(o, d.Pages32, d.Pages16, d.MiscPages, nullptr);
  o.I16(d.HeaderA);
  o.I16(d.HeaderB);
  o.Fill(28, 0);
  const size_t sizesAt = o.Size();
  o.I32(0);
  o.I32(0);
  o.Fill(4, 0);
  o.Count16("NumRooms", d.Rooms.size());
  o.Fill(2, 0);
  for (const auto& room : d.Rooms) {
    c.RoomAt.push_back(o.Size());
    WriteTr5Room(o, room);
  }
  const Level& l = d.Data;
  const Tr5SkippedCounts& s = d.Skipped;
  auto skipped = [&](const char* name, int32_t count, size_t size) {
    o.Count32(name, static_cast<size_t>(count));
    o.Fill(static_cast<size_t>(std::max(count, 0)) * size, 0x5C);
  };
  o.Count32("NumFloorData", l.FloorData.size() / 2);
  o.Append(l.FloorData);
  o.Count32("NumMeshData", l.MeshData.size() / 2);
  o.Append(l.MeshData);
  CountedI32(o, "NumMeshPointers", l.MeshPointers, [&](int32_t v) { o.I32(v); });
  skipped("NumAnimations", s.Animations, 40);
  skipped("NumStateChanges", s.StateChanges, 6);
  skipped("NumAnimDispatches", s.AnimDispatches, 8);
  skipped("NumAnimCommands", s.AnimCommands, 2);
  CountedI32(o, "NumMeshTrees", l.MeshTrees, [&](int32_t v) { o.I32(v); });
  CountedI32(o, "NumFrames", l.Frames, [&](int16_t v) { o.I16(v); });
  CountedI32(o, "NumMoveables", l.Moveables, [&](const Moveable& m) { WriteMoveable(o, m, true); });
  CountedI32(o, "NumStaticMeshes", l.StaticMeshDefs,
             [&](const StaticMeshDef& m) { WriteStaticMeshDef(o, m); });
  o.Text("SPR", 4);
  skipped("NumSpriteTextures", s.SpriteTextures, 16);
  skipped("NumSpriteSequences", s.SpriteSequences, 8);
  skipped("NumCameras", s.Cameras, 16);
  skipped("NumFlybyCameras", s.FlybyCameras, 40);
  skipped("NumSoundSources", s.SoundSources, 16);
  skipped("NumBoxes", s.Boxes, 8);
  skipped("NumOverlaps", s.Overlaps, 2);
  o.Fill(static_cast<size_t>(std::max(s.Boxes, 0)) * 20, 0x5D);
  skipped("NumAnimatedTextures", s.AnimatedTextures, 2);
  o.U8(0);
  o.Text("TEX", 4);
  CountedI32(o, "NumObjectTextures", l.ObjectTextures,
             [&](const ObjectTexture& t) { WriteObjectTexture(o, t, true); });
  CountedI32(o, "NumItems", l.Items, [&](const Item& i) { WriteItem(o, i); });
  CountedI32(o, "NumAIObjects", l.AIObjects, [&](const AIObject& a) { WriteAIObject(o, a); });
  // The sound data that follows is not read; a little of it shows the reader stops here.
  o.Fill(20, 0xCD);
  int32_t levelBytes = static_cast<int32_t>(o.Size() - sizesAt - 8);
  o.PatchI32(sizesAt, levelBytes);
  o.PatchI32(sizesAt + 4, levelBytes);
  c.Bytes = std::move(o.bytes);
  c.Sections = std::move(o.sections);
  return c;
}

Tr5Draft SampleTr5Draft() {
  Tr5Draft d;
  d.HeaderA = 3;
  d.HeaderB = -4;
  Tr5RoomDraft& room = d.Rooms.emplace_back();
  Room& r = room.Base;
  r.Info = {1024, 9216, 0, -3072};
  r.NumZSectors = 2;
  r.NumXSectors = 3;
  for (int i = 0; i < 6; ++i) r.Sectors.push_back({uint16_t(i), 7, 255, uint8_t(i), 255, 0x82});
  Portal p;
  p.AdjoiningRoom = 0;
  p.Normal = {0, 0, -1};
  r.Portals = {p};
  r.StaticMeshes = {{1, 2, 3, 4, 5, 6, 7}};
  RoomLight light;
  light.FX = 1.5f;
  light.Red = 0.5f;
  light.In = 512;
  light.Length = 3;
  light.Range = 2048;
  light.DirZ = -1;
  light.X = 7;
  light.DZ = -4096;
  light.LightType = 2;
  r.Lights = {light, light};
  r.AlternateRoom = -1;
  r.Flags = 64;
  r.Tr5RoomByte = 0x11;
  r.WaterScheme = 0x22;
  r.ReverbInfo = 0x33;
  r.AlternateGroup = 0x44;
  room.FogCount = 1;
  room.Slack = 12;
  // Two layers of 10 and 6 vertices, 3 triangles in all.
  Tr5LayerDraft& a = room.Layers.emplace_back();
  for (int i = 0; i < 10; ++i) a.Vertices.push_back({float(i) * 1024, -256.0f, 1023.5f});
  a.Rectangles = {{{0, 1, 2, 3}, 1, 10}, {{4, 5, 6, 7}, 2, 11}};
  a.Triangles = {{{7, 8, 9}, 3, 12}};
  Tr5LayerDraft& b = room.Layers.emplace_back();
  for (int i = 0; i < 6; ++i) b.Vertices.push_back({1022.5f, float(i) - 0.5f, -1.5f});
  b.Rectangles = {{{0, 1, 2, 3}, 4, 13}};
  b.Triangles = {{{3, 4, 5}, 5, 14}, {{0, 4, 5}, 6, 15}};
  Level& l = d.Data;
  l.FloorData = {0x05, 0x80, 0x01, 0x00};
  l.MeshData = {1, 0, 2, 0};
  l.MeshPointers = {0};
  l.MeshTrees = {0, 1, 2, 3};
  l.Frames = {4, 5, 6};
  l.Moveables = {{0, 1, 0, 0, 0, 0, 0xCDCD}};
  l.StaticMeshDefs.resize(2);
  l.StaticMeshDefs[1].ID = 9;
  ObjectTexture t;
  t.Tile = 0x8001;
  t.Corners = {{{0, 0, 0, 0}, {0, 31, 0, 0}, {0, 31, 0, 31}, {0, 0, 0, 31}}};
  t.Width = 31;
  t.Height = 31;
  t.Tr5Padding = 0xABCD;
  l.ObjectTextures = {t, t};
  l.Items = {{0, 0, 4608, 0, 22016, int16_t(-32768), -1, 3, 0x3E00}};
  l.AIObjects = {{2, 0, 10, 20, 30, 1, 2, 3}};
  d.Skipped = {3, 2, 2, 5, 4, 1, 1, 2, 1, 2, 3, 2};
  return d;
}

}  // namespace slab::test
