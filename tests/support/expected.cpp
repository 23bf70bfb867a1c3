#include "support/expected.h"

#include <array>
#include <cstdio>
#include <fstream>

#include "support/real_levels.h"

namespace slab::test {

namespace {

const nlohmann::json& AllExpected() {
  static const nlohmann::json all = [] {
    auto dir = RealLevelsDir();
    if (dir.empty()) return nlohmann::json();
    std::ifstream in(dir / "expected.json");
    if (!in) return nlohmann::json();
    return nlohmann::json::parse(in, nullptr, false);
  }();
  return all;
}

template <typename T>
void Check(std::vector<std::string>& out, const std::string& what, const nlohmann::json& want,
           T got) {
  if (!want.is_number_integer() && !want.is_boolean()) return;
  int64_t w = want.is_boolean() ? int64_t(want.get<bool>()) : want.get<int64_t>();
  if (w != static_cast<int64_t>(got))
    out.push_back(what + ": expected " + std::to_string(w) + ", read " +
                  std::to_string(static_cast<int64_t>(got)));
}

template <typename V>
int64_t Size(const V& v) {
  return static_cast<int64_t>(v.size());
}

// The level's figure for each count in the file: the size of its list where it has one.
std::vector<std::pair<const char*, int64_t>> LevelFigures(const Level& l) {
  return {{"NumTextiles", l.NumTextiles},
          {"NumRoomTextiles", l.NumRoomTextiles},
          {"NumObjTextiles", l.NumObjTextiles},
          {"NumBumpTextiles", l.NumBumpTextiles},
          {"NumMiscTextiles", l.NumMiscTextiles},
          {"NumRooms", Size(l.Rooms)},
          {"NumFloorData", Size(l.FloorData) / 2},
          {"NumMeshData", Size(l.MeshData) / 2},
          {"NumMeshPointers", Size(l.MeshPointers)},
          {"NumAnimations", Size(l.Animations)},
          {"NumStateChanges", Size(l.StateChanges)},
          {"NumAnimDispatches", Size(l.AnimDispatches)},
          {"NumAnimCommands", Size(l.AnimCommands)},
          {"NumMeshTrees", Size(l.MeshTrees)},
          {"NumFrames", Size(l.Frames)},
          {"NumMoveables", Size(l.Moveables)},
          {"NumStaticMeshes", Size(l.StaticMeshDefs)},
          {"NumObjectTextures", Size(l.ObjectTextures)},
          {"NumSpriteTextures", Size(l.SpriteTextures)},
          {"NumSpriteSequences", Size(l.SpriteSequences)},
          {"NumCameras", Size(l.Cameras)},
          {"NumFlybyCameras", Size(l.FlybyCameras)},
          {"NumSoundSources", Size(l.SoundSources)},
          {"NumBoxes", Size(l.Boxes)},
          {"NumOverlaps", Size(l.Overlaps)},
          {"NumAnimatedTextures", Size(l.AnimatedTextures)},
          {"NumItems", Size(l.Items)},
          {"NumAIObjects", Size(l.AIObjects)},
          {"NumCinematicFrames", Size(l.CinematicFrames)},
          {"NumDemoData", l.NumDemoData},
          {"NumSoundDetails", Size(l.SoundDetails)},
          {"NumSampleIndices", Size(l.SampleIndices)},
          {"NumSamples", Size(l.Samples)},
          {"Tr1SampleDataBytes", Size(l.Tr1SampleData)},
          {"Tr5HeaderA", l.Tr5HeaderA},
          {"Tr5HeaderB", l.Tr5HeaderB}};
}

std::vector<std::pair<const char*, int64_t>> RoomFigures(const Room& r) {
  return {{"X", r.Info.X},
          {"Z", r.Info.Z},
          {"YBottom", r.Info.YBottom},
          {"YTop", r.Info.YTop},
          {"NumDataWords", r.NumDataWords},
          {"NumVertices", Size(r.Vertices)},
          {"NumRectangles", Size(r.Rectangles)},
          {"NumTriangles", Size(r.Triangles)},
          {"NumSprites", Size(r.Sprites)},
          {"NumPortals", Size(r.Portals)},
          {"NumZSectors", r.NumZSectors},
          {"NumXSectors", r.NumXSectors},
          {"NumLights", Size(r.Lights)},
          {"NumStaticMeshes", Size(r.StaticMeshes)},
          {"AlternateRoom", r.AlternateRoom},
          {"Flags", r.Flags},
          {"NumLayers", Size(r.Layers)}};
}

std::vector<std::pair<const char*, int64_t>> ItemFigures(const Item& i) {
  return {{"ObjectID", i.ObjectID}, {"Room", i.Room},  {"X", i.X}, {"Y", i.Y}, {"Z", i.Z},
          {"Angle", i.Angle},       {"Flags", i.Flags}};
}

// Each figure the entry has, compared.
void CheckAll(std::vector<std::string>& out, const std::string& prefix, const nlohmann::json& entry,
              const std::vector<std::pair<const char*, int64_t>>& figures) {
  for (const auto& [name, got] : figures)
    if (entry.contains(name)) Check(out, prefix + name, entry[name], got);
}

// Lower-case hex SHA-1 of the bytes.
std::string Sha1Hex(std::span<const uint8_t> bytes) {
  uint32_t h[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  auto rotl = [](uint32_t x, int n) { return (x << n) | (x >> (32 - n)); };
  std::vector<uint8_t> msg(bytes.begin(), bytes.end());
  const uint64_t bitLength = uint64_t(bytes.size()) * 8;
  msg.push_back(0x80);
  while (msg.size() % 64 != 56) msg.push_back(0);
  for (int i = 7; i >= 0; --i) msg.push_back(static_cast<uint8_t>(bitLength >> (8 * i)));
  for (size_t block = 0; block < msg.size(); block += 64) {
    uint32_t w[80];
    for (int i = 0; i < 16; ++i)
      w[i] = uint32_t(msg[block + 4 * i]) << 24 | uint32_t(msg[block + 4 * i + 1]) << 16 |
             uint32_t(msg[block + 4 * i + 2]) << 8 | uint32_t(msg[block + 4 * i + 3]);
    for (int i = 16; i < 80; ++i) w[i] = rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
    for (int i = 0; i < 80; ++i) {
      const uint32_t f = i < 20   ? (b & c) | (~b & d)
                         : i < 40 ? b ^ c ^ d
                         : i < 60 ? (b & c) | (b & d) | (c & d)
                                  : b ^ c ^ d;
      const uint32_t k[] = {0x5A827999, 0x6ED9EBA1, 0x8F1BBCDC, 0xCA62C1D6};
      uint32_t t = rotl(a, 5) + f + e + k[i / 20] + w[i];
      e = d;
      d = c;
      c = rotl(b, 30);
      b = a;
      a = t;
    }
    h[0] += a;
    h[1] += b;
    h[2] += c;
    h[3] += d;
    h[4] += e;
  }
  char text[41];
  for (int i = 0; i < 5; ++i) std::snprintf(text + 8 * i, 9, "%08x", h[i]);
  return std::string(text, 40);
}

}  // namespace

const nlohmann::json* ExpectedEntry(const std::filesystem::path& levelFile) {
  const auto& all = AllExpected();
  auto dir = RealLevelsDir();
  if (!all.is_object() || dir.empty()) return nullptr;
  auto key = std::filesystem::relative(levelFile, dir).generic_string();
  auto it = all.find(key);
  if (it == all.end()) return nullptr;
  // The independent reader refuses encrypted levels ("TR4c"). Encryption keeps a file's size,
  // so such a file is held to the entry of the level of its folder that has its size: the
  // level it decrypts into (tests/level/encrypted_test.cpp checks that byte for byte).
  if (it->value("version_word", "") == "0x63345254") {
    std::error_code ec;
    const auto size = std::filesystem::file_size(levelFile, ec);
    const auto folder = std::filesystem::path(key).parent_path();
    for (auto other = all.begin(); other != all.end(); ++other)
      if (other != it && other->value("file_bytes", uintmax_t{0}) == size &&
          std::filesystem::path(other.key()).parent_path() == folder)
        return &*other;
  }
  return &*it;
}

std::vector<std::string> CompareWithExpected(const Level& level, Game gameVersion,
                                             const nlohmann::json& entry) {
  std::vector<std::string> out;
  if (entry.contains("version_word") && entry["version_word"].is_string()) {
    uint32_t word =
        static_cast<uint32_t>(std::stoul(entry["version_word"].get<std::string>(), nullptr, 16));
    Check(out, "Version", int64_t(word), static_cast<uint32_t>(level.Version));
  }
  if (entry.contains("game")) Check(out, "GameVersion", entry["game"], GameNumber(gameVersion));

  CheckAll(out, "", entry, LevelFigures(level));
  if (entry.contains("tr1_demo_layout"))
    Check(out, "Tr1Palette after the sprite sequences", entry["tr1_demo_layout"],
          level.Tr1Palette == Tr1PaletteLayout::AfterSpriteSequences);
  // The model keeps 370 entries for the first game too, of which the file fills 0-255.
  if (entry.contains("SoundMapEntries") && gameVersion != Game::TR1)
    Check(out, "SoundMap size", entry["SoundMapEntries"], level.SoundMap.size());

  if (entry.contains("rooms") && entry["rooms"].is_array()) {
    const auto& rooms = entry["rooms"];
    for (size_t i = 0; i < rooms.size() && i < level.Rooms.size(); ++i) {
      const std::string p = "room " + std::to_string(i) + " ";
      CheckAll(out, p, rooms[i], RoomFigures(level.Rooms[i]));
      const Room& r = level.Rooms[i];
      Check(out, p + "Sectors size", int64_t(r.NumXSectors) * r.NumZSectors, r.Sectors.size());
    }
  }
  if (entry.contains("first_item") && entry["first_item"].is_object()) {
    if (level.Items.empty()) {
      out.push_back("first_item: the level has no items");
    } else {
      CheckAll(out, "first item ", entry["first_item"], ItemFigures(level.Items[0]));
    }
  }
  if (entry.contains("items_sum_objectid")) {
    int64_t sum = 0;
    for (const auto& item : level.Items) sum += item.ObjectID;
    Check(out, "items_sum_objectid", entry["items_sum_objectid"], sum);
  }
  if (entry.contains("floordata_sha1") && entry["floordata_sha1"].is_string()) {
    auto want = entry["floordata_sha1"].get<std::string>();
    auto got = Sha1Hex(level.FloorData);
    if (want != got) out.push_back("floordata_sha1: expected " + want + ", read " + got);
  }
  return out;
}

}  // namespace slab::test
