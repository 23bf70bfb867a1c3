// Writes the desktop entry and the MIME package an installed tree ships, from the same code
// that writes a portable program's per-user copies, so the two never disagree.
//
//   make_desktop_files FOLDER   writes FOLDER/slabwright2.desktop and FOLDER/slabwright2.xml
#include "packaging/tool_output.h"
#include "shell/desktop_entries.h"

int main(int argc, char** argv) {
  const auto out = OutputFolder(argc, argv, "make_desktop_files");
  if (!out) return 1;
  const std::filesystem::path& folder = *out;
  return WriteText(folder / "slabwright2.desktop", slab::InstalledDesktopEntryText()) &&
                 WriteText(folder / "slabwright2.xml", slab::LevelMimeTypesText())
             ? 0
             : 1;
}
