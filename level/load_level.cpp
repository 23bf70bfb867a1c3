#include "level/load_level.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>

#include "level/encryption.h"
#include "level/pixel_list.h"
#include "level/read_tr45.h"
#include "level/text.h"
#include "level/texture_info.h"

namespace slab {

namespace {

std::string BareName(const std::string& fileName) {
  return std::filesystem::path(fileName).filename().string();
}

// A larger file is refused before it is read, so what a load holds stays bounded whatever
// the input.
constexpr uint64_t kMostFileBytes = kMostLevelBytes;

std::string TooLarge(const std::string& name, uint64_t size) {
  return name + " is too large to be a level: " + std::to_string(size) +
         " bytes, where levels stay below " + std::to_string(kMostFileBytes >> 20) + " MB";
}

// Bytes past the last section of a first- to third-game file: not part of the level, and not
// kept by a save, so the user hears of them once.
void ReportLeftOver(MessageSink& messages, const std::string& name, size_t leftOver) {
  if (leftOver > 0)
    messages.Show(name + " has " + std::to_string(leftOver) +
                  " bytes after its last section; they are not part of the level and are "
                  "left out");
}

// The version word's verdict: the game, or a refusal already reported.
struct Detected {
  int32_t Version = 0;
  std::optional<Game> Found;  // empty when the word was missing or unknown
  bool Readable() const { return Found && *Found != Game::TexturesOnly; }
};

LoadResult Refused(Detected detected = {}) {
  LoadResult result;
  result.Lvl.Version = detected.Version;
  result.DetectedGame = detected.Found;
  return result;
}

}  // namespace

bool EndsInTrc(const std::string& fileName) {
  if (fileName.size() < 4) return false;
  std::string ext = fileName.substr(fileName.size() - 4);
  for (char& ch : ext) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return ext == ".TRC";
}

std::string StartOfFile(std::span<const uint8_t> bytes, const std::string& fileName) {
  const size_t n = std::min<size_t>(bytes.size(), 4);
  std::string text = BytesText(bytes.data(), n);
  if (n < 4) return text;
  uint32_t word;
  std::memcpy(&word, bytes.data(), 4);
  // Encrypted levels keep "TR4" and put a "c" where a level has its zero byte.
  if (word == kEncryptedVersionWord) return text + ", as an encrypted level does";
  const std::optional<Game> game = DetectGameVersion(word, fileName);
  if (!game) return text + ", as no level does";
  if (*game == Game::TexturesOnly) return text + ", as a file of textures only does";
  static const char* kOrdinals[] = {"", "first", "second", "third", "fourth", "fifth"};
  return text + ", as a " + kOrdinals[GameNumber(*game)] + "-game level does";
}

std::optional<Game> DetectGameVersion(uint32_t versionWord, const std::string& fileName) {
  switch (versionWord) {
    case kTR1VersionWord:
      return Game::TR1;
    case kTR2VersionWord:
      return Game::TR2;
    case kTR3VersionWord:
    case kTR3VersionWordB:
      return Game::TR3;
    case kTR4VersionWord:
      return EndsInTrc(fileName) ? Game::TR5 : Game::TR4;
    case kTR4VersionWordB:
    case kTR4VersionWordC:
      return Game::TR4;
    case kTexturesOnlyVersionWord:
      return Game::TexturesOnly;
    default:
      return std::nullopt;
  }
}

namespace {

Detected DetectOrRefuse(std::span<const uint8_t> bytes, const std::string& fileName,
                        MessageSink& messages) {
  ByteCursor cursor(bytes);
  cursor.SetContext("the version word");
  uint32_t word = 0;
  try {
    word = cursor.ReadU32();
  } catch (const FormatError& e) {
    messages.Show(BareName(fileName) + " is damaged: " + e.what());
    return {};
  }
  Detected d{static_cast<int32_t>(word), DetectGameVersion(word, fileName)};
  if (!d.Found)
    messages.ShowDetailed("Unknown TR version!",
                          "The file starts with " + StartOfFile(bytes, fileName) + ".");
  else if (*d.Found == Game::TexturesOnly)
    messages.Show("This level only contains textures!");
  return d;
}

// Reads the body with readBody (which returns how many bytes it left after the last section)
// and converts the texture info; any failure becomes one message and the level that holds
// only its version word.
template <typename ReadBody>
LoadResult ReadGuarded(const std::string& fileName, Detected detected, MessageSink& messages,
                       ReadBody readBody) {
  const std::string name = BareName(fileName);
  LoadResult result;
  result.Lvl.Version = detected.Version;
  result.DetectedGame = detected.Found;
  size_t leftOver = 0;
  const bool read = ShowingFailures(messages, name, "open", [&] {
    leftOver = readBody(result.Lvl);
    if (*detected.Found <= Game::TR3)
      result.TextureTiles =
          ConvertTextInfo(result.Lvl.ObjectTextures,
                          static_cast<int32_t>(result.Lvl.ObjectTextures.size()), messages,
                          result.Lvl.ObjectTexturesAt);
    else
      result.TextureTiles = ConvertTR5TextInfo(result.Lvl, messages);
  });
  if (!read) return Refused(detected);
  ReportLeftOver(messages, name, leftOver);
  result.Loaded = true;
  return result;
}

template <typename List>
void ReadFromStream(std::ifstream& in, List& list, size_t count, size_t offset, const char* what) {
  list.resize(count);
  const auto bytes = count * sizeof(typename List::value_type);
  if (!in.read(reinterpret_cast<char*>(list.data()), static_cast<std::streamsize>(bytes)))
    throw FormatError(what, offset);
}

// Classic files start with their texture pages, most of the file: they go from the file
// straight into their lists instead of through a buffer holding the whole file.
std::optional<LoadResult> LoadClassicFromStream(std::ifstream& in, size_t fileSize,
                                                const std::string& fileName,
                                                MessageSink& messages) {
  std::vector<uint8_t> head(std::min<size_t>(fileSize, 4 + 1792 + 4));
  if (!in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size())))
    return std::nullopt;
  uint32_t word = 0;
  if (head.size() >= 4) std::memcpy(&word, head.data(), 4);
  const std::optional<Game> found = DetectGameVersion(word, fileName);
  if (!found || *found > Game::TR3) return std::nullopt;
  const Game game = *found;
  size_t headLength = 4 + (game >= Game::TR2 ? 1792 : 0) + 4;
  if (head.size() < headLength) return std::nullopt;

