// The edits asked for in the sector, item and static mesh panels, each turned into one core
// command; what the command changed is shown by the window's after-command step.
#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "app/panel_presenter.h"
#include "floordata/object_names.h"
#include "level/document.h"
#include "map/edit_commands.h"
#include "map/edit_history.h"
#include "map/map_state.h"
#include "platform/messages.h"

namespace slab {

class PanelCommands : public QObject {
  Q_OBJECT

 public:
  // keepOcbText: the OCB box keeps what the user typed (see PanelPresenter::Refresh).
  using AfterCommand = std::function<void(const CommandOutcome& outcome, bool keepOcbText)>;
  struct Core {
    Document& Doc;
    MapState& Map;
    EditHistory& History;
    const ObjectNames& Names;
    MessageSink& Messages;
  };
  // Connects the panels' intents to the commands.
  PanelCommands(Core core, Panels panels, PanelPresenter& presenter, AfterCommand after);

  // Also from the Edit menu and Delete on the room map.
  void Duplicate();
  // Asks first when trigger actions name the item.
  void Remove();
  // Delete on the map or in the 3D view: what a click there chose, a static mesh or an item.
  void RemoveChosen();

 private:
  void Wall(bool checked);
  void Flag(ItemFlagBox flag);
  void OcbCommitted();
  void AllItems();
  void Type(int row);
  void Done(const CommandOutcome& outcome, bool keepOcbText = false) {
    after_(outcome, keepOcbText);
  }

  Core core_;
  Panels panels_;
  PanelPresenter& presenter_;
  AfterCommand after_;
};

}  // namespace slab
