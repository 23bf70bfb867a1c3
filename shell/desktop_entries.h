// The desktop's equivalent of the Explorer commands: a desktop entry for the program with
// its convert and view actions, and the level file types. An installed tree ships them; a
// portable folder writes them into the user's own XDG data folder at every start so they
// follow the program when it moves.
#pragma once

#include <filesystem>
#include <string>

namespace slab {

// $XDG_DATA_HOME when it is an absolute path, otherwise ~/.local/share; empty when neither
// can be found.
std::filesystem::path XdgDataHome();

// The desktop entry's text for the program at `executable`; empty when the path cannot be
// written into one (it holds a line break or another control character).
std::string DesktopEntryText(const std::filesystem::path& executable);

// The entry an installed tree ships in share/applications: the program found on the PATH,
// with the application icon.
std::string InstalledDesktopEntryText();

// Where an installed tree holding `executable` keeps its desktop entry.
std::filesystem::path InstalledDesktopEntry(const std::filesystem::path& executable);

// The shared-mime-info package describing the level file types.
std::string LevelMimeTypesText();

// Writes "applications/slabwright2.desktop" and "mime/packages/slabwright2.xml" under
// `dataHome`, rewriting only what differs and refreshing the desktop's caches when
// something changed. Returns false when a file could not be written; nothing is reported.
// When `executable` lies in an installed tree whose entry exists (InstalledDesktopEntry),
// nothing is written and earlier copies are removed instead, as they would shadow it.
bool WriteDesktopEntriesTo(const std::filesystem::path& dataHome,
                           const std::filesystem::path& executable);

// The same into XdgDataHome(); what start-up calls on Linux.
bool WriteDesktopEntries(const std::filesystem::path& executable);

}  // namespace slab
