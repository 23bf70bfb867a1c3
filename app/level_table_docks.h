// The dockable lists of the level's rooms, lights, cameras and sinks, static meshes and sound
// sources, and the map's legend. Each list is a filter box over a sortable table of rows the
// core builds; a double-click or Enter on a row (or Enter in the filter) asks to go to its place.
#pragma once

#include <QDockWidget>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "floordata/object_names.h"
#include "level/document.h"
#include "map/level_tables.h"

class QCheckBox;
class QLineEdit;
class QTableView;
class QTableWidget;

namespace slab {

class ListTableModel;
class AcceptedRowsProxy;

class TableListDock : public QDockWidget {
  Q_OBJECT
 public:
  // Reads the rows from the level again, keeping the filter and the current row. The
  // document and names must outlive the dock.
  void Refresh(const Document& doc, const ObjectNames& names);
  // Makes the row of static mesh `index` of room `room` current, where the list has and
  // shows one.
  void MarkStatic(int room, int index);

 signals:
  // Room, 0-based sector (a, b) or -1 where the row stands on none, and the entity or -1.
  void GoTo(int room, int a, int b, int entity);

 protected:
  // title: "Rooms"; the table is heard as "Rooms list", the filter as "Rooms filter".
  TableListDock(const QString& title, const QString& baseName,
                const std::vector<std::string>& columns, QWidget* parent);
  bool eventFilter(QObject* watched, QEvent* event) override;
  QTableView* View() const { return view_; }

  // Builds the rows and returns their number; Cells gives a cell of the rows built last.
  virtual int Build(const Document& doc, const ObjectNames& names) = 0;
  virtual const ListRow& RowAt(int row) const = 0;
  virtual std::vector<int> Matching(const std::string& text) const = 0;
  // Extra controls go above the table, beside the filter.
  void AddFilterControl(QWidget* control);
  void ApplyFilter();
  // The text of a column past the row's own cells (a dock's columns of its own).
  virtual QString ExtraCell(int, int) const { return {}; }
  // Those cells changed: the table shows them again (sorted again where it is sorted by them).
  void ExtraCellsChanged();

 private:
  void GoToRow(int row);
  void GoToCurrent();

  QTableView* view_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QWidget* controls_ = nullptr;
  ListTableModel* model_ = nullptr;
  AcceptedRowsProxy* proxy_ = nullptr;
  bool measured_ = false;
};

// The rows of one kind, kept by the dock that shows them.
template <typename Row>
class RowsDock : public TableListDock {
 public:
 protected:
  using TableListDock::TableListDock;
  const ListRow& RowAt(int row) const override { return rows_[static_cast<size_t>(row)]; }
  std::vector<int> Matching(const std::string& text) const override {
    if constexpr (std::is_same_v<Row, RoomRow>)
      return MatchingRows(rows_, RoomFilter{text});
    else
      return MatchingRows(rows_, text);
  }
  int Keep(std::vector<Row> rows) {
    rows_ = std::move(rows);
    return static_cast<int>(rows_.size());
  }
  std::vector<Row> rows_;
};

// Title "Rooms": table RoomsList, filter RoomsFilter, and the boxes "Has triggers" (RoomsTriggers),
// "Water" (RoomsWater) and "Has alternate" (RoomsAlternate), each keeping only such rooms. While
// a comparison is shown, a "Changes" column beside the room's number says "changed" for each
// room with a change.
class RoomsListDock : public RowsDock<RoomRow> {
  Q_OBJECT
 public:
  explicit RoomsListDock(QWidget* parent = nullptr);

  // The rooms a comparison found changed; without a comparison (nullopt) the column goes.
  void MarkChangedRooms(std::optional<std::vector<int>> rooms);

 protected:
  int Build(const Document& doc, const ObjectNames& names) override;
  std::vector<int> Matching(const std::string& text) const override;
  QString ExtraCell(int row, int column) const override;

 private:
  QCheckBox* triggers_ = nullptr;
  QCheckBox* water_ = nullptr;
  QCheckBox* alternate_ = nullptr;
  std::vector<char> changed_;  // per room
};

// A list with no controls of its own, its rows built by one function of the level: Lights,
// Cameras and sinks, Static meshes, Sound sources.
template <typename Row>
class BuiltRowsDock : public RowsDock<Row> {
 public:
  using Builder = std::function<std::vector<Row>(const Document&, const ObjectNames&)>;
  BuiltRowsDock(const QString& title, const QString& baseName,
                const std::vector<std::string>& columns, Builder build, QWidget* parent)
      : RowsDock<Row>(title, baseName, columns, parent), build_(std::move(build)) {}

 protected:
  int Build(const Document& doc, const ObjectNames& names) override {
    return this->Keep(build_(doc, names));
  }

 private:
  Builder build_;
};

// Titles "Lights", "Cameras and sinks", "Static meshes", "Sound sources"; tables LightsList,
// CamerasList, StaticsList, SoundsList, each with its filter (LightsFilter, ...).
TableListDock* NewLightsListDock(QWidget* parent);
TableListDock* NewCamerasListDock(QWidget* parent);
TableListDock* NewStaticsListDock(QWidget* parent);
TableListDock* NewSoundsListDock(QWidget* parent);

// Title "Map Legend": every colour of the room map with its meaning, from the table the map is
// drawn with (table MapLegendTable: swatch, kind, meaning).
class MapLegendDock : public QDockWidget {
  Q_OBJECT
 public:
  explicit MapLegendDock(QWidget* parent = nullptr);
  // The function squares are named per game.
  void ShowGame(Game gameVersion);
  QTableWidget* Table() const { return table_; }

 private:
  QTableWidget* table_ = nullptr;
};

}  // namespace slab
