// The dockable "Items" and "Triggers" lists of the whole level: filled once per level, filtered
// as the user types, and a double-click or Enter asks the window to go to the row's place.
#pragma once

#include <QDockWidget>
#include <vector>

#include "floordata/object_names.h"
#include "level/document.h"
#include "map/level_lists.h"
#include "map/map_state.h"

class QComboBox;
class QLineEdit;
class QTableView;

namespace slab {

class LevelTableModel;
class MatchProxy;

// What the two docks share: the table, the filter box and the type box.
class LevelListDock : public QDockWidget {
  Q_OBJECT
 public:
  QTableView* View() const { return view_; }
  QLineEdit* Filter() const { return filter_; }
  QComboBox* TypeFilter() const { return type_; }
  // Rows shown with the filter applied.
  int VisibleRows() const;

  // Keeps the level to read from; Refresh() reads it again. The three must outlive the dock
  // or the next SetLevel.
  void SetLevel(const Document& doc, const ObjectNames& names, const TriggerIndex& triggers);
  // Rebuilds the rows after an edit, keeping the filter, the type and the current row.
  void Refresh();

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
  // The place of row `row` of the rows built last.
  virtual void EmitGoTo(int row) = 0;

  LevelTableModel* Model() const { return model_; }

 private:
  void FillTypeChoices(int keepType);
  void ApplyFilter();
  void GoToCurrent();

  QTableView* view_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QComboBox* type_ = nullptr;
  LevelTableModel* model_ = nullptr;
  MatchProxy* proxy_ = nullptr;
  QString anyType_;
  const Document* doc_ = nullptr;
  const ObjectNames* names_ = nullptr;
  const TriggerIndex* triggers_ = nullptr;
};

// Title "Items"; table ItemsList, filter ItemFilter, type box ItemTypeFilter (object ids).
class ItemsListDock : public LevelListDock {
  Q_OBJECT
 public:
  explicit ItemsListDock(QWidget* parent = nullptr);
  const std::vector<ItemRow>& Rows() const { return rows_; }

 protected:
  void Rebuild(const Document& doc, const ObjectNames& names,
               const TriggerIndex& triggers) override;
  std::vector<TypeChoice> TypeChoices() const override;
  std::vector<int> Matching(const ListFilter& filter) const override;
  void EmitGoTo(int row) override;

 private:
  std::vector<ItemRow> rows_;
};

// Title "Triggers"; table TriggersList, filter TriggerFilter, type box TriggerTypeFilter.
class TriggersListDock : public LevelListDock {
  Q_OBJECT
 public:
  explicit TriggersListDock(QWidget* parent = nullptr);
  const std::vector<TriggerRow>& Rows() const { return rows_; }

 protected:
  void Rebuild(const Document& doc, const ObjectNames& names,
               const TriggerIndex& triggers) override;
  std::vector<TypeChoice> TypeChoices() const override;
  std::vector<int> Matching(const ListFilter& filter) const override;
  void EmitGoTo(int row) override;

 private:
  std::vector<TriggerRow> rows_;
};

}  // namespace slab
