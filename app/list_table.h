// What the dockable lists share: a table of cell texts whose rows stay in the dock, a proxy
// showing the rows the core's filter accepted in the order the list sorts by, and the table
// view's look and keys.
#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

class QEvent;
class QTableView;

namespace slab {

class ListTableModel : public QAbstractTableModel {
 public:
  using Cell = std::function<QString(int row, int column)>;

  ListTableModel(const std::vector<std::string>& titles, QObject* parent, Cell cell = nullptr);

  // fill replaces the rows behind the cells and returns their number (the views let go of the
  // old rows before it runs); cell, where given, reads the new rows' cells from then on.
  void Reset(const std::function<int()>& fill, Cell cell = nullptr);
  // Cells of the rows changed in place: the views show them again.
  void CellsChanged();

  int rowCount(const QModelIndex& parent) const override;
  int columnCount(const QModelIndex& parent) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QStringList titles_;
  Cell cell_;
  int rows_ = 0;
};

// Keeps the rows the filter accepted, computed once per change of the filter rather than per
// row query, and sorts by the list's rule.
class AcceptedRowsProxy : public QSortFilterProxyModel {
 public:
  using Less = std::function<bool(const QModelIndex& left, const QModelIndex& right)>;

  AcceptedRowsProxy(Less less, QObject* parent);
  void SetAccepted(int rows, const std::vector<int>& matching);

 protected:
  bool filterAcceptsRow(int row, const QModelIndex&) const override;
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

 private:
  Less less_;
  std::vector<char> accepted_;
};

// Sets up a list's table over the proxy: whole rows chosen one at a time, not edited, no row
// numbers, columns measured from the first rows only (measuring thousands costs a visible
// pause), and unsorted until the user clicks a column title, so the rows' own order comes
// first. The table is heard as accessibleName.
void SetUpListTable(QTableView* view, const QString& accessibleName, AcceptedRowsProxy* proxy);

// The row of the model behind the proxy that Enter goes to: the current one or, with none
// current, the first the filter left (made current); -1 for none.
int RowToGoTo(QTableView* view, const AcceptedRowsProxy* proxy);

// Makes row `row` of the model behind the proxy current and scrolls to it, where the filter
// shows it; nothing is gone to.
void MarkListRow(QTableView* view, const AcceptedRowsProxy* proxy, int row);

// Return or Enter pressed in the table.
bool IsEnterKey(const QEvent* event);

}  // namespace slab
