// The map's legend as a dock beside the map: every colour of the room map with its meaning.
#pragma once

#include <QDockWidget>

#include "level/level.h"

class QTableWidget;

namespace slab {

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
