// The main window's own keys, wherever the focus is in it, and the list of every key of the
// window that Help > Keys shows.
#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <vector>

#include "app/help_windows.h"
#include "map/item_edits.h"

class QMenuBar;
class QWidget;

namespace slab {

// The key that, with Ctrl, moves the chosen entity.
std::optional<MoveKey> MoveKeyFor(int qtKey);
// A key that moves the 3D camera while the 3D view shows.
bool IsCameraKey(int qtKey);

// Every key of the window: the menu entries' shortcuts in menu order, named by their menu,
// then the keys of the window's key handler and what the mouse does.
std::vector<KeyLine> WindowKeyLines(const QMenuBar& menus);

// Ctrl with arrows or Page Up / Down moves the chosen entity (unless a text field is being
// edited); the same keys alone move the 3D camera (unless a list or text field has the focus).
// Keys meant for other windows, dialogs and menus are left to them.
class WindowKeys : public QObject {
 public:
  struct Actions {
    std::function<bool(MoveKey)> Move;      // true: the key was taken
    std::function<bool(int qtKey)> Camera;  // true: the camera moved
  };
  // Watches every key of the application for `window`.
  WindowKeys(QWidget& window, Actions actions);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
  Actions actions_;
};

}  // namespace slab
