// Where the main window stands on the screen, and how the room map and the right-hand view
// share the space it gives them.
#pragma once

#include <QSize>

class QMainWindow;
class QSplitter;

namespace slab {

// Shows the window at the size and place it had when it was last closed, or at its natural
// size in the middle of the screen; either way inside the screen's available area.
void ShowPlaced(QMainWindow& window);
// Takes the window back inside the screen's available area where it reaches past it.
void KeepOnScreen(QMainWindow& window);
// Remembers the window's size and place for ShowPlaced.
void SavePlacement(const QMainWindow& window);

// Lays the map and the 3D view side by side unless `size` (their area) is clearly taller than
// wide, so neither becomes a narrow strip; each takes half when the direction changes.
void ArrangeViews(QSplitter& views, QSize size);

}  // namespace slab
