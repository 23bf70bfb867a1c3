// File > Recent Files: the recently opened levels, kept between runs in the program's settings
// (organisation "Slabwright", application "Slabwright2", key "RecentFiles").
#pragma once

#include <QMenu>
#include <string>
#include <vector>

namespace slab {

inline constexpr char kSettingsOrganisation[] = "Slabwright";
inline constexpr char kSettingsApplication[] = "Slabwright2";
inline constexpr char kRecentFilesKey[] = "RecentFiles";

// The stored list as it stands (missing files included); at most kMaxRecentFiles.
std::vector<std::string> LoadRecentFiles();
void SaveRecentFiles(const std::vector<std::string>& paths);

// Title "Recent Files", object name "Mnu_File_Recent". Its actions ("&1 name", with the full
// path as tool tip) are named Mnu_File_Recent_0, _1...; files gone missing are dropped from
// the menu and from the settings each time it opens. Empty, it shows a disabled "(none)".
class RecentFilesMenu : public QMenu {
  Q_OBJECT
 public:
  explicit RecentFilesMenu(QWidget* parent = nullptr);

  // After a level was opened or saved under a name: it goes first, and is stored at once.
  void Add(const std::string& path);
  // Reads the settings again and rebuilds the actions (done before each showing).
  void Rebuild();

 signals:
  void OpenRequested(const QString& path);
};

}  // namespace slab
