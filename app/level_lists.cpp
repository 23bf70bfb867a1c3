#include "app/level_lists.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>
#include <functional>

#include "app/list_table.h"
#include "map/level_tables.h"

namespace slab {

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
  filter_->setAccessibleName("Filter " + title.toLower());
  type_->setAccessibleName("Type of " + title.toLower());
  // The list asks for the width of its columns, so it opens with its titles in view where the
  // window has the room.
  view_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  view_->installEventFilter(this);
  model_ = new ListTableModel(columns, this);
  // Cells in the order every level list sorts them ("Room 9" before "Room 10", "-2" before
  // "1"); the row-order column ("Item 3" before "AI 0") as the rows stand.
  proxy_ = new AcceptedRowsProxy(
      [rowOrderColumn](const QModelIndex& left, const QModelIndex& right) {
        if (left.column() == rowOrderColumn) return left.row() < right.row();
        return CompareCells(left.data().toString().toStdString(),
                            right.data().toString().toStdString()) < 0;
      },
      this);
  proxy_->setSourceModel(model_);
  SetUpListTable(view_, title + " list", proxy_);

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

void LevelListDock::MarkEntity(int entity) { MarkListRow(view_, proxy_, RowOfEntity(entity)); }

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
  if (const int row = RowToGoTo(view_, proxy_); row >= 0) EmitGoTo(row);
}

bool LevelListDock::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_ && IsEnterKey(event)) {
    if (view_->currentIndex().isValid()) GoToCurrent();
    return true;
  }
  return QDockWidget::eventFilter(watched, event);
}

void LevelListDock::ResetRows(const std::function<int()>& fill,
                              std::function<const std::string&(int row, int column)> cell) {
  model_->Reset(fill, [cell = std::move(cell)](int row, int column) {
    return QString::fromStdString(cell(row, column));
  });
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

int ItemsListDock::RowOfEntity(int entity) const {
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].Entity == entity) return static_cast<int>(i);
  return -1;
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
