#include "floordata/object_names.h"

#include <fstream>
#include <iterator>

#include "level/text.h"
#include "platform/data_paths.h"

namespace slab {
namespace {

// Reads the file's integers and texts; stops at the first fault and remembers it.
class NamesReader {
 public:
  explicit NamesReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  // A count; 0 once the file has ended, as the layout reads past its end.
  std::optional<int32_t> Count(const char* section) {
    if (!fault_.empty()) return std::nullopt;
    if (pos_ == bytes_.size()) return 0;
    auto value = Int(section);
    if (!value) return std::nullopt;
    if (*value < 0) {
      Fail(std::string("negative count in ") + section, pos_ - 4);
      return std::nullopt;
    }
    return value;
  }

  std::optional<int32_t> Int(const char* what) {
    if (bytes_.size() - pos_ < 4) {
      Fail(std::string(what) + " ends early", pos_);
      return std::nullopt;
    }
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= uint32_t{bytes_[pos_ + i]} << (8 * i);
    pos_ += 4;
    return static_cast<int32_t>(value);
  }

  std::optional<std::string> Text(const char* section) {
    auto length = Int(section);
    if (!length) return std::nullopt;
    if (*length < 0 || static_cast<uint64_t>(*length) > bytes_.size() - pos_) {
      Fail(std::string("a name in ") + section + " runs past the end of the file", pos_ - 4);
      return std::nullopt;
    }
    std::string text(reinterpret_cast<const char*>(bytes_.data() + pos_),
                     static_cast<size_t>(*length));
    pos_ += static_cast<size_t>(*length);
    return text;
  }

  const std::string& Fault() const { return fault_; }
  bool AtEnd() const { return pos_ == bytes_.size(); }

 private:
  void Fail(std::string what, size_t offset) {
    fault_ = std::move(what) + " (byte " + std::to_string(offset) + ")";
  }

  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
  std::string fault_;
};

// Reads one section into slot(index, text); withNumber: each text is followed by an unused
// 32-bit number.
template <typename Store>
bool ReadSection(NamesReader& reader, const char* section, bool withNumber, Store store) {
  auto count = reader.Count(section);
  if (!count) return false;
  for (int32_t i = 0; i < *count; ++i) {
    auto text = reader.Text(section);
    if (!text) return false;
    if (withNumber && !reader.Int(section)) return false;
    store(i, std::move(*text));
  }
  return true;
}

}  // namespace

std::array<std::string, kMaxStaticId + 1> ObjectNames::DefaultStaticNames() {
  std::array<std::string, kMaxStaticId + 1> names;
  for (int id = 0; id <= kMaxStaticId; ++id) names[id] = "Mesh" + NumText(id);
  return names;
}

ObjectNames ParseObjectNames(std::span<const uint8_t> bytes, const std::string& fileName,
                             MessageSink& messages) {
  ObjectNames names;
  NamesReader reader(bytes);
  auto objectsOf = [&](int version) {
    return [&names, version](int32_t id, std::string text) {
      if (id <= kMaxObjectId) names.Objects[id][version] = std::move(text);
    };
  };
  bool ok = ReadSection(reader, "the fourth-game names", false, objectsOf(4)) &&
            ReadSection(reader, "the static-mesh names", false, [&](int32_t id, std::string text) {
              if (id <= kMaxStaticId) names.Statics[id] = std::move(text);
            });
  constexpr std::array<std::pair<int, const char*>, 4> kLaterSections{{
      {3, "the third-game names"},
      {2, "the second-game names"},
      {1, "the first-game names"},
      {5, "the fifth-game names"},
  }};
  for (const auto& [version, section] : kLaterSections)
    ok = ok && ReadSection(reader, section, true, objectsOf(version));
  constexpr std::array<std::pair<int, const char*>, 4> kGameStaticSections{{
      {3, "the third-game static names"},
      {2, "the second-game static names"},
      {1, "the first-game static names"},
      {5, "the fifth-game static names"},
  }};
  for (const auto& [version, section] : kGameStaticSections) {
    if (!ok || reader.AtEnd()) break;
    auto& table =
        names.GameStatics[static_cast<size_t>(version)].emplace(ObjectNames::DefaultStaticNames());
    ok = ReadSection(reader, section, false, [&table](int32_t id, std::string text) {
      if (id <= kMaxStaticId && !text.empty()) table[static_cast<size_t>(id)] = std::move(text);
    });
  }
  if (!ok) messages.Show(fileName + ": " + reader.Fault());
  return names;
}

ObjectNames LoadObjectNames(const std::filesystem::path& folder, MessageSink& messages) {
  const auto path = FindShippedFile(folder, kObjectNamesFile, ShippedKind::Data).Path;
  std::ifstream file(path, std::ios::binary);
  if (!file) return {};
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                   std::istreambuf_iterator<char>()};
  if (file.bad()) {
    messages.Show(path.string() + ": cannot be read");
    return {};
  }
  return ParseObjectNames(bytes, path.string(), messages);
}

std::optional<std::string_view> ObjectName(const ObjectNames& names, int objectId,
                                           Game gameVersion) {
  const int game = GameNumber(gameVersion);
  if (objectId < 0 || objectId > kMaxObjectId || game < 0 || game >= kNameVersions)
    return std::nullopt;
  return names.Objects[objectId][game];
}

std::string StaticName(const ObjectNames& names, int staticId, Game gameVersion) {
  if (staticId < 0 || staticId > kMaxStaticId) return "Mesh" + NumText(staticId);
  const auto id = static_cast<size_t>(staticId);
  const int game = GameNumber(gameVersion);
  if (game >= 0 && game < kNameVersions) {
    if (const auto& own = names.GameStatics[static_cast<size_t>(game)]) return (*own)[id];
  }
  return names.Statics[id];
}

}  // namespace slab
