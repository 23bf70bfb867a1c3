// The Problems list: one row per finding of the level's checks, errors first, each leading to
// its room and sector, item or static mesh as the other lists' rows do.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "check/check.h"
#include "map/level_tables.h"

namespace slab {

enum class ProblemColumn { Severity, Check, Place, Message };
const std::vector<std::string>& ProblemColumnTitles();

// The rows in severity order (errors, warnings, notes), each severity's as the checks found
// them; the type box filters by severity.
ListRows ProblemListRows(const Level& level, std::span<const Finding> findings);

}  // namespace slab
