// Reduces each object texture to the page and top-left texel the 3D preview needs.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "level/level.h"
#include "level/level_error.h"
#include "platform/messages.h"

namespace slab {

// First to third game. A rectangle whose X pixels run against its side flag is reported
// once per call (the first such texture, then how many more) and still converted; with
// firstRecordAt (where the first texture's record lies in the file) the message says where
// that texture's record is.
std::vector<TextureTile> ConvertTextInfo(std::span<const ObjectTexture> objectTextures,
                                         int32_t numObjectTextures, MessageSink& messages,
                                         std::optional<size_t> firstRecordAt = std::nullopt);

// Fourth and fifth game. An area that runs past pixel 255 of its page makes the level
// unusable: the message is shown and a TextureAreaError thrown, which refuses the file.
std::vector<TextureTile> ConvertTR5TextInfo(const Level& level, MessageSink& messages);

class TextureAreaError : public LevelError {
 public:
  using LevelError::LevelError;
  std::string ForUser(const std::string&) const override { return {}; }  // shown already
};

}  // namespace slab
