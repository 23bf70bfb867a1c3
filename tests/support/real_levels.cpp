#include "support/real_levels.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <fstream>

namespace slab::test {

std::filesystem::path RealLevelsDir() {
  std::filesystem::path dir(SLAB_LEVELS_DIR);
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) return {};
  return dir;
}

std::vector<std::filesystem::path> RealLevels(const std::vector<std::string>& prefixes) {
  std::vector<std::filesystem::path> out;
  auto dir = RealLevelsDir();
  if (dir.empty()) return out;
  for (auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    auto rel = std::filesystem::relative(entry.path(), dir).generic_string();
    auto ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
    if (ext != ".phd" && ext != ".tr2" && ext != ".tr4" && ext != ".trc" && ext != ".tub") continue;
    for (auto& p : prefixes)
      if (rel.rfind(p, 0) == 0) {
        out.push_back(entry.path());
        break;
      }
  }
  std::sort(out.begin(), out.end());
  return out;
}

::testing::internal::ParamGenerator<std::filesystem::path> RealLevelParams(
    const std::vector<std::string>& prefixes) {
  std::vector<std::filesystem::path> levels = RealLevels(prefixes);
  if (levels.empty()) levels.emplace_back();
  return ::testing::ValuesIn(levels);
}

std::string RealLevelName(const ::testing::TestParamInfo<std::filesystem::path>& info) {
  if (info.param.empty()) return "NoRealLevels";
  std::string name =
      info.param.parent_path().filename().string() + "_" + info.param.filename().string();
  // Test names take letters, digits and underscores only.
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name + "_" + std::to_string(info.index);
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::unique_ptr<Loaded> LoadBytes(std::span<const uint8_t> bytes, const std::string& name) {
  auto out = std::make_unique<Loaded>();
  out->Result = LoadLevelFromBytes(bytes, name, out->Messages);
  out->GameVersion = out->Result.DetectedGame.value_or(out->GameVersion);
  return out;
}

std::unique_ptr<Loaded> LoadFile(const std::filesystem::path& path) {
  auto out = std::make_unique<Loaded>();
  out->Result = LoadLevel(path, out->Messages);
  out->GameVersion = out->Result.DetectedGame.value_or(out->GameVersion);
  return out;
}

void TempFolderTest::SetUp() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  dir_ = std::filesystem::temp_directory_path() / ("slab_" + std::to_string(::getpid()) + "_" +
                                                   test->test_suite_name() + "_" + test->name());
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
}

void TempFolderTest::TearDown() {
  std::error_code ec;  // a test may have left its folder read-only
  std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ec);
  std::filesystem::remove_all(dir_, ec);
}

}  // namespace slab::test
