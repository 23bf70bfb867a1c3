// The dockable "Items" and "Triggers" lists of the whole level: filled once per level, filtered
// as the user types, and a double-click or Enter asks the window to go to the row's place.
#pragma once

#include <QDockWidget>
#include <functional>
#include <string>
#include <vector>

#include "floordata/object_names.h"
#include "level/document.h"
#include "map/level_lists.h"
#include "map/map_state.h"

class QComboBox;
class QLineEdit;
class QTableView;

namespace slab {

class ListTableModel;
class AcceptedRowsProxy;

// What the two docks share: the table, the filter box and the type box.
class LevelListDock : public QDockWidget {
  Q_OBJECT
 public:
  // Keeps the level to read from; Refresh() reads it again. The three must outlive the dock
  // or the next SetLevel.
  void SetLevel(const Document& doc, const ObjectNames& names, const TriggerIndex& triggers);
  // Rebuilds the rows after an edit, keeping the filter, the type and the current row.
  void Refresh();
  // Makes the row of the item or AI object current, where the list shows it.
  void MarkEntity(int entity);

 signals:
  // The row's place: room, 0-based sector (a, b) and, for items, the entity (-1 for triggers).
  void GoTo(int room, int a, int b, int entity);

 protected:
  // rowOrderColumn: the column that sorts as the rows stand, or -1.
  LevelListDock(const QString& title, const QString& baseName, const QString& filterName,
                const QString& typeName, const QString& anyType,
                const std::vector<std::string>& columns, int rowOrderColumn, QWidget* parent);
  bool eventFilter(QObject* watched, QEvent* event) override;

  virtual void Rebuild(const Document& doc, const ObjectNames& names,
                       const TriggerIndex& triggers) = 0;
  virtual std::vector<TypeChoice> TypeChoices() const = 0;
  virtual std::vector<int> Matching(const ListFilter& filter) const = 0;
  // The row of an entity, or -1 (a list without entities has none).
  virtual int RowOfEntity(int) const { return -1; }
  // The place of row `row` of the rows built last.
  virtual void EmitGoTo(int row) = 0;

  // Puts new rows behind the table: fill replaces them and returns their number (the views let
  // go of the old rows first), cell gives a cell's text.
  void ResetRows(const std::function<int()>& fill,
                 std::function<const std::string&(int row, int column)> cell);

 private:
  void FillTypeChoices(int keepType);
  void ApplyFilter();
  void GoToCurrent();

  QTableView* view_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QComboBox* type_ = nullptr;
  ListTableModel* model_ = nullptr;
  AcceptedRowsProxy* proxy_ = nullptr;
  QString anyType_;
  const Document* doc_ = nullptr;
  const ObjectNames* names_ = nullptr;
  const TriggerIndex* triggers_ = nullptr;
};

// The rows of one kind of list, shown in the table and filtered there.
template <typename Row>
class RowListDock : public LevelListDock {
 public:
 protected:
  using LevelListDock::LevelListDock;
  std::vector<int> Matching(const ListFilter& filter) const override {
    return MatchingRows(rows_, filter);
  }
  void ShowRows(std::vector<Row> rows) {
    ResetRows(
        [&] {
          rows_ = std::move(rows);
          return static_cast<int>(rows_.size());
        },
        [this](int row, int column) -> const std::string& {
          return rows_[static_cast<size_t>(row)].Cells[static_cast<size_t>(column)];
        });
  }

  std::vector<Row> rows_;
};

// Title "Items"; table ItemsList, filter ItemFilter, type box ItemTypeFilter (object ids).
class ItemsListDock : public RowListDock<ItemRow> {
  Q_OBJECT
 public:
  explicit ItemsListDock(QWidget* parent = nullptr);

 protected:
  void Rebuild(const Document& doc, const ObjectNames& names,
               const TriggerIndex& triggers) override;
  std::vector<TypeChoice> TypeChoices() const override;
  void EmitGoTo(int row) override;
  int RowOfEntity(int entity) const override;
};

// Title "Triggers"; table TriggersList, filter TriggerFilter, type box TriggerTypeFilter.
class TriggersListDock : public RowListDock<TriggerRow> {
  Q_OBJECT
 public:
  explicit TriggersListDock(QWidget* parent = nullptr);

 protected:
  void Rebuild(const Document& doc, const ObjectNames& names,
               const TriggerIndex& triggers) override;
  std::vector<TypeChoice> TypeChoices() const override;
  void EmitGoTo(int row) override;
};

}  // namespace slab
