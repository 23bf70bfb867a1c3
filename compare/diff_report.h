// A comparison as text: grouped by room with each change's lines under it, or one line per
// changed thing for a quick look.
#pragma once

#include <string>

#include "compare/level_diff.h"

namespace slab {

// "room 3, sector 1,4: changed (floor, trigger actions)"
std::string ChangeHeadline(const Change& change);

// "texture pages: 14 -> 14, pages differ: 3, 5"
std::string SectionLine(const SectionDiff& section);

// The comparison's last line: "equal", "12 changes, 2 sections differ", or that only the
// games differ.
std::string DiffSummary(const LevelDiff& diff);

// The whole comparison. brief: one line per change and per differing section, nothing else.
std::string DiffReport(const LevelDiff& diff, bool brief);

}  // namespace slab
