#include "app/list_docks.h"

#include <QAction>
#include <QMainWindow>

#include "app/level_lists.h"

namespace slab {

ListDocks::ListDocks(QMainWindow& window, const Document& doc, const ObjectNames& names,
                     const MapState& map)
    : QObject(&window),
      items_(new LevelListDock(ItemsListSpec(), doc, names, map.Triggers, &window)),
      triggers_(new LevelListDock(TriggersListSpec(), doc, names, map.Triggers, &window)) {
  window.addDockWidget(Qt::RightDockWidgetArea, items_);
  window.tabifyDockWidget(items_, triggers_);
  for (LevelListDock* dock : {items_, triggers_}) {
    connect(dock, &LevelListDock::GoTo, this, &ListDocks::GoTo);
    // A list opened from the menu comes to the front, also when it shares its place as a tab.
    connect(dock->toggleViewAction(), &QAction::triggered, dock, [dock](bool shown) {
      if (shown) dock->raise();
    });
  }
}

void ListDocks::LevelOpened() {
  items_->LevelChanged(true);
  triggers_->LevelChanged(true);
}

void ListDocks::LevelEdited(EditKind kind) {
  if (kind == EditKind::Demo) return;
  items_->LevelChanged(false);
  // A removed item takes its actions along and renumbers the later ones.
  if (kind == EditKind::Minecart || kind == EditKind::Wall || kind == EditKind::ItemRemove)
    triggers_->LevelChanged(false);
}

}  // namespace slab
