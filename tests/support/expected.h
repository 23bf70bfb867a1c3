// What an independent reader found in each real level (expected.json beside the levels),
// and a comparison of a loaded Level against it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "level/level.h"

namespace slab::test {

// The entry for a real level file, or nullptr when expected.json or the entry is missing.
const nlohmann::json* ExpectedEntry(const std::filesystem::path& levelFile);

// Every field that the entry and the model both have, compared: the version word and game,
// every top-level count (and that its list holds that many entries), the first-game sample
// bytes and palette layout, the sound-map length, the per-room figures, the first item,
// the sum of the items' object ids and the SHA-1 of the floor-data bytes. One line per
// difference; empty when all agree.
std::vector<std::string> CompareWithExpected(const Level& level, Game gameVersion,
                                             const nlohmann::json& entry);

}  // namespace slab::test
