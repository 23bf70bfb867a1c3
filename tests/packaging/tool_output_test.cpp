// The packaging tools' folder argument and file writing: a write that fails part-way, as on a
// full disk, is a failure with the file named, never a success.
#include "packaging/tool_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

TEST(ToolOutput, FolderArgumentIsCheckedAndMade) {
  const std::filesystem::path base = testing::TempDir() + "tool_output_folder";
  std::filesystem::remove_all(base);
  const std::string nested = (base / "a" / "b").string();
  char tool[] = "tool";
  std::string arg = nested;
  char* one[] = {tool, arg.data()};
  char* none[] = {tool};
  char* two[] = {tool, arg.data(), arg.data()};

  testing::internal::CaptureStderr();
  EXPECT_FALSE(OutputFolder(1, none, "make_thing"));
  EXPECT_FALSE(OutputFolder(3, two, "make_thing"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "usage: make_thing FOLDER\nusage: make_thing FOLDER\n");

  EXPECT_EQ(OutputFolder(2, one, "make_thing"), std::filesystem::path(nested));
  EXPECT_TRUE(std::filesystem::is_directory(nested));
  std::filesystem::remove_all(base);
}

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
