#include "app/list_table.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>

namespace slab {

ListTableModel::ListTableModel(const std::vector<std::string>& titles, QObject* parent, Cell cell)
    : QAbstractTableModel(parent), cell_(std::move(cell)) {
  for (const std::string& title : titles) titles_ << QString::fromStdString(title);
}

void ListTableModel::Reset(const std::function<int()>& fill, Cell cell) {
  beginResetModel();
  rows_ = fill();
  if (cell) cell_ = std::move(cell);
  endResetModel();
}

void ListTableModel::CellsChanged() {
  if (rows_ > 0 && !titles_.isEmpty())
    emit dataChanged(index(0, 0), index(rows_ - 1, static_cast<int>(titles_.size()) - 1));
}

int ListTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int ListTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(titles_.size());
}

QVariant ListTableModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_ || !cell_) return {};
  return cell_(index.row(), index.column());
}

QVariant ListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
      section >= titles_.size())
    return {};
  return titles_[section];
}

AcceptedRowsProxy::AcceptedRowsProxy(Less less, QObject* parent)
    : QSortFilterProxyModel(parent), less_(std::move(less)) {}

void AcceptedRowsProxy::SetAccepted(int rows, const std::vector<int>& matching) {
  accepted_.assign(static_cast<size_t>(rows), 0);
  for (int row : matching)
    if (row >= 0 && row < rows) accepted_[static_cast<size_t>(row)] = 1;
  invalidateFilter();
}

bool AcceptedRowsProxy::filterAcceptsRow(int row, const QModelIndex&) const {
  return row >= 0 && static_cast<size_t>(row) < accepted_.size() && accepted_[row];
}

bool AcceptedRowsProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
  return less_(left, right);
}

void SetUpListTable(QTableView* view, const QString& accessibleName, AcceptedRowsProxy* proxy) {
  view->setAccessibleName(accessibleName);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->verticalHeader()->hide();
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
  view->horizontalHeader()->setResizeContentsPrecision(200);
  view->horizontalHeader()->setStretchLastSection(true);
  view->setModel(proxy);
  view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  view->setSortingEnabled(true);
}

int RowToGoTo(QTableView* view, const AcceptedRowsProxy* proxy) {
  QModelIndex index = view->currentIndex();
  if (!index.isValid()) {
    index = proxy->index(0, 0);
    if (!index.isValid()) return -1;
    view->setCurrentIndex(index);
  }
  return proxy->mapToSource(index).row();
}

void MarkListRow(QTableView* view, const AcceptedRowsProxy* proxy, int row) {
  if (row < 0 || row >= proxy->sourceModel()->rowCount()) return;
  const QModelIndex index = proxy->mapFromSource(proxy->sourceModel()->index(row, 0));
  if (!index.isValid()) return;
  view->setCurrentIndex(index);
  view->scrollTo(index);
}

bool IsEnterKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace slab
