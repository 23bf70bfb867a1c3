// Paths on Windows: drive letters, backslashes, the toolkit's forward slashes and a file
// system that ignores case.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/data_paths.h"

namespace slab {
namespace {
namespace fs = std::filesystem;

// The programs carry paths as UTF-8 text (as the toolkit gives them); files opened by such a
// name need UTF-8 as the process's code page, which the programs' manifest asks for.
TEST(WindowsPaths, TheProgramsRunWithUtf8AsTheirCodePage) {
  EXPECT_EQ(GetACP(), CP_UTF8);
  const std::wstring wide = fs::temp_directory_path().wstring() + L"\\\u00DCber.tr2";  // Über
  const std::string utf8 = fs::temp_directory_path().string() + "\\\xC3\x9C" "ber.tr2";
  std::ofstream(utf8, std::ios::binary) << "level";
  EXPECT_NE(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(std::ifstream(utf8, std::ios::binary).good());
  DeleteFileW(wide.c_str());
}

TEST(WindowsPaths, ShippedFilesAreFoundBesideTheProgramInAFolderOfAnyNameAndCase) {
  const fs::path scratch = fs::temp_directory_path() / "slabwright paths test";
  fs::remove_all(scratch);
  const std::string folder = (scratch / "Program Files" / "Slabwright 3.1").string();
  ASSERT_EQ(folder.substr(1, 2), ":\\");  // a drive letter, backslashes
  fs::create_directories(folder);
  std::ofstream(folder + "\\TR4Objects.dat") << "x";
  ASSERT_TRUE(fs::is_directory(folder));
  // A portable folder: everything beside the program, looked for in that one place.
  const ShippedFile names = FindShippedFile(folder, "TR4Objects.dat", ShippedKind::Data);
  EXPECT_TRUE(names.Found);
  EXPECT_EQ(names.LookedIn.size(), 1u);
  EXPECT_EQ(names.Path, fs::path(folder) / "TR4Objects.dat");
  // The file system ignores case, and so does the search.
  EXPECT_TRUE(FindShippedFile(folder, "tr4objects.DAT", ShippedKind::Data).Found);
  // Given with forward slashes, as the toolkit writes a folder, it is the same place.
  std::string forward = folder;
  std::replace(forward.begin(), forward.end(), '\\', '/');
  EXPECT_TRUE(FindShippedFile(forward, "TR4Objects.dat", ShippedKind::Data).Found);
  const ShippedFile finisher = FindShippedFile(folder, "RKV.exe", ShippedKind::Finisher);
  EXPECT_FALSE(finisher.Found);
  EXPECT_EQ(LookedInText(finisher), folder);
  fs::remove_all(scratch);
}

}  // namespace
}  // namespace slab
