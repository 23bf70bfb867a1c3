// Turning the fourth-game intermediate file into a finished level: what the finisher does.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "write/save_result.h"

namespace slab {

// The four chunks of the intermediate (each one size word and the bytes) become
// uncompressed size, compressed size and a zlib stream; the header before them and the
// samples and any add-on block after them are copied as they are. A failure says what is
// wrong with the input.
SaveResult FinishTR4(std::span<const uint8_t> intermediate, std::vector<uint8_t>& finished);

// A finished fourth-game file taken apart for comparison: the bytes before the chunks, each
// chunk inflated, and the bytes after them (samples, add-on block). A failure says what is
// damaged.
struct TR4FileParts {
  std::vector<uint8_t> Header;
  std::vector<std::vector<uint8_t>> Chunks;
  std::vector<uint8_t> Rest;
};
// With limits, each chunk is inflated no further than the same chunk of limits and a byte
// (enough to tell that a longer one differs), so a size the file states never sizes anything:
// the way to take apart a file that may be damaged, beside one of our own.
SaveResult SplitTR4File(std::span<const uint8_t> file, TR4FileParts& parts,
                        const TR4FileParts* limits = nullptr);

}  // namespace slab
