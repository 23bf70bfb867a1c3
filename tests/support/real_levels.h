// Finding the real level files that tests read (never copied into the repository).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "level/load_level.h"

namespace slab::test {

// The folder of real levels, or empty when it is not there.
std::filesystem::path RealLevelsDir();

// Every level file under the folder whose relative path starts with one of the prefixes
// ("tr1/", "tr4/"...), sorted; empty when the folder is missing.
std::vector<std::filesystem::path> RealLevels(const std::vector<std::string>& prefixes);

// The real levels under the prefixes as a test's parameters, so each file passes or fails
// on its own line; one empty path when the folder is missing, where the test skips.
::testing::internal::ParamGenerator<std::filesystem::path> RealLevelParams(
    const std::vector<std::string>& prefixes);
// A parameter's name in the report: its folder and file name ("tr2_assault_tr2").
std::string RealLevelName(const ::testing::TestParamInfo<std::filesystem::path>& info);

// A whole file's bytes (empty when it can't be read).
std::vector<uint8_t> ReadFile(const std::filesystem::path& path);

// A level loaded as the program loads it, with what it said and the game it was found to be.
struct Loaded {
  LoadResult Result;
  RecordingSink Messages;
  Game GameVersion = Game::None;
  std::string FirstMessage() const { return Messages.Shown.empty() ? "" : Messages.Shown[0]; }
};
std::unique_ptr<Loaded> LoadBytes(std::span<const uint8_t> bytes, const std::string& name);
std::unique_ptr<Loaded> LoadFile(const std::filesystem::path& path);

// A fixture with a fresh folder of its own for each test, removed afterwards.
class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string At(const std::string& name) const { return (dir_ / name).string(); }
  std::filesystem::path dir_;
};

// Use at the top of a test: skips it with a reason when the folder is missing.
#define SLAB_REQUIRE_REAL_LEVELS()                                 \
  do {                                                             \
    if (::slab::test::RealLevelsDir().empty())                     \
      GTEST_SKIP() << "real levels not found at " SLAB_LEVELS_DIR  \
                   << " (set the SLAB_LEVELS_DIR cache variable)"; \
  } while (0)

}  // namespace slab::test
