// Writes the desktop entry and the MIME package an installed tree ships, from the same code
// that writes a portable program's per-user copies, so the two never disagree.
//
//   make_desktop_files FOLDER   writes FOLDER/slabwright2.desktop and FOLDER/slabwright2.xml
#include <filesystem>
#include <fstream>
#include <iostream>

#include "shell/desktop_entries.h"

namespace {

bool Write(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (out) return true;
  std::cerr << file.string() << ": cannot be written\n";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_desktop_files FOLDER\n";
    return 1;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return Write(folder / "slabwright2.desktop", slab::InstalledDesktopEntryText()) &&
                 Write(folder / "slabwright2.xml", slab::LevelMimeTypesText())
             ? 0
             : 1;
}
