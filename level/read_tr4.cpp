// The fourth-game body: three texture chunks, the level-data chunk, the samples as stored,
// and, in files of the level-editor add-on, its trailing block.
#include <algorithm>
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
  const int32_t samples = file.ReadCount32("NumSamples");
  level.Samples.clear();
  if (samples == 0) return;
  file.NeedEntries(static_cast<uint64_t>(samples), 8);
  level.Samples.resize(static_cast<size_t>(samples));
  for (size_t i = 0; i < level.Samples.size(); ++i) {
    file.SetContext("sample " + std::to_string(i));
    SampleChunk& sample = level.Samples[i];
    sample.UncompressedSize = file.ReadCount32("UncompressedSize");
    sample.CompressedSize = file.ReadCount32("CompressedSize");
    auto bytes = file.Take(static_cast<uint32_t>(sample.CompressedSize));
    sample.Data.assign(bytes.begin(), bytes.end());
  }
}

// The add-on block fills the rest of the file: it starts with "NG" and its last eight bytes
// are "NGLE" and its own length. Other trailing bytes are not part of the level (reported).
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

bool ReadTR45Pages(ByteCursor& file, Level& level) {
  file.SetContext("the page counts");
  level.NumRoomTextiles = file.ReadCount16("NumRoomTextiles");
  level.NumObjTextiles = file.ReadCount16("NumObjTextiles");
  level.NumBumpTextiles = file.ReadCount16("NumBumpTextiles");
  InflateBudget budget(file.Size());
  bool pagesIntact = ReadTextureChunks(file, level, budget);
  return pagesIntact;
}

void ShowDamagedPages(MessageSink& messages, std::string_view fileTitle) {
  messages.Show(Named(fileTitle) +
                "'s texture pages are damaged; they show as far as they could be read");
}

void ReadTR4Level(ByteCursor& file, Level& level, MessageSink& messages,
                  std::string_view fileTitle) {
  bool pagesIntact = ReadTR45Pages(file, level);

  file.SetContext("the level data chunk");
  ZlibChunk levelChunk = ReadZlibChunk(file);
  ReadSamples(file, level);
  bool addOn = ReadAddOnBlock(file, level);
  const size_t leftInFile = file.Remaining();

  // Without its level data nothing of the level can be trusted, so the file is refused.
  const size_t ceiling = std::min(kMaxLevelDataBytes, InflateBudget(file.Size()).Remaining());
  std::vector<uint8_t> geometryBuffer;
  InflateResult inflated = InflateInto(levelChunk, geometryBuffer, ceiling);
  if (inflated.OverCeiling)
    throw LevelRefused(Named(fileTitle) + " is damaged: its level data chunk inflates past " +
                       std::to_string(ceiling) + " bytes, more than a level holds");
  if (!inflated.Complete)
    throw LevelRefused(Named(fileTitle) + " is damaged: its level data chunk does not inflate (" +
                       std::to_string(inflated.Produced) + " of " +
                       std::to_string(levelChunk.UncompressedSize) + " bytes)");

  ByteCursor geometry(geometryBuffer, 0, "the inflated level data");
  try {
    ReadTR4LevelData(geometry, level, addOn);
  } catch (const FormatError& e) {
    throw LevelRefused(Named(fileTitle) + " is damaged: " + e.what());
  }

  // Reported only once the level is known to open, so a refusal stays one message.
  if (!pagesIntact) ShowDamagedPages(messages, fileTitle);
  const size_t leftInData = geometry.Remaining();
  if (leftInFile > 0 || leftInData > 0) {
    std::string where;
    if (leftInData > 0)
      where = std::to_string(leftInData) + " bytes after the last section of its level data";
    if (leftInFile > 0)
      where +=
          (where.empty() ? "" : " and ") + std::to_string(leftInFile) + " bytes after its samples";
    messages.Show(Named(fileTitle) + " has " + where +
                  "; they are not part of the level and are left out");
  }
}

}  // namespace slab
