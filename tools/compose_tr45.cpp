#include "tools/compose_tr45.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "level/encryption.h"
#include "tools/compose_out.h"

namespace slab::test {

namespace {

// The version word ("TR4" and a zero), the page counts and the three texture chunks.
template <typename Draft>
void WriteHead(Out& o, const Draft& d, size_t* at) {
  o.Text("TR4", 4);
  o.W16(d.NumRoomTextiles, d.NumObjTextiles, d.NumBumpTextiles);
  const std::vector<uint8_t>* chunks[] = {&d.Pages32, &d.Pages16, &d.MiscPages};
  for (int i = 0; i < 3; ++i) {
    at[i] = o.Mark();
    o.Block(ZlibChunkBytes(*chunks[i]));
  }
}

// The sample count, then each sample's two sizes and its bytes, as both games store them.
void WriteSamples(Out& o, const std::vector<SampleChunk>& samples) {
  o.Count<4>("NumSamples", samples.size());
  for (size_t i = 0; i < samples.size(); ++i) {
    const size_t start = o.Mark();
    o.W32(samples[i].UncompressedSize, samples[i].Data.size());
    o.Block(samples[i].Data);
    o.Name("sample " + std::to_string(i), start);
  }
}

void WriteTr5Light(Out& o, const RoomLight& l) {
  o.F32(l.FX, l.FY, l.FZ, l.Red, l.Green, l.Blue);
  o.Fill(4, 0);
  o.F32(l.In, l.Out, l.Length, l.CutOff, l.Range, l.DirX, l.DirY, l.DirZ);
  o.W32(l.X, l.Y, l.Z, l.DX, l.DY, l.DZ);
  o.W16(l.LightType);
  o.Fill(2, 0);
}

void WriteTr5Room(Out& o, const Tr5RoomDraft& d) {
  const Room& r = d.Base;
  const size_t start = o.Mark();
  size_t vertices = 0, rectangles = 0, triangles = 0;
  for (const auto& layer : d.Layers) {
    vertices += layer.Vertices.size();
    rectangles += layer.Rectangles.size();
    triangles += layer.Triangles.size();
  }
  o.Text(d.Marker.data(), 4);
  o.W32(0);  // block size, patched at the end
  o.Fill(8, 0xCD);
  o.W32(0);  // sector offset, patched
  o.Fill(8, 0xCD);
  o.W32(r.Info.X, -1, r.Info.Z, r.Info.YBottom, r.Info.YTop);  // Y is not read
  o.W16(r.NumZSectors, r.NumXSectors);
  o.U8(r.Tr5RoomByte, r.WaterScheme, r.ReverbInfo, r.AlternateGroup);
  o.W16(r.Lights.size(), r.StaticMeshes.size());
  o.Fill(24, 0xCD);
  o.W16(r.AlternateRoom, r.Flags, vertices);
  o.Fill(54, 0xCD);
  o.W16(triangles);
  o.Fill(2, 0xCD);
  o.W16(rectangles);
  o.Fill(6, 0xCD);
  o.W32(r.Lights.size() * 88);
  o.W16(r.Lights.size());
  o.Fill(2, 0xCD);
  o.W32(d.FogCount);
  o.Fill(8, 0xCD);
  o.W32(d.Layers.size());
  const size_t offsetsAt = o.Mark();
  o.Fill(12, 0);  // layer, vertex and polygon offsets, patched
  o.Fill(24, 0xCD);
  if (o.Mark() - start != 216) throw std::logic_error("fifth-game room header is not 216 bytes");
  const size_t lightsAt = o.Mark();
  auto patch = [&](size_t at) { o.PatchW32(at, static_cast<uint32_t>(o.Mark() - lightsAt)); };
  for (const auto& l : r.Lights) WriteTr5Light(o, l);
  o.Fill(36 * static_cast<size_t>(std::max(d.FogCount, 0)), 0xEE);

  patch(start + 16);
  for (const auto& s : r.Sectors) WriteSector(o, s);
  o.W16(r.Portals.size());
  for (const auto& p : r.Portals) WritePortal(o, p);
  o.Fill(2, 0xCD);
  for (const auto& s : r.StaticMeshes) WriteRoomStatic(o, s, Game::TR5);

  patch(offsetsAt);
  for (const auto& layer : d.Layers) {
    o.W32(layer.Vertices.size());
    o.W16(0, layer.Rectangles.size(), layer.Triangles.size());
    o.Fill(46, 0);
  }
  patch(offsetsAt + 8);
  for (const auto& layer : d.Layers) {
    for (const auto& quad : layer.Rectangles) {
      for (auto v : quad.Vertices) o.W16(v);
      o.W16(quad.Texture, quad.Extra);
    }
    for (const auto& triangle : layer.Triangles) {
      for (auto v : triangle.Vertices) o.W16(v);
      o.W16(triangle.Texture, triangle.Extra);
    }
  }
  if (triangles % 2 == 1) o.Fill(2, 0xCD);
  if (d.Layers.empty()) o.Fill(2, 0xCD);
  patch(offsetsAt + 4);
  for (const auto& layer : d.Layers)
    for (const auto& v : layer.Vertices) {
      o.F32(v[0], v[1], v[2]);
      o.Fill(16, 0x11);
    }
  o.Fill(d.Slack, 0xAB);
  o.PatchW32(start + 4, static_cast<uint32_t>(o.Mark() - start - 8));
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
  DraftLevel d = DraftFromLevel(l, Game::TR4);
  d.AddOnSoundMap = addOnSoundMap;
  return ComposeClassic(d);
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
  WriteHead(o, d, c.ChunkAt.data());
  c.ChunkAt[3] = o.Mark();
  c.LevelData = Tr4LevelData(d.Data, !d.AddOn.empty());
  o.Block(ZlibChunkBytes(c.LevelData.Bytes));
  WriteSamples(o, d.Data.Samples);
  o.Block(d.AddOn);
  c.Bytes = o.Finish().Bytes;
  return c;
}

Tr4Draft SampleTr4Draft() {
  Tr4Draft d;
  Level& l = d.Data;
  l.Reserved32 = 0x12345678;
  for (int n = 0; n < 2; ++n) {
    Room& r = l.Rooms.emplace_back();
    r.Info = {1024 * (n + 1), 2048, 0, -1024 * (n + 2)};
    for (int i = 0; i < 4; ++i)
      r.Vertices.push_back({int16_t(i * 1024), int16_t(-256 * n), 512, 7, 0x8000, -3});
    r.Rectangles.push_back({{0, 1, 2, 3}, 5, 0});
    r.Triangles.push_back({{0, 1, 2}, 6, 0});
    r.Triangles.push_back({{1, 2, 3}, int16_t(0x8007), 0});
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
    r.Lights.push_back({.X = 100,
                        .Y = -200,
                        .Z = 300,
                        .DX = 0x3F800000,
                        .DY = 0x40000000,
                        .DZ = -0x40400000,
                        .Colour = {10, 20, 30},
                        .LightType = 0x0101,
                        .Intensity = 31,
                        .In = 1.5f,
                        .Out = 2.5f,
                        .Length = 3.5f,
                        .CutOff = 4.5f});
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
  l.Animations.assign(2, {.FrameOffset = 40, .LateralSpeed = {7, 8}});
  l.StateChanges = {{1, 1, 0}};
  l.AnimDispatches = {{0, 5, 1, 2}};
  l.AnimCommands = {1, 2, 3};
  l.MeshTrees = {2, 0, 0, 0};
  l.Frames = {9, 8, 7, 6, 5};
  l.Moveables = {{0, 2, 0, 0, 0, 0, 0}, {405, 1, 1, 4, 10, 1, 0}};
  l.StaticMeshDefs = {{.ID = 3, .Flags = 2}};
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
  l.ObjectTextures = {
      {.Attribute = 1,
       .Tile = 0x8003,
       .NewFlags = 4,
       .Corners = {{{0, 192, 0, 0}, {0, 255, 0, 0}, {0, 255, 0, 63}, {0, 192, 0, 63}}},
       .UVOrigin = {1, 2, 3, 4, 5, 6, 7, 8},
       .Width = 63,
       .Height = 63}};
  l.Items = {{0, 0, 4608, 0, 22016, int16_t(-32768), 4096, 17, 0x3E00},
             {405, 1, 100, 200, 300, 0, -1, -5, 0x0100}};
  l.AIObjects = {{1, 0, 1, 2, 3, 4, 5, 90}};
  for (size_t i = 0; i < l.SoundMap.size(); ++i) l.SoundMap[i] = int16_t(i % 7 == 0 ? i : -1);
  l.SoundDetails.resize(2);
  l.SoundDetails[0].Bytes = {1, 2, 3, 4, 5, 6, 7, 8};
  l.SampleIndices = {0, 1};
  l.Samples.push_back({10, 5, {1, 2, 3, 4, 5}});
  l.Samples.push_back({20, 3, {9, 9, 9}});
  return d;
}

ComposedTr5 ComposeTR5(const Tr5Draft& d) {
  std::array<size_t, 3> chunkAt{};
  std::vector<size_t> roomAt;
  Out o;
  WriteHead(o, d, chunkAt.data());
  o.W16(d.HeaderA, d.HeaderB);
  o.Fill(28, 0);
  const size_t sizesAt = o.Mark();
  o.Fill(12, 0);  // the level data's two sizes, patched, and four unused bytes
  o.Count<2>("NumRooms", d.Rooms.size());
  o.Fill(2, 0);
  for (const auto& room : d.Rooms) {
    roomAt.push_back(o.Mark());
    WriteTr5Room(o, room);
  }
  WriteLists(o, DraftFromLevel(d.Data, Game::TR5));
  const auto levelBytes = static_cast<uint32_t>(o.Mark() - sizesAt - 8);
  o.PatchW32(sizesAt, levelBytes);
  o.PatchW32(sizesAt + 4, levelBytes);
  WriteSamples(o, d.Data.Samples);
  ComposedTr5 c;
  static_cast<ComposedFile&>(c) = o.Finish();
  c.ChunkAt = chunkAt;
  c.RoomAt = std::move(roomAt);
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
  const RoomLight light{.X = 7,
                        .DZ = -4096,
                        .FX = 1.5f,
                        .LightType = 2,
                        .In = 512,
                        .Length = 3,
                        .DirZ = -1,
                        .Range = 2048,
                        .Red = 0.5f};
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
  // A second room without layers, for the reader to step over.
  Tr5RoomDraft bare = room;
  bare.Layers.clear();
  bare.FogCount = 0;
  bare.Slack = 0;
  d.Rooms.push_back(bare);
  Level& l = d.Data;
  l.FloorData = {0x05, 0x80, 0x01, 0x00};
  l.MeshData = {1, 0, 2, 0};
  l.MeshPointers = {0};
  l.MeshTrees = {0, 1, 2, 3};
  l.Frames = {4, 5, 6};
  l.Moveables = {{0, 1, 0, 0, 0, 0, 0xCDCD}};
  l.StaticMeshDefs.resize(2);
  l.StaticMeshDefs[1].ID = 9;
  const ObjectTexture t{.Tile = 0x8001,
                        .Corners = {{{0, 0, 0, 0}, {0, 31, 0, 0}, {0, 31, 0, 31}, {0, 0, 0, 31}}},
                        .Width = 31,
                        .Height = 31,
                        .Tr5Padding = 0xABCD};
  l.ObjectTextures = {t, t};
  l.Items = {{0, 0, 4608, 0, 22016, int16_t(-32768), -1, 3, 0x3E00}};
  l.AIObjects = {{2, 0, 10, 20, 30, 1, 2, 3}};
  // Lists the reader passes over without keeping, the sound data after them included.
  l.Animations.resize(3);
  l.StateChanges.resize(2);
  l.AnimDispatches.resize(2);
  l.AnimCommands.resize(5);
  l.SpriteTextures.resize(4);
  l.SpriteSequences.resize(1);
  l.Cameras = {{100, -200, 300, 1, 2}, {400, -500, 600, 0, 0}};
  l.FlybyCameras.resize(2);
  l.FlybyCameras[1].Bytes[39] = 0x55;
  l.SoundSources = {{7, 8, 9, 10, 11}};
  l.Boxes.resize(2);
  l.Overlaps.resize(3);
  l.AnimatedTextures.resize(2);
  l.NumDemoData = 3;
  l.DemoData = {0x030201};
  l.SoundDetails.resize(3);
  l.SampleIndices = {0, 1};
  l.Samples.push_back({8, 4, {1, 2, 3, 4}});
  l.Samples.push_back({6, 2, {5, 6}});
  return d;
}

std::vector<uint8_t> ScrambleLevel(std::vector<uint8_t> plain) {
  std::array<size_t, 4> at{};
  std::array<uint32_t, 4> sizes{};
  size_t header = kFirstBlockHeader;
  for (size_t c = 0; c < 4; ++c) {
    std::memcpy(&sizes[c], plain.data() + header + 4, 4);
    at[c] = header + 8;
    header = at[c] + sizes[c];
  }
  for (int c = 3; c >= 0; --c) {
    const BlockKeys keys = KeysFor(c, sizes[static_cast<size_t>(c)]);
    const auto& key = kTr4EncryptionTables.Key[keys.Key];
    const auto& map = kTr4EncryptionTables.Map[keys.Map];
    uint8_t* p = plain.data() + at[static_cast<size_t>(c)];
    // Undoes "tmp[MAP[i]] = P[i]; P[i] = tmp[i] ^ KEY[i]" for the first 50, then the XOR.
    std::array<uint8_t, kShuffledBytes> unkeyed{};
    for (size_t i = 0; i < kShuffledBytes; ++i) unkeyed[i] = p[i] ^ key[i];
    for (size_t i = 0; i < kShuffledBytes; ++i) p[i] = unkeyed[map[i]];
    for (size_t i = kShuffledBytes; i < kScrambledBytes; ++i) p[i] ^= key[i];
  }
  plain[3] = 'c';
  return plain;
}

}  // namespace slab::test
