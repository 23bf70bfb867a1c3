// What a screen reader hears from controls whose toolkit interface would not say what they
// are: combo boxes (heard by their value on Linux), the main window's dock tab bars (heard by
// their current tab alone) and the status bar (whose messages are painted, not exposed).
#pragma once

class QMainWindow;
class QStatusBar;

namespace slab {

// Combo boxes are heard by their accessible name (or their label's text) with their value
// beside it; a main window's dock tab bar by the docks it holds ("Dock tabs: Items,
// Differences") unless it was given a name; the room map, the overview and the 3D view as
// canvases. Once per process, before the controls are made.
void InstallAccessibleNames();

// The title-bar buttons of every dock of the window are heard with their dock's title ("Close
// Map Legend"), a row of docks would otherwise offer a row of identical "Close" buttons; and a
// text box's clear button with the box's name ("Clear Rooms filter"), where it had none.
void NameWindowButtons(QMainWindow& window);

// Every message shown in the bar becomes its accessible name and is announced as an alert, so
// it is heard when it appears and can be read again later.
void AnnounceStatusMessages(QStatusBar& bar);

}  // namespace slab
