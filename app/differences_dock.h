// The dockable "Differences" list: what differs between the open level and the version it
// was compared with, grouped by room and filtered as the user types. A double-click or Enter
// on a line asks the window to go to its place.
#pragma once

#include <QDockWidget>
#include <QString>
#include <vector>

#include "compare/diff_view.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace slab {

// Title "Differences"; list DifferencesList, filter DifferencesFilter, the map outline's box
// DifferencesOutline and the line above them DifferencesSummary.
class DifferencesDock : public QDockWidget {
  Q_OBJECT
 public:
  explicit DifferencesDock(QWidget* parent = nullptr);

  QTreeWidget* List() const { return list_; }
  QCheckBox* Outline() const { return outline_; }
  QLabel* Summary() const { return summary_; }

  // Shows a comparison's lines under a summary, keeping the filter and, where it is still
  // there, the line the user was on.
  void ShowDiff(const LevelDiff& diff, const QString& summary);
  // No comparison: an empty list, the summary says how to make one and the outline is off.
  void ShowNone(const QString& summary);
  // The map outlines the changes: a comparison is shown, the box is checked, the dock is open.
  bool OutlineShown() const;

 signals:
  void GoTo(int room, int a, int b, int entity);
  // The map's outline went on or off.
  void OutlineChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Fill();
  void GoToItem(QTreeWidgetItem* item);

  QLabel* summary_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QCheckBox* outline_ = nullptr;
  QTreeWidget* list_ = nullptr;
  std::vector<DiffGroup> groups_;
  bool compared_ = false;
};

}  // namespace slab