  Detected detected = DetectOrRefuse(head, fileName, messages);
  return ReadGuarded(fileName, detected, messages, [&](Level& level) {
    ByteCursor header(std::span<const uint8_t>(head).first(headLength));
    header.Skip(4);
    ReadClassicHeader(header, level, game);
    // As the reader in memory says it: the count when no level holds that many pages.
    const size_t pagesSize = ClassicPagesSize(level.NumTextiles, game);
    if (pagesSize > fileSize - headLength) {
      if (pagesSize <= kMostLevelBytes) throw FormatError("the texture pages", fileSize);
      throw FormatError::TooLarge("NumTextiles", level.NumTextiles, headLength - 4,
                                  (fileSize - headLength) / ClassicPagesSize(1, game));
    }
    const size_t pixels = pagesSize / (game >= Game::TR2 ? 3 : 1);
    in.seekg(static_cast<std::streamoff>(headLength));
    ReadFromStream(in, level.Textile8, pixels, fileSize, "the texture pages");
    if (game >= Game::TR2)
      ReadFromStream(in, level.Textile16, pixels, fileSize, "the texture pages");
    const size_t restAt = headLength + pagesSize;
    std::vector<uint8_t> rest;
    ReadFromStream(in, rest, fileSize - restAt, fileSize, "the level data");
    ByteCursor cursor(rest, restAt);
    ReadClassicRest(cursor, level, game);
    return cursor.Remaining();
  });
}

}  // namespace

