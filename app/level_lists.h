// The dockable lists of the whole level (items, triggers, rooms, lights, cameras and sinks,
// static meshes, sound sources): one dock type, given what a list is made of. Each is a filter
// box over a sortable table of rows the core builds; a double-click or Enter on a row (or
// Enter in the filter) asks the window to go to the row's place. A closed list costs nothing:
// it is filled when it opens, and what changed while it was closed is read then.
#pragma once

#include <QDockWidget>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "floordata/object_names.h"
#include "level/document.h"
#include "map/level_tables.h"
#include "map/map_state.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTableView;

namespace slab {

class ListTableModel;
class AcceptedRowsProxy;

// What one list is made of.
struct ListDockSpec {
  QString Title{};       // "Items": the table is heard as "Items list", the filter "Items filter"
  QString BaseName{};    // the table's object name ("ItemsList"); the dock's is BaseName + "Dock"
  QString FilterName{};  // the filter box's object name ("ItemFilter")
  std::vector<std::string> Columns{};
  int RowOrderColumn = -1;  // a column that sorts as the rows stand ("Item 3" before "AI 0")
  QString TypeName{};       // the type box's object name; empty: the list has none
  QString AnyType{};        // its first choice ("All objects")
  struct MarkBox {
    const char* Caption;  // "Water": each ticked box keeps only the rows with its mark
    const char* Name;
    uint8_t Mark;
  };
  std::vector<MarkBox> MarkBoxes{};
  bool ChangesColumn = false;  // "Changes" beside the first column while a comparison shows
  std::function<ListRows(const Document&, const ObjectNames&, const TriggerIndex&)> Build{};
};

class LevelListDock : public QDockWidget {
  Q_OBJECT
 public:
  // The document, names and trigger index are the window's. The dock reads them only while it
  // shows or a row is followed, and the window hides its docks before its state goes.
  LevelListDock(ListDockSpec spec, const Document& doc, const ObjectNames& names,
                const TriggerIndex& triggers, QWidget* parent);

  // The level changed: read now when the list shows, else when it opens. newLevel: another
  // level is open (the columns are measured again, nothing is kept).
  void LevelChanged(bool newLevel);
  // Makes the row of the item or AI object, or of static mesh `index` of room `room`, current
  // where the list has and shows one.
  void MarkEntity(int entity);
  void MarkStatic(int room, int index);
  // The rooms a comparison found changed, marked in the Changes column; nullopt: it goes.
  void MarkChangedRooms(std::optional<std::vector<int>> rooms);

 signals:
  // Room, 0-based sector (a, b) or -1 where the row stands on none, and the entity or -1.
  void GoTo(int room, int a, int b, int entity);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildControls(QWidget* body);
  void Rebuild(bool newLevel);
  void FillTypeChoices(int keepType);
  void ApplyFilter();
  void MarkRow(const std::function<bool(const ListTarget&)>& wanted);
  void GoToRow(int row);
  QString Cell(int row, int column) const;

  ListDockSpec spec_;
  const Document& doc_;
  const ObjectNames& names_;
  const TriggerIndex& triggers_;
  ListRows rows_;
  QTableView* view_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QComboBox* type_ = nullptr;
  std::vector<QCheckBox*> marks_;
  ListTableModel* model_ = nullptr;
  AcceptedRowsProxy* proxy_ = nullptr;
  std::vector<char> changed_;  // per room, while a comparison shows
  bool stale_ = true;
  bool staleLevel_ = true;  // what is stale is another level
  bool measured_ = false;
};

// The lists of the window, each one spec: a new list is one row builder and one line here.
ListDockSpec ItemsListSpec();
ListDockSpec TriggersListSpec();
ListDockSpec RoomsListSpec();
ListDockSpec LightsListSpec();
ListDockSpec CamerasListSpec();
ListDockSpec StaticsListSpec();
ListDockSpec SoundsListSpec();

}  // namespace slab
