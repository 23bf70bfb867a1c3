// The fourth- and fifth-game readers in parts: the whole body with the file's title for
// messages, and the in-memory parsers that fuzz targets and tests call directly.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "level/byte_cursor.h"
#include "level/level.h"
#include "level/zlib_chunk.h"
#include "platform/messages.h"

namespace slab {

// ReadTR4Level and ReadTR5Level, naming the file in their messages. A damaged texture chunk
// is reported once through messages after the level has been read; a damaged level-data
// chunk or room throws LevelRefused; a file that ends early throws FormatError.
void ReadTR4Level(ByteCursor& file, Level& level, MessageSink& messages,
                  std::string_view fileTitle);
void ReadTR5Level(ByteCursor& file, Level& level, MessageSink& messages,
                  std::string_view fileTitle);

// The page counts and the three texture chunks both games start with. Returns what is wrong
// with a damaged chunk, empty when none is (the pages hold what could be read), which
// ShowDamagedPages reports.
TextureDamage ReadTR45Pages(ByteCursor& file, Level& level);
void ShowDamagedPages(MessageSink& messages, std::string_view fileTitle, const std::string& damage);
// Bytes after the samples that are no part of the level, reported once when there are any.
void ShowLeftOver(MessageSink& messages, std::string_view fileTitle, size_t leftOver);

// The sample count and the samples as stored, into kept (or only stepped over when it is null).
void ReadSamples(ByteCursor& file, std::vector<SampleChunk>* kept);

// The inflated fourth-game level-data chunk, from its reserved word to the closing bytes. When
// level.TrailingBlock holds the level-editor add-on block, the demo-length slot holds the
// number of sound-map entries instead. Throws FormatError when the chunk ends early.
void ReadTR4LevelData(ByteCursor& geometryBuffer, Level& level);

// One fifth-game room block, the cursor at its "XELA" marker; leaves the cursor at the end
// of the block. Positions are the cursor's, so it must span the whole file. Throws
// LevelRefused{"BAD Room!"} for another marker, FormatError for a block past the end.
void ReadTR5Room(ByteCursor& file, Room& room);

// The fifth-game level data after the rooms, from the floor data to the AI objects.
void ReadTR5LevelData(ByteCursor& file, Level& level);

}  // namespace slab