namespace {

// The body after the version word, by the reader of the game detected.
LoadResult ReadBody(std::span<const uint8_t> bytes, const std::string& fileName,
                    Detected detected, MessageSink& messages) {
  const std::string name = BareName(fileName);
  const Game game = *detected.Found;
  return ReadGuarded(fileName, detected, messages, [&](Level& level) -> size_t {
    ByteCursor cursor(bytes);
    cursor.Skip(4);
    if (game <= Game::TR3) {
      ReadClassicLevel(cursor, level, game);
      return cursor.Remaining();
    }
    // The fourth game's reader reports its own trailing bytes; the fifth game's reader stops
    // before the sound data, which it does not keep.
    if (game == Game::TR4)
      ReadTR4Level(cursor, level, messages, name);
    else
      ReadTR5Level(cursor, level, messages, name);
    return 0;
  });
}

const char* Ordinal(Game game) { return game == Game::TR4 ? "fourth" : "fifth"; }

// The fourth and fifth game share their version word, so the name's extension says which
// game a file is; a file renamed (a fifth-game level as ".tr4") is read as its content says
// when the named game's reader refuses it and the other's reads it without a word. Any other
// file is refused as the named game's reader said.
LoadResult ReadTR45ByContent(std::span<const uint8_t> bytes, const std::string& fileName,
                             Detected named, MessageSink& messages) {
  RecordingSink heard;
  LoadResult asNamed = ReadBody(bytes, fileName, named, heard);
  if (!asNamed.Loaded) {
    Detected content = named;
    content.Found = *named.Found == Game::TR4 ? Game::TR5 : Game::TR4;
    RecordingSink heardContent;
    LoadResult asContent = ReadBody(bytes, fileName, content, heardContent);
    // Only a level that reads whole is taken for the other game's: a damaged fourth-game
    // file can pass for a fifth-game level of nothing with damaged sound data.
    if (asContent.Loaded && heardContent.Shown.empty()) {
      heardContent.ShowAgain(messages);
      asContent.Note = BareName(fileName) + " holds a " + Ordinal(*content.Found) +
                       "-game level under a " + Ordinal(*named.Found) +
                       "-game name; it is read as the level it holds.";
      return asContent;
    }
  }
  heard.ShowAgain(messages);
  return asNamed;
}

// An encrypted level, unscrambled in a copy and read as what it then is. A file that decrypts
// and then does not read is refused as the reader says (a damaged encrypted level); one whose
// first chunk is no zlib stream once unscrambled is no level at all.
LoadResult LoadEncrypted(std::span<const uint8_t> bytes, const std::string& fileName,
                         MessageSink& messages) {
  PixelList<uint8_t> plain;
  if (IsEncryptedLevel(bytes)) {
    ResizeForWriting(plain, bytes.size());
    std::memcpy(plain.data(), bytes.data(), bytes.size());
  }
  if (plain.empty() || !DecryptLevel(plain)) {
    messages.ShowDetailed("Unknown TR version!", "The file starts with " +
                                                     StartOfFile(bytes, fileName) +
                                                     ", but its chunks do not decrypt into one.");
    return Refused({static_cast<int32_t>(kEncryptedVersionWord), std::nullopt});
  }
  const Detected named{static_cast<int32_t>(kTR4VersionWord),
                       DetectGameVersion(kTR4VersionWord, fileName)};
  LoadResult result = ReadTR45ByContent(plain, fileName, named, messages);
  result.Lvl.Encrypted = result.Loaded;
  return result;
}

}  // namespace

LoadResult LoadLevelFromBytes(std::span<const uint8_t> bytes, const std::string& fileName,
                              MessageSink& messages) {
  const std::string name = BareName(fileName);
  if (bytes.size() > kMostFileBytes) {
    messages.Show(TooLarge(name, bytes.size()));
    return Refused();
  }
  uint32_t word = 0;
  if (bytes.size() >= 4) std::memcpy(&word, bytes.data(), 4);
  if (word == kEncryptedVersionWord) return LoadEncrypted(bytes, fileName, messages);
  Detected detected = DetectOrRefuse(bytes, fileName, messages);
  if (!detected.Readable()) return Refused(detected);
  if (*detected.Found >= Game::TR4) return ReadTR45ByContent(bytes, fileName, detected, messages);
  return ReadBody(bytes, fileName, detected, messages);
}

LoadResult LoadLevel(const std::filesystem::path& fileName, MessageSink& messages) {
  const std::string pathText = fileName.string();
  std::ifstream in(fileName, std::ios::binary);
  // A folder opens as a stream whose end lies at the largest offset: never size from it.
  std::error_code folderCheck;
  if (std::filesystem::is_directory(fileName, folderCheck)) in.setstate(std::ios::failbit);
  std::streamoff size = -1;
  if (in) {
    in.seekg(0, std::ios::end);
    size = static_cast<std::streamoff>(in.tellg());
    in.seekg(0, std::ios::beg);
  }
  if (in && static_cast<uint64_t>(size) > kMostFileBytes) {
    messages.Show(TooLarge(BareName(pathText), static_cast<uint64_t>(size)));
    return Refused();
  }
  if (in && size >= 0) {
    if (auto classic = LoadClassicFromStream(in, static_cast<size_t>(size), pathText, messages))
      return std::move(*classic);
    in.clear();
    in.seekg(0, std::ios::beg);
    // Filled by the read at once: not zeroed first.
    PixelList<uint8_t> bytes;
    ResizeForWriting(bytes, static_cast<size_t>(size));
    if (in.read(reinterpret_cast<char*>(bytes.data()), size))
      return LoadLevelFromBytes(bytes, pathText, messages);
  }
  int err = errno;
  std::error_code ec;
  std::string reason = !std::filesystem::exists(fileName, ec) ? "the file does not exist"
                       : std::filesystem::is_directory(fileName, ec)
                           ? "it is a folder"
                           : std::string(err != 0 ? std::strerror(err) : "it cannot be read");
  messages.Show(BareName(pathText) + " can't be opened: " + reason + ".");
  return Refused();
}

}  // namespace slab
