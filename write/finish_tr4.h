// Turning the fourth-game intermediate file into a finished level: what the finisher does.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace slab {

// The four chunks of the intermediate (each one size word and the bytes) become
// uncompressed size, compressed size and a zlib stream; the header before them and the
// samples and any add-on block after them are copied as they are. Returns an empty string on
// success, else what is wrong with the input.
std::string FinishTR4(std::span<const uint8_t> intermediate, std::vector<uint8_t>& finished);

}  // namespace slab
