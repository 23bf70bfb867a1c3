#include "platform/data_paths.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/real_levels.h"

namespace slab {
namespace {
namespace fs = std::filesystem;

void Touch(const fs::path& file) { std::ofstream(file) << "x"; }

using ShippedFiles = test::TempFolderTest;

// An installed tree as the package lays it out, under a scratch root (so never where the
// program was built or installed).
TEST_F(ShippedFiles, BesideTheProgramFirstThenTheInstalledFolderOfItsKindElseNamedMissing) {
  const fs::path bin = dir_ / "bin";
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
}

}  // namespace
}  // namespace slab
