#include "support/expected.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>

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

// The level's figure for each count in the file: the size of its list where it has one.
using LevelField = std::function<int64_t(const Level&)>;

template <typename V>
int64_t Size(const V& v) {
  return static_cast<int64_t>(v.size());
}

const std::map<std::string, LevelField>& LevelFields() {
  static const std::map<std::string, LevelField> fields = {
      {"NumTextiles", [](const Level& l) -> int64_t { return l.NumTextiles; }},
      {"NumRoomTextiles", [](const Level& l) -> int64_t { return l.NumRoomTextiles; }},
      {"NumObjTextiles", [](const Level& l) -> int64_t { return l.NumObjTextiles; }},
      {"NumBumpTextiles", [](const Level& l) -> int64_t { return l.NumBumpTextiles; }},
      {"NumMiscTextiles", [](const Level& l) -> int64_t { return l.NumMiscTextiles; }},
      {"NumRooms", [](const Level& l) -> int64_t { return Size(l.Rooms); }},
      {"NumFloorData", [](const Level& l) -> int64_t { return Size(l.FloorData) / 2; }},
      {"NumMeshData", [](const Level& l) -> int64_t { return Size(l.MeshData) / 2; }},
      {"NumMeshPointers", [](const Level& l) -> int64_t { return Size(l.MeshPointers); }},
      {"NumAnimations", [](const Level& l) -> int64_t { return Size(l.Animations); }},
      {"NumStateChanges", [](const Level& l) -> int64_t { return Size(l.StateChanges); }},
      {"NumAnimDispatches", [](const Level& l) -> int64_t { return Size(l.AnimDispatches); }},
      {"NumAnimCommands", [](const Level& l) -> int64_t { return Size(l.AnimCommands); }},
      {"NumMeshTrees", [](const Level& l) -> int64_t { return Size(l.MeshTrees); }},
      {"NumFrames", [](const Level& l) -> int64_t { return Size(l.Frames); }},
      {"NumMoveables", [](const Level& l) -> int64_t { return Size(l.Moveables); }},
      {"NumStaticMeshes", [](const Level& l) -> int64_t { return Size(l.StaticMeshDefs); }},
      {"NumObjectTextures", [](const Level& l) -> int64_t { return Size(l.ObjectTextures); }},
      {"NumSpriteTextures", [](const Level& l) -> int64_t { return Size(l.SpriteTextures); }},
      {"NumSpriteSequences", [](const Level& l) -> int64_t { return Size(l.SpriteSequences); }},
      {"NumCameras", [](const Level& l) -> int64_t { return Size(l.Cameras); }},
      {"NumFlybyCameras", [](const Level& l) -> int64_t { return Size(l.FlybyCameras); }},
      {"NumSoundSources", [](const Level& l) -> int64_t { return Size(l.SoundSources); }},
      {"NumBoxes", [](const Level& l) -> int64_t { return Size(l.Boxes); }},
      {"NumOverlaps", [](const Level& l) -> int64_t { return Size(l.Overlaps); }},
      {"NumAnimatedTextures", [](const Level& l) -> int64_t { return Size(l.AnimatedTextures); }},
      {"NumItems", [](const Level& l) -> int64_t { return Size(l.Items); }},
      {"NumAIObjects", [](const Level& l) -> int64_t { return Size(l.AIObjects); }},
      {"NumCinematicFrames", [](const Level& l) -> int64_t { return Size(l.CinematicFrames); }},
      {"NumDemoData", [](const Level& l) -> int64_t { return l.NumDemoData; }},
      {"NumSoundDetails", [](const Level& l) -> int64_t { return Size(l.SoundDetails); }},
      {"NumSampleIndices", [](const Level& l) -> int64_t { return Size(l.SampleIndices); }},
      {"NumSamples", [](const Level& l) -> int64_t { return Size(l.Samples); }},
      {"Tr1SampleDataBytes", [](const Level& l) -> int64_t { return Size(l.Tr1SampleData); }},
      {"Tr5HeaderA", [](const Level& l) -> int64_t { return l.Tr5HeaderA; }},
      {"Tr5HeaderB", [](const Level& l) -> int64_t { return l.Tr5HeaderB; }},
  };
  return fields;
}

