// The packaging tools' file writing: a write that fails part-way, as on a full disk, is a
// failure with the file named, never a success. (Their folder argument is used by every build,
// which runs them.)
#include "packaging/tool_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

TEST(ToolOutput, WriteTextReportsEveryFailure) {
  const std::filesystem::path file = testing::TempDir() + "tool_output.txt";
  ASSERT_TRUE(WriteText(file, "text\n"));
  std::ifstream in(file, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "text\n");
  std::filesystem::remove(file);

  // A folder in the file's place cannot be opened; /dev/full opens and then refuses the bytes.
  const std::filesystem::path folder = testing::TempDir();
  for (const std::filesystem::path& bad : {folder, std::filesystem::path("/dev/full")}) {
    if (!std::filesystem::exists(bad)) continue;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(WriteText(bad, std::string(1 << 16, 'x'))) << bad;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), bad.string() + ": cannot be written\n");
  }
}

}  // namespace
