#include "app/list_docks.h"

#include <QAction>
#include <QMainWindow>

#include "app/level_lists.h"

namespace slab {

ListDocks::ListDocks(QMainWindow& window, const Document& doc, const ObjectNames& names,
                     const MapState& map)
    : QObject(&window),
      doc_(doc),
      names_(names),
      map_(map),
      items_(new ItemsListDock(&window)),
      triggers_(new TriggersListDock(&window)) {
  window.addDockWidget(Qt::RightDockWidgetArea, items_);
  window.tabifyDockWidget(items_, triggers_);
  for (LevelListDock* dock :
       {static_cast<LevelListDock*>(items_), static_cast<LevelListDock*>(triggers_)}) {
    connect(dock, &LevelListDock::GoTo, this, &ListDocks::GoTo);
    connect(dock, &QDockWidget::visibilityChanged, this, [this, dock](bool visible) {
      if (visible) Opened(dock);
    });
    // A list opened from the menu comes to the front, also when it shares its place as a tab.
    connect(dock->toggleViewAction(), &QAction::triggered, dock, [dock](bool shown) {
      if (shown) dock->raise();
    });
  }
}

void ListDocks::Opened(LevelListDock* dock) {
  // The window keeps itself on the screen as the list opens (KeepDocksOnScreen).
  if (stale_.contains(dock)) Refresh(dock, true);
}

void ListDocks::LevelOpened() {
  Refresh(items_, true);
  Refresh(triggers_, true);
}

void ListDocks::LevelEdited(EditKind kind) {
  if (kind == EditKind::Demo) return;
  Refresh(items_, false);
  // A removed item takes its actions along and renumbers the later ones.
  if (kind == EditKind::Minecart || kind == EditKind::Wall || kind == EditKind::ItemRemove)
    Refresh(triggers_, false);
}

void ListDocks::Refresh(LevelListDock* dock, bool newLevel) {
  if (!dock->isVisible()) {
    stale_.insert(dock);
    return;
  }
  if (newLevel || stale_.contains(dock))
    dock->SetLevel(doc_, names_, map_.Triggers);
  else
    dock->Refresh();
  stale_.erase(dock);
}

}  // namespace slab
