#include "app/level_lists.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <functional>

#include "app/level_files.h"

namespace slab {

// The rows' cell texts as a table; the rows themselves stay in the dock.
class LevelTableModel : public QAbstractTableModel {
 public:
  using CellText = std::function<const std::string&(int row, int column)>;

  LevelTableModel(const std::vector<std::string>& titles, QObject* parent)
      : QAbstractTableModel(parent) {
    for (const std::string& title : titles) titles_ << QString::fromStdString(title);
  }

  // fill replaces the rows behind the cells and returns their number; the views let go of
  // the old rows before it runs.
  void Reset(const std::function<int()>& fill, CellText cell) {
    beginResetModel();
    rows_ = fill();
    cell_ = std::move(cell);
    endResetModel();
  }

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(titles_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_) return {};
    return QString::fromStdString(cell_(index.row(), index.column()));
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= titles_.size())
      return {};
    return titles_[section];
  }

 private:
  QStringList titles_;
  int rows_ = 0;
  CellText cell_;
};

// Shows the rows the core filter accepted (computed once per change of the filter, not per
// row query), sorted as a person reads numbers.
class MatchProxy : public QSortFilterProxyModel {
 public:
  // rowOrderColumn: a column whose texts sort as the rows stand ("Item 3" before "AI 0").
  MatchProxy(int rowOrderColumn, QObject* parent)
      : QSortFilterProxyModel(parent), rowOrderColumn_(rowOrderColumn) {}

  void SetAccepted(int rows, const std::vector<int>& matching) {
    accepted_.assign(static_cast<size_t>(rows), 0);
    for (int row : matching) accepted_[static_cast<size_t>(row)] = 1;
    invalidateFilter();
  }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex&) const override {
    return row >= 0 && static_cast<size_t>(row) < accepted_.size() && accepted_[row];
  }
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
    if (left.column() == rowOrderColumn_) return left.row() < right.row();
    const QString l = left.data().toString(), r = right.data().toString();
    bool lNumber = false, rNumber = false;
    const qlonglong lValue = l.toLongLong(&lNumber), rValue = r.toLongLong(&rNumber);
    if (lNumber && rNumber) return lValue < rValue;
    return LevelNameLess(l.toStdString(), r.toStdString());
  }

 private:
  int rowOrderColumn_;
  std::vector<char> accepted_;
};

namespace {

template <typename T>
T* Named(T* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

}  // namespace

LevelListDock::LevelListDock(const QString& title, const QString& baseName,
                             const QString& filterName, const QString& typeName,
                             const QString& anyType, const std::vector<std::string>& columns,
                             int rowOrderColumn, QWidget* parent)
    : QDockWidget(title, parent), anyType_(anyType) {
  Named(this, baseName + "Dock");
  auto* body = Named(new QWidget(this), baseName + "Body");
  filter_ = Named(new QLineEdit(body), filterName);
  filter_->setPlaceholderText("Filter");
  filter_->setClearButtonEnabled(true);
  type_ = Named(new QComboBox(body), typeName);
  type_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  type_->setMinimumContentsLength(12);
  view_ = Named(new QTableView(body), baseName);
  // What a screen reader says: "Items list", "Filter items", "Type of items".
  view_->setAccessibleName(title + " list");
  filter_->setAccessibleName("Filter " + title.toLower());
  type_->setAccessibleName("Type of " + title.toLower());
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->verticalHeader()->hide();
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
  // Column widths from the first rows only: measuring thousands of rows costs a visible pause.
  view_->horizontalHeader()->setResizeContentsPrecision(200);
  view_->horizontalHeader()->setStretchLastSection(true);
  // The list asks for the width of its columns, so it opens with its titles in view where the
  // window has the room.
  view_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  view_->installEventFilter(this);
  model_ = new LevelTableModel(columns, this);
  proxy_ = new MatchProxy(rowOrderColumn, this);
  proxy_->setSourceModel(model_);
  view_->setModel(proxy_);
  // Unsorted until the user clicks a column title: the rows' own order comes first.
  view_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  view_->setSortingEnabled(true);

  auto* filters = new QHBoxLayout;
  filters->addWidget(filter_, 1);
  filters->addWidget(type_);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addLayout(filters);
  layout->addWidget(view_, 1);
  setWidget(body);

  connect(filter_, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
  connect(type_, &QComboBox::currentIndexChanged, this, [this] { ApplyFilter(); });
  connect(filter_, &QLineEdit::returnPressed, this, [this] { GoToCurrent(); });
  connect(view_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) EmitGoTo(proxy_->mapToSource(index).row());
  });
}

