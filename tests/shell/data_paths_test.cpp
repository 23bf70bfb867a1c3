#include "shell/data_paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace slab {
namespace {
namespace fs = std::filesystem;

void Touch(const fs::path& file) { std::ofstream(file) << "x"; }

// An installed tree as the package lays it out, under a scratch root.
TEST(ShippedFiles, BesideTheProgramFirstThenTheInstalledFolderOfItsKindElseNamedMissing) {
  const fs::path root = fs::path(testing::TempDir()) / ("slab_tree_" + std::to_string(::getpid()));
  fs::remove_all(root);
  const fs::path bin = root / "bin";
  const fs::path data = (bin / InstalledFolder(ShippedKind::Data)).lexically_normal();
  const fs::path finishers = (bin / InstalledFolder(ShippedKind::Finisher)).lexically_normal();
  for (const fs::path& folder : {bin, data, finishers}) fs::create_directories(folder);
  Touch(data / "TR3.swd");
  Touch(finishers / "RKV");
  fs::create_directories(bin / "TR4Objects.dat");  // a folder is no file
  Touch(data / "TR4Objects.dat");
  Touch(bin / "Light.bmp");
  Touch(data / "Light.bmp");
  Touch(data / "RKV");  // the finisher is not looked for among the data
  const struct {
    const char* Name;
    ShippedKind Kind;
    fs::path Folder;
  } cases[] = {{"TR3.swd", ShippedKind::Data, data},
               {"TR4Objects.dat", ShippedKind::Data, data},
               {"Light.bmp", ShippedKind::Data, bin},
               {"RKV", ShippedKind::Finisher, finishers}};
  for (const auto& c : cases) {
    const ShippedFile found = FindShippedFile(bin, c.Name, c.Kind);
    EXPECT_TRUE(found.Found) << c.Name;
    EXPECT_EQ(found.Path, c.Folder / c.Name);
  }
  // A missing file names the place beside the program and every folder looked in.
  const ShippedFile missing = FindShippedFile(bin, "RKV2", ShippedKind::Finisher);
  EXPECT_FALSE(missing.Found);
  EXPECT_EQ(missing.Path, bin / "RKV2");
  EXPECT_EQ(LookedInText(missing), bin.string() + " and " + finishers.string());
  // A moved tree is followed: nothing names the old place.
  const fs::path moved = root.string() + "_moved";
  fs::remove_all(moved);
  fs::rename(root, moved);
  const ShippedFile found = FindShippedFile(moved / "bin", "TR3.swd", ShippedKind::Data);
  EXPECT_TRUE(found.Found);
  EXPECT_EQ(found.Path, moved / data.lexically_relative(root) / "TR3.swd");
  fs::remove_all(moved);
}

}  // namespace
}  // namespace slab
