#include "level/load_level.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "level/read_tr45.h"
#include "level/texture_info.h"

namespace slab {

namespace {

constexpr uint32_t kWordTR1 = 0x00000020;
constexpr uint32_t kWordTR2 = 0x0000002D;
constexpr uint32_t kWordTR3a = 0xFF080038;
constexpr uint32_t kWordTR3b = 0xFF180038;
constexpr uint32_t kWordTR4 = 0x00345254;  // "TR4" and a zero byte; also the fifth game's
constexpr uint32_t kWordTR4b = 0x03452548;
constexpr uint32_t kWordTR4c = 0xFFFFFFF0;
constexpr uint32_t kWordTexturesOnly = 0xFF180034;

std::string BareName(const std::string& fileName) {
  return std::filesystem::path(fileName).filename().string();
}

LoadResult Refused(int32_t version) {
  LoadResult result;
  result.Lvl.Version = version;
  return result;
}

}  // namespace

int DetectGameVersion(uint32_t versionWord, const std::string& fileName) {
  switch (versionWord) {
    case kWordTR1:
      return kTR1;
    case kWordTR2:
      return kTR2;
    case kWordTR3a:
    case kWordTR3b:
      return kTR3;
    case kWordTR4: {
      std::string ext = fileName.size() >= 4 ? fileName.substr(fileName.size() - 4) : fileName;
      std::transform(ext.begin(), ext.end(), ext.begin(),
                     [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
      return ext == ".TRC" ? kTR5 : kTR4;
    }
    case kWordTR4b:
    case kWordTR4c:
      return kTR4;
    case kWordTexturesOnly:
      return kTexturesOnly;
    default:
      return 0;
  }
}

LoadResult LoadLevelFromBytes(std::span<const uint8_t> bytes, const std::string& fileName,
                              int& gameVersion, MessageSink& messages) {
  const std::string name = BareName(fileName);
  ByteCursor cursor(bytes);
  cursor.SetContext("the version word");
  uint32_t word = 0;
  try {
    word = cursor.ReadU32();
  } catch (const FormatError& e) {
    messages.Show(name + " is damaged: " + e.what());
    return Refused(0);
  }
  const auto version = static_cast<int32_t>(word);
  int detected = DetectGameVersion(word, fileName);
  if (detected == 0) {
    messages.Show("Unknown TR version!");
    return Refused(version);
  }
  gameVersion = detected;
  if (detected == kTexturesOnly) {
    messages.Show("This level only contains textures!");
    return Refused(version);
  }

  LoadResult result;
  result.Lvl.Version = version;
  try {
    if (detected <= kTR3) {
      ReadClassicLevel(cursor, result.Lvl, detected);
      result.TextureTiles =
          ConvertTextInfo(result.Lvl.ObjectTextures, result.Lvl.NumObjectTextures, messages);
    } else {
      if (detected == kTR4)
        ReadTR4Level(cursor, result.Lvl, messages, name);
      else
        ReadTR5Level(cursor, result.Lvl, messages, name);
      result.TextureTiles = ConvertTR5TextInfo(result.Lvl, messages);
    }
  } catch (const FormatError& e) {
    messages.Show(name + " is damaged: " + e.what());
    return Refused(version);
  } catch (const LevelRefused& e) {
    messages.Show(e.Message);
    return Refused(version);
  } catch (const TextureAreaError&) {
    return Refused(version);  // its message has been shown
  } catch (const std::bad_alloc&) {
    messages.Show(name + " is too large to open.");
    return Refused(version);
  }
  result.Loaded = true;
  return result;
}

LoadResult LoadLevel(const std::filesystem::path& fileName, int& gameVersion,
                     MessageSink& messages) {
  const std::string pathText = fileName.string();
  std::ifstream in(fileName, std::ios::binary);
  // A folder opens as a stream whose end lies at the largest offset: never size from it.
  std::error_code folderCheck;
  if (std::filesystem::is_directory(fileName, folderCheck)) in.setstate(std::ios::failbit);
  std::vector<uint8_t> bytes;
  if (in) {
    in.seekg(0, std::ios::end);
    auto size = static_cast<std::streamoff>(in.tellg());
    in.seekg(0, std::ios::beg);
    if (size >= 0) {
      bytes.resize(static_cast<size_t>(size));
      in.read(reinterpret_cast<char*>(bytes.data()), size);
    }
  }
  if (!in) {
    int err = errno;
    std::error_code ec;
    std::string reason = !std::filesystem::exists(fileName, ec) ? "the file does not exist"
                         : std::filesystem::is_directory(fileName, ec)
                             ? "it is a folder"
                             : std::string(err != 0 ? std::strerror(err) : "it cannot be read");
    messages.Show(BareName(pathText) + " can't be opened: " + reason + ".");
    return Refused(0);
  }
  return LoadLevelFromBytes(bytes, pathText, gameVersion, messages);
}

}  // namespace slab