int LevelListDock::VisibleRows() const { return proxy_ ? proxy_->rowCount() : 0; }

void LevelListDock::SetLevel(const Document& doc, const ObjectNames& names,
                             const TriggerIndex& triggers) {
  doc_ = &doc;
  names_ = &names;
  triggers_ = &triggers;
  Refresh();
  // Measured once the filter has let the rows through (before, the table shows none and the
  // columns would only fit their titles); an edit later keeps the widths the user gave them.
  view_->resizeColumnsToContents();
}

void LevelListDock::Refresh() {
  const QModelIndex current = view_->currentIndex();
  const int currentRow = current.isValid() ? proxy_->mapToSource(current).row() : -1;
  const int keepType = type_->currentIndex() > 0 ? type_->currentData().toInt() : kAnyType;
  static const Document kNoDocument;
  static const ObjectNames kNoNames;
  static const TriggerIndex kNoTriggers;
  const Document& doc = doc_ && doc_->LevelLoaded ? *doc_ : kNoDocument;
  Rebuild(doc, names_ ? *names_ : kNoNames, triggers_ ? *triggers_ : kNoTriggers);
  FillTypeChoices(keepType);
  ApplyFilter();
  if (currentRow >= 0 && currentRow < model_->rowCount({})) {
    const QModelIndex again = proxy_->mapFromSource(model_->index(currentRow, 0));
    if (again.isValid()) view_->setCurrentIndex(again);
  }
}

void LevelListDock::FillTypeChoices(int keepType) {
  const QSignalBlocker blocker(type_);
  type_->clear();
  type_->addItem(anyType_, kAnyType);
  for (const TypeChoice& choice : TypeChoices())
    type_->addItem(QString::fromStdString(choice.Text), choice.Type);
  const int at = keepType == kAnyType ? 0 : type_->findData(keepType);
  type_->setCurrentIndex(at < 0 ? 0 : at);
}

void LevelListDock::ApplyFilter() {
  const ListFilter filter{filter_->text().toStdString(), type_->currentData().toInt()};
  proxy_->SetAccepted(model_->rowCount({}), Matching(filter));
}

void LevelListDock::GoToCurrent() {
  QModelIndex index = view_->currentIndex();
  if (!index.isValid()) {
    // Enter in the filter box goes to the first row it left.
    index = proxy_->index(0, 0);
    if (!index.isValid()) return;
    view_->setCurrentIndex(index);
  }
  EmitGoTo(proxy_->mapToSource(index).row());
}

bool LevelListDock::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (view_->currentIndex().isValid()) GoToCurrent();
      return true;
    }
  }
  return QDockWidget::eventFilter(watched, event);
}

void LevelListDock::ResetRows(const std::function<int()>& fill,
                              std::function<const std::string&(int row, int column)> cell) {
  model_->Reset(fill, std::move(cell));
}

ItemsListDock::ItemsListDock(QWidget* parent)
    : RowListDock("Items", "ItemsList", "ItemFilter", "ItemTypeFilter", "All objects",
                  ItemColumnTitles(), static_cast<int>(ItemColumn::Index), parent) {}

void ItemsListDock::Rebuild(const Document& doc, const ObjectNames& names,
                            const TriggerIndex& triggers) {
  ShowRows(BuildItemRows(doc.CurrentLevel, doc.GameVersion, names, triggers));
}

std::vector<TypeChoice> ItemsListDock::TypeChoices() const { return ItemTypeChoices(rows_); }

void ItemsListDock::EmitGoTo(int row) {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return;
  const ItemRow& item = rows_[static_cast<size_t>(row)];
  if (!item.HasRoom) return;  // a room the level lacks is nowhere to go
  emit GoTo(item.Room, item.SectorX, item.SectorZ, item.Entity);
}

TriggersListDock::TriggersListDock(QWidget* parent)
    : RowListDock("Triggers", "TriggersList", "TriggerFilter", "TriggerTypeFilter", "All types",
                  TriggerColumnTitles(), -1, parent) {}

void TriggersListDock::Rebuild(const Document& doc, const ObjectNames& names, const TriggerIndex&) {
  ShowRows(BuildTriggerRows(doc.CurrentLevel, doc.GameVersion, names));
}

std::vector<TypeChoice> TriggersListDock::TypeChoices() const { return TriggerTypeChoices(rows_); }

void TriggersListDock::EmitGoTo(int row) {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return;
  const TriggerRow& trigger = rows_[static_cast<size_t>(row)];
  emit GoTo(trigger.Room, trigger.X, trigger.Z, -1);
}

}  // namespace slab
