// Finding the real level files that tests read (never copied into the repository).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace slab::test {

// The folder of real levels, or empty when it is not there.
std::filesystem::path RealLevelsDir();

// Every level file under the folder whose relative path starts with one of the prefixes
// ("tr1/", "tr4/"...), sorted; empty when the folder is missing.
std::vector<std::filesystem::path> RealLevels(const std::vector<std::string>& prefixes);

// Use at the top of a test: skips it with a reason when the folder is missing.
#define SLAB_REQUIRE_REAL_LEVELS()                                                      \
  do {                                                                                  \
    if (::slab::test::RealLevelsDir().empty())                                          \
      GTEST_SKIP() << "real levels not found at " SLAB_LEVELS_DIR                       \
                   << " (set the SLAB_LEVELS_DIR cache variable)";                      \
  } while (0)

}  // namespace slab::test
