// The fourth-game body: three texture chunks, the level-data chunk, the samples as stored,
// and, in files of the level-editor add-on, its trailing block.
#include <cstring>
#include <string>
#include <vector>

#include "level/load_level.h"
#include "level/read_tr45.h"
#include "level/zlib_chunk.h"

namespace slab {

namespace {

std::string Named(std::string_view fileTitle) {
  return fileTitle.empty() ? std::string("The level") : std::string(fileTitle);
}

void ReadSamples(ByteCursor& file, Level& level) {
  file.SetContext("the sample count");
  level.NumSamples = file.ReadI32();
  level.Samples.clear();
  if (level.NumSamples <= 0) return;
  file.NeedEntries(static_cast<uint64_t>(level.NumSamples), 8);
  level.Samples.resize(static_cast<size_t>(level.NumSamples));
  for (size_t i = 0; i < level.Samples.size(); ++i) {
    file.SetContext("sample " + std::to_string(i));
    SampleChunk& sample = level.Samples[i];
    sample.UncompressedSize = file.ReadI32();
    sample.CompressedSize = file.ReadI32();
    auto bytes = file.Take(static_cast<uint32_t>(sample.CompressedSize));
    sample.Data.assign(bytes.begin(), bytes.end());
  }
}

// The add-on block fills the rest of the file: it starts with "NG" and its last eight bytes
// are "NGLE" and its own length. Other trailing bytes are not part of the level.
bool ReadAddOnBlock(ByteCursor& file, Level& level) {
  level.TrailingBlock.clear();
  auto rest = file.Bytes().subspan(file.Pos());
  if (rest.size() < 10) return false;
  uint32_t length = 0;
  std::memcpy(&length, rest.data() + rest.size() - 4, 4);
  if (std::memcmp(rest.data(), "NG", 2) != 0 ||
      std::memcmp(rest.data() + rest.size() - 8, "NGLE", 4) != 0 || length != rest.size())
    return false;
  level.TrailingBlock.assign(rest.begin(), rest.end());
  file.Skip(rest.size());
  return true;
}

}  // namespace

void ReadTR4Level(ByteCursor& file, Level& level, MessageSink& messages,
                  std::string_view fileTitle) {
  file.SetContext("the page counts");
  level.NumRoomTextiles = file.ReadI16();
  level.NumObjTextiles = file.ReadI16();
  level.NumBumpTextiles = file.ReadI16();
  bool pagesIntact = ReadTextureChunks(file, level);

  file.SetContext("the level data chunk");
  ZlibChunk levelChunk = ReadZlibChunk(file);
  ReadSamples(file, level);
  bool addOn = ReadAddOnBlock(file, level);

  // Without its level data nothing of the level can be trusted, so the file is refused.
  if (levelChunk.UncompressedSize > MostInflatedFrom(levelChunk.CompressedSize))
    throw LevelRefused{Named(fileTitle) + " is damaged: its level data chunk claims " +
                       std::to_string(levelChunk.UncompressedSize) + " bytes from " +
                       std::to_string(levelChunk.CompressedSize) + " compressed bytes"};
  std::vector<uint8_t> geometryBuffer(levelChunk.UncompressedSize);
  InflateResult inflated = InflateChunk(levelChunk, geometryBuffer);
  if (!inflated.Complete)
    throw LevelRefused{Named(fileTitle) + " is damaged: its level data chunk does not inflate (" +
                       std::to_string(inflated.Produced) + " of " +
                       std::to_string(levelChunk.UncompressedSize) + " bytes)"};

  ByteCursor geometry(geometryBuffer);
  try {
    ReadTR4LevelData(geometry, level, addOn);
  } catch (const FormatError& e) {
    throw LevelRefused{Named(fileTitle) + " is damaged: " + e.What + " ends early, at byte " +
                       std::to_string(e.Offset) + " of the inflated level data"};
  }

  // Reported only once the level is known to open, so a refusal stays one message.
  if (!pagesIntact)
    messages.Show((fileTitle.empty() ? std::string("The level's") : std::string(fileTitle)) +
                  " texture pages are damaged; they show as far as they could be read");
}

}  // namespace slab
