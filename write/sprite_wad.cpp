#include "write/sprite_wad.h"

#include <filesystem>
#include <fstream>
#include <map>

#include "level/byte_cursor.h"
#include "platform/data_paths.h"
#include "write/byte_writer.h"

namespace slab {
namespace {

constexpr const char* kMakeOne =
    "make one from a third-game level with \"slabwright-cli make-swd LEVEL -o TR3.swd\"";

}  // namespace

std::optional<SpriteWad> ParseSpriteWad(std::span<const uint8_t> bytes, std::string& error) {
  ByteCursor cursor(bytes);
  SpriteWad wad;
  try {
    cursor.SetContext("the first word");
    wad.FirstWord = cursor.ReadU32();
    cursor.SetContext("the sprite textures");
    cursor.ReadList(wad.SpriteTextures, cursor.ReadU32());
    cursor.SetContext("the image");
    // The whole stated image is consumed; a partial last row holds no usable pixels.
    cursor.ReadList(wad.Image, cursor.ReadU32());
    cursor.SetContext("the sprite sequences");
    cursor.ReadList(wad.SpriteSequences, cursor.ReadU32());
  } catch (const FormatError& e) {
    error = e.what();
    return std::nullopt;
  }
  return wad;
}

std::optional<SpriteWad> ReadSpriteWad(const std::string& path, MessageSink& messages) {
  namespace fs = std::filesystem;
  auto fail = [&](const std::string& reason) {
    messages.Show("Can't read SWD\n" + path + ": " + reason);
    return std::nullopt;
  };
  std::error_code ec;
  if (!fs::exists(path, ec)) return fail(std::string("the file does not exist (") + kMakeOne + ")");
  if (fs::is_directory(path, ec)) return fail("it is a folder");
  std::ifstream in(path, std::ios::binary);
  if (!in) return fail("it cannot be opened");
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return fail("it cannot be read");
  std::string error;
  auto wad = ParseSpriteWad(bytes, error);
  if (!wad) return fail("the file is damaged: " + error);
  return wad;
}

std::optional<std::string> FindSpriteWad(const std::string& programFolder, MessageSink& messages) {
  const ShippedFile wad = FindShippedFile(programFolder, kSpriteWadName, ShippedKind::Data);
  if (wad.Found) return wad.Path.string();
  messages.Show(std::string("Can't read SWD\n") + kSpriteWadName + " was not found (looked in " +
                LookedInText(wad) + "): " + kMakeOne);
  return std::nullopt;
}

std::vector<uint8_t> EncodeSpriteWad(const SpriteWad& wad) {
  ByteWriter w;
  w.WriteU32(wad.FirstWord);
  w.WriteU32(static_cast<uint32_t>(wad.SpriteTextures.size()));
  w.WriteList(wad.SpriteTextures);
  w.WriteU32(static_cast<uint32_t>(wad.Image.size()));
  w.WriteList(wad.Image);
  w.WriteU32(static_cast<uint32_t>(wad.SpriteSequences.size()));
  w.WriteList(wad.SpriteSequences);
  return std::move(w.Bytes());
}

namespace {

// A 1-5-5-5 pixel as 24-bit colour. Each 5-bit channel is widened so that dividing by 8
// gives it back exactly; an opaque pixel that would widen to the transparency key is
// nudged one step in blue, which still divides back to the same word.
void WidenPixel(uint16_t pixel, uint8_t* rgb) {
  if ((pixel & 0x8000) == 0) {
    rgb[0] = 255;
    rgb[1] = 0;
    rgb[2] = 255;
    return;
  }
  auto widen = [](unsigned v) { return static_cast<uint8_t>(v << 3 | v >> 2); };
  rgb[0] = widen((pixel >> 10) & 31);
  rgb[1] = widen((pixel >> 5) & 31);
  rgb[2] = widen(pixel & 31);
  if (rgb[0] == 255 && rgb[1] == 0 && rgb[2] == 255) rgb[2] = 254;
}

}  // namespace

std::optional<SpriteWad> MakeSpriteWad(const Level& level, Game gameVersion, std::string& error) {
  if (gameVersion != Game::TR2 && gameVersion != Game::TR3) {
    error = "only second- and third-game levels hold sprites for the older engines";
    return std::nullopt;
  }
  const size_t pages = level.Textile16.size() / kPagePixels;
  SpriteWad wad;
  std::map<uint16_t, uint16_t> newPage;  // level page -> wad page
  std::vector<uint16_t> order;
  for (size_t i = 0; i < level.SpriteTextures.size(); ++i) {
    SpriteTexture texture = level.SpriteTextures[i];
    if (texture.Tile >= pages) {
      error = "sprite texture " + std::to_string(i) + " lies on page " +
              std::to_string(texture.Tile) + ", but the level has " + std::to_string(pages) +
              " 16-bit pages";
      return std::nullopt;
    }
    auto [at, added] = newPage.emplace(texture.Tile, static_cast<uint16_t>(order.size()));
    if (added) order.push_back(texture.Tile);
    texture.Tile = at->second;
    wad.SpriteTextures.push_back(texture);
  }
  wad.Image.resize(order.size() * kWadPageBytes);
  uint8_t* out = wad.Image.data();
  for (uint16_t page : order)
    for (size_t p = 0; p < kPagePixels; ++p, out += 3)
      WidenPixel(level.Textile16[page * kPagePixels + p], out);
  wad.SpriteSequences = level.SpriteSequences;
  return wad;
}

}  // namespace slab