const std::map<std::string, std::function<int64_t(const Room&)>>& RoomFields() {
  static const std::map<std::string, std::function<int64_t(const Room&)>> fields = {
      {"X", [](const Room& r) { return r.Info.X; }},
      {"Z", [](const Room& r) { return r.Info.Z; }},
      {"YBottom", [](const Room& r) { return r.Info.YBottom; }},
      {"YTop", [](const Room& r) { return r.Info.YTop; }},
      {"NumDataWords", [](const Room& r) { return r.NumDataWords; }},
      {"NumVertices", [](const Room& r) { return Size(r.Vertices); }},
      {"NumRectangles", [](const Room& r) { return Size(r.Rectangles); }},
      {"NumTriangles", [](const Room& r) { return Size(r.Triangles); }},
      {"NumSprites", [](const Room& r) { return Size(r.Sprites); }},
      {"NumPortals", [](const Room& r) { return Size(r.Portals); }},
      {"NumZSectors", [](const Room& r) { return r.NumZSectors; }},
      {"NumXSectors", [](const Room& r) { return r.NumXSectors; }},
      {"NumLights", [](const Room& r) { return Size(r.Lights); }},
      {"NumStaticMeshes", [](const Room& r) { return Size(r.StaticMeshes); }},
      {"AlternateRoom", [](const Room& r) { return r.AlternateRoom; }},
      {"Flags", [](const Room& r) { return r.Flags; }},
      {"NumLayers", [](const Room& r) { return Size(r.Layers); }},
  };
  return fields;
}

const std::map<std::string, std::function<int64_t(const Item&)>>& ItemFields() {
  static const std::map<std::string, std::function<int64_t(const Item&)>> fields = {
      {"ObjectID", [](const Item& i) { return i.ObjectID; }},
      {"Room", [](const Item& i) { return i.Room; }},
      {"X", [](const Item& i) { return i.X; }},
      {"Y", [](const Item& i) { return i.Y; }},
      {"Z", [](const Item& i) { return i.Z; }},
      {"Angle", [](const Item& i) { return i.Angle; }},
      {"Intensity1", [](const Item& i) { return i.Intensity1; }},
      {"OCB", [](const Item& i) { return i.OCB; }},
      {"Flags", [](const Item& i) { return i.Flags; }},
  };
  return fields;
}

}  // namespace

const nlohmann::json* ExpectedEntry(const std::filesystem::path& levelFile) {
  const auto& all = AllExpected();
  auto dir = RealLevelsDir();
  if (!all.is_object() || dir.empty()) return nullptr;
  auto key = std::filesystem::relative(levelFile, dir).generic_string();
  auto it = all.find(key);
  return it == all.end() ? nullptr : &*it;
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

  for (const auto& [name, get] : LevelFields())
    if (entry.contains(name)) Check(out, name, entry[name], get(level));
  if (entry.contains("tr1_demo_layout"))
    Check(out, "Tr1Palette after the sprite sequences", entry["tr1_demo_layout"],
          level.Tr1Palette == Tr1PaletteLayout::AfterSpriteSequences);
  // The model keeps 370 entries for the first game too, of which the file fills 0-255.
  if (entry.contains("SoundMapEntries") && gameVersion != Game::TR1)
    Check(out, "SoundMap size", entry["SoundMapEntries"], level.SoundMap.size());

  if (entry.contains("rooms") && entry["rooms"].is_array()) {
    const auto& rooms = entry["rooms"];
    Check(out, "Rooms size", int64_t(rooms.size()), level.Rooms.size());
    for (size_t i = 0; i < rooms.size() && i < level.Rooms.size(); ++i) {
      const std::string p = "room " + std::to_string(i) + " ";
      for (const auto& [name, get] : RoomFields())
        if (rooms[i].contains(name)) Check(out, p + name, rooms[i][name], get(level.Rooms[i]));
      const Room& r = level.Rooms[i];
      Check(out, p + "Sectors size", int64_t(r.NumXSectors) * r.NumZSectors, r.Sectors.size());
    }
  }
  if (entry.contains("first_item") && entry["first_item"].is_object()) {
    if (level.Items.empty()) {
      out.push_back("first_item: the level has no items");
    } else {
      for (const auto& [name, get] : ItemFields())
        if (entry["first_item"].contains(name))
          Check(out, "first item " + name, entry["first_item"][name], get(level.Items[0]));
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
      uint32_t f, k;
      if (i < 20) {
        f = (b & c) | (~b & d);
        k = 0x5A827999;
      } else if (i < 40) {
        f = b ^ c ^ d;
        k = 0x6ED9EBA1;
      } else if (i < 60) {
        f = (b & c) | (b & d) | (c & d);
        k = 0x8F1BBCDC;
      } else {
        f = b ^ c ^ d;
        k = 0xCA62C1D6;
      }
      uint32_t t = rotl(a, 5) + f + e + k + w[i];
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

}  // namespace slab::test
