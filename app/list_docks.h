// The Items and Triggers lists of the whole level, docked as tabs at the main window's right.
#pragma once

#include <QObject>

#include "floordata/object_names.h"
#include "level/document.h"
#include "map/edit_history.h"
#include "map/map_state.h"

class QMainWindow;

namespace slab {

class LevelListDock;

class ListDocks : public QObject {
  Q_OBJECT

 public:
  // Adds both lists, closed, to `window`. The document, names and map state are the window's;
  // the lists read them only while they show (see LevelListDock).
  ListDocks(QMainWindow& window, const Document& doc, const ObjectNames& names,
            const MapState& map);

  LevelListDock* Items() const { return items_; }
  LevelListDock* Triggers() const { return triggers_; }

  // Another level (or none) is open.
  void LevelOpened();
  // After an edit or its undo: the lists that show what that kind of edit changes.
  void LevelEdited(EditKind kind);

 signals:
  // A row was followed: where it leads.
  void GoTo(int room, int a, int b, int entity);

 private:
  LevelListDock* items_;
  LevelListDock* triggers_;
};

}  // namespace slab
