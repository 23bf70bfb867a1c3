// The fourth-game body: three texture chunks, the level-data chunk, the samples as stored,
// and, in files of the level-editor add-on, its trailing block.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "level/level_reader.h"
#include "level/level_transfer.h"
#include "level/load_level.h"
#include "level/read_tr45.h"
#include "level/text.h"
#include "level/zlib_chunk.h"

namespace slab {

namespace {

std::string Named(std::string_view fileTitle) {
  return fileTitle.empty() ? std::string("The level") : std::string(fileTitle);
}

// The add-on block fills the rest of the file: it starts with "NG" and its last eight bytes
// are "NGLE" and its own length. Other trailing bytes are not part of the level (reported).
// Read before the level data, whose layout depends on it.
void ReadAddOnBlock(ByteCursor& file, Level& level) {
  level.TrailingBlock.clear();
  auto rest = file.Bytes().subspan(file.Pos());
  if (rest.size() < 10) return;
  uint32_t length = 0;
  std::memcpy(&length, rest.data() + rest.size() - 4, 4);
  if (std::memcmp(rest.data(), "NG", 2) != 0 ||
      std::memcmp(rest.data() + rest.size() - 8, "NGLE", 4) != 0 || length != rest.size())
    return;
  level.TrailingBlock.assign(rest.begin(), rest.end());
  file.Skip(rest.size());
}

}  // namespace

void ReadTR4LevelData(ByteCursor& geometryBuffer, Level& level) {
  LevelReader io(geometryBuffer);
  TransferTR4LevelData(io, level);
}

void ReadSamples(ByteCursor& file, std::vector<SampleChunk>* kept) {
  file.SetContext("the sample count");
  const int32_t samples = file.ReadCount32("NumSamples");
  if (kept) kept->clear();
  if (samples == 0) return;
  file.NeedEntries(static_cast<uint64_t>(samples), 8);
  if (kept) kept->resize(static_cast<size_t>(samples));
  for (int32_t i = 0; i < samples; ++i) {
    file.SetContext("sample " + std::to_string(i));
    SampleChunk read;
    SampleChunk& sample = kept ? (*kept)[static_cast<size_t>(i)] : read;
    sample.UncompressedSize = file.ReadCount32("UncompressedSize");
    sample.CompressedSize = file.ReadCount32("CompressedSize");
    auto bytes = file.Take(static_cast<uint32_t>(sample.CompressedSize));
    if (kept) sample.Data.assign(bytes.begin(), bytes.end());
  }
}

TextureDamage ReadTR45Pages(ByteCursor& file, Level& level) {
  file.SetContext("the page counts");
  level.NumRoomTextiles = file.ReadCount16("NumRoomTextiles");
  level.NumObjTextiles = file.ReadCount16("NumObjTextiles");
  level.NumBumpTextiles = file.ReadCount16("NumBumpTextiles");
  InflateBudget budget(file.Size());
  return ReadTextureChunks(file, level, budget);
}

void ShowDamagedPages(MessageSink& messages, std::string_view fileTitle,
                      const std::string& damage) {
  messages.ShowDetailed(
      Named(fileTitle) + "'s texture pages are damaged; they show as far as they could be read",
      Sentence(damage));
}

void ShowLeftOver(MessageSink& messages, std::string_view fileTitle, size_t leftOver) {
  if (leftOver > 0)
    messages.Show(Named(fileTitle) + " has " + std::to_string(leftOver) +
                  " bytes after its samples; they are not part of the level and are left out");
}

void ReadTR4Level(ByteCursor& file, Level& level, MessageSink& messages,
                  std::string_view fileTitle) {
  const TextureDamage pageDamage = ReadTR45Pages(file, level);

  ZlibChunk levelChunk = AfterChunk(pageDamage.NotInflated, "the level data chunk", [&] {
    file.SetContext("the level data chunk");
    return ReadZlibChunk(file);
  });
  // Without its level data nothing of the level can be trusted, so the file is refused. It is
  // inflated before the samples are read: a chunk whose size is forged puts the samples where
  // they are not, and the chunk is what to name then.
  const size_t ceiling = std::min(kMaxLevelDataBytes, InflateBudget(file.Size()).Remaining());
  PixelList<uint8_t> geometryBuffer;
  InflateResult inflated = InflateInto(levelChunk, geometryBuffer, ceiling);
  if (inflated.OverCeiling)
    throw LevelRefused(Named(fileTitle) + " is damaged: its level data chunk inflates past " +
                       std::to_string(ceiling) + " bytes, more than a level holds");
  if (!inflated.Complete) {
    const std::string text = NotInflatedText("its level data chunk", levelChunk, inflated);
    // After a texture chunk that does not inflate, that chunk's size is the likelier lie.
    throw LevelRefused(Named(fileTitle) + " is damaged: " +
                       (pageDamage.NotInflated.empty()
                            ? text
                            : pageDamage.NotInflated +
                                  ", so the level data chunk is not where its sizes put it (" +
                                  text + ")"));
  }
  ReadSamples(file, &level.Samples);
  ReadAddOnBlock(file, level);
  const size_t leftInFile = file.Remaining();

  ByteCursor geometry(geometryBuffer, 0, "the inflated level data");
  try {
    ReadTR4LevelData(geometry, level);
  } catch (const FormatError& e) {
    // Texture pages in the level data's place: page after page of pixels, which read as a
    // level of nonsense counts.
    if (!geometryBuffer.empty() && geometryBuffer.size() % (kPagePixels * 2) == 0)
      throw LevelRefused(Named(fileTitle) + " is damaged: its level data chunk is not level " +
                         "data: its " + std::to_string(geometryBuffer.size()) +
                         " bytes are a whole number of texture pages and do not read as a " +
                         "level (" + e.what() + ")");
    throw LevelRefused(Named(fileTitle) + " is damaged: " + e.what());
  }
  // zlib knows the chunk's size exactly: bytes past its last section mean the chunk is not
  // the level data it claims to be (a texture chunk in its place reads as a level of almost
  // nothing), so nothing read from it can be trusted.
  if (!geometry.AtEnd())
    throw LevelRefused(Named(fileTitle) + " is damaged: its level data chunk holds " +
                       std::to_string(geometry.Remaining()) +
                       " bytes after its last section, so it is not the level's data");

  // Reported only once the level is known to open, so a refusal stays one message.
  if (!pageDamage.What.empty()) ShowDamagedPages(messages, fileTitle, pageDamage.What);
  ShowLeftOver(messages, fileTitle, leftInFile);
}

}  // namespace slab
