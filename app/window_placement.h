// Where the main window stands on the screen, and how its docks share it.
#pragma once

class QMainWindow;

namespace slab {

// Shows the window at the size and place it had when it was last closed, or at its natural
// size in the middle of the screen; either way inside the screen's available area.
void ShowPlaced(QMainWindow& window);
// Takes the window back inside the screen's available area where it reaches past it.
void KeepOnScreen(QMainWindow& window);
// Remembers the window's size and place for ShowPlaced, never larger than the screen.
void SavePlacement(const QMainWindow& window);

// Keeps the window's docks from ever making it larger than the screen: each dock's content
// scrolls when the dock is narrower than it, and a window that a dock made reach past the
// screen's edge is brought back inside. Call once every dock has been added.
void KeepDocksOnScreen(QMainWindow& window);

}  // namespace slab
