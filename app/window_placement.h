// Where the main window stands on the screen.
#pragma once

class QMainWindow;

namespace slab {

// Shows the window at the size and place it had when it was last closed, or at its natural
// size in the middle of the screen; either way inside the screen's available area.
void ShowPlaced(QMainWindow& window);
// Takes the window back inside the screen's available area where it reaches past it.
void KeepOnScreen(QMainWindow& window);
// Remembers the window's size and place for ShowPlaced.
void SavePlacement(const QMainWindow& window);

}  // namespace slab
