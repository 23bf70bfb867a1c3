// The Help menu's two windows: About_Frm and the minecart help MineCartHelp_Frm.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QString>
#include <vector>

namespace slab {

inline constexpr char kProgramName[] = "Slabwright 3.1";
inline constexpr char kMineCartHelpCaption[] = "MineCart Help";
inline constexpr char kMineCartNote[] =
    "NOTE: You need to add the minecart moveable before this using Kestrome.";
inline constexpr char kMineCartHeading[] = "Building a minecart track:";
inline constexpr char kMineCartSteps[] =
    "To build a track, first click on the sector you want the minecart. Chose Add from the item "
    "frame and click somewhere else in the map. Then select the item again (it will show as a "
    "yellow dot). Select MINECART from the dropdown menu and change the direction (North is the "
    "top of the 2D map).  Now press the Minecart Stop button. Setup your track using the 3 "
    "Minecart buttons. A full curve uses 4x4 sectors. You can only get out on a Minecart Stop "
    "sector.";

// The About picture: a little room map in the map's own colours, drawn here rather than
// shipped, so no picture file is needed.
QImage AboutPicture();

class AboutWindow : public QDialog {
 public:
  explicit AboutWindow(QWidget* parent = nullptr);
};

class MineCartHelpWindow : public QDialog {
 public:
  explicit MineCartHelpWindow(QWidget* parent = nullptr);
};

inline constexpr char kKeysHelpCaption[] = "Keys";

// One line of Help > Keys: the key (or mouse action) and what it does, under the heading of
// its group (lines of one group follow each other).
struct KeyLine {
  QString Group;
  QString Keys;
  QString What;
};

// The keys of the main window, one line each, in a table named KeysText.
class KeysHelpWindow : public QDialog {
 public:
  explicit KeysHelpWindow(const std::vector<KeyLine>& lines, QWidget* parent = nullptr);
};

// The Help menu's windows of one main window. Each is made on first use and brought to the
// front after that; closing it deletes it, and the next showing makes a new one.
class HelpWindows {
 public:
  explicit HelpWindows(QWidget& owner) : owner_(owner) {}
  void ShowMineCart();
  void ShowAbout();
  void ShowKeys(const std::vector<KeyLine>& lines);
  // The main window closes: its help windows go with it.
  void CloseAll();

 private:
  QWidget& owner_;
  QPointer<QDialog> about_;
  QPointer<QDialog> mineCartHelp_;
  QPointer<QDialog> keysHelp_;
};

}  // namespace slab
