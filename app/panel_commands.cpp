#include "app/panel_commands.h"

#include <utility>

#include "app/items_panel.h"
#include "app/sector_panels.h"
#include "map/item_edits.h"
#include "map/item_panel.h"

namespace slab {

PanelCommands::PanelCommands(Core core, Panels panels, PanelPresenter& presenter,
                             AfterCommand after)
    : core_(core), panels_(panels), presenter_(presenter), after_(std::move(after)) {
  connect(panels_.SectorInfo, &SectorInfoPanel::WallClicked, this, &PanelCommands::Wall);
  connect(panels_.SectorInfo, &SectorInfoPanel::MinecartChosen, this, [this](MinecartMode mode) {
    Done(MinecartCommand(core_.Doc, core_.Map, core_.History, mode, core_.Messages));
  });
  connect(panels_.Items, &ItemsPanel::ItemChosen, this, [this](int row) {
    if (auto view = SelectEntity(core_.Doc, core_.Map, row)) presenter_.ShowItem(*view);
  });
  connect(panels_.Items, &ItemsPanel::FlagToggled, this, &PanelCommands::Flag);
  connect(panels_.Items, &ItemsPanel::OcbEdited, this, [this](const std::string& text) {
    Done(OcbCommand(core_.Doc, core_.Map, core_.History, text), true);
  });
  connect(panels_.Items, &ItemsPanel::OcbRefusedText, this, [this] {
    Done({nullptr, kOcbRangeStatus});
  });
  connect(panels_.Items, &ItemsPanel::OcbCommitted, this, &PanelCommands::OcbCommitted);
  connect(panels_.Items, &ItemsPanel::RotateClicked, this,
          [this] { Done(RotateCommand(core_.Doc, core_.Map, core_.History)); });
  connect(panels_.Items, &ItemsPanel::AddClicked, this,
          [this] { Done(AddItemCommand(core_.Doc, core_.Map, core_.History)); });
  connect(panels_.Items, &ItemsPanel::RemoveClicked, this, &PanelCommands::Remove);
  connect(panels_.Items, &ItemsPanel::AllItemsClicked, this, &PanelCommands::AllItems);
  connect(panels_.Items, &ItemsPanel::TypeChosen, this, &PanelCommands::Type);
  connect(panels_.Statics, &StaticMeshesPanel::AddClicked, this, [this](int choice) {
    Done(StaticAddCommand(core_.Doc, core_.Map, core_.History, core_.Names, choice));
  });
  connect(panels_.Statics, &StaticMeshesPanel::RemoveClicked, this, [this](int line) {
    Done(StaticRemoveCommand(core_.Doc, core_.Map, core_.History, core_.Names, line));
  });
}

void PanelCommands::Duplicate() { Done(DuplicateCommand(core_.Doc, core_.Map, core_.History)); }

void PanelCommands::Remove() {
  Done(AskedRemoveCommand(core_.Doc, core_.Map, core_.History, core_.Names, core_.Messages));
}

void PanelCommands::RemoveChosen() {
  Done(RemoveChosenCommand(core_.Doc, core_.Map, core_.History, core_.Names, core_.Messages));
}

void PanelCommands::Wall(bool checked) {
  const CommandOutcome outcome = WallCommand(core_.Doc, core_.Map, core_.History, checked);
  if (!outcome) {
    // The box shows the selected sector as it is, whatever the click left it as.
    if (core_.Map.SectorSelected) {
      presenter_.Refresh();
    } else {
      panels_.SectorInfo->ShowWall(false);
    }
  }
  Done(outcome);
}

void PanelCommands::Flag(ItemFlagBox flag) {
  const CommandOutcome outcome = FlagCommand(core_.Doc, core_.Map, core_.History, flag);
  Done(outcome);
  // Nothing changed: the boxes show the flags as they are, whatever the click ticked.
  if (!outcome) {
    const auto view = ItemPanelFor(core_.Doc, core_.Map);
    panels_.Items->ShowFlags(view ? view->Colours : ItemFlagColours{});
  }
}

void PanelCommands::OcbCommitted() {
  core_.History.Seal();
  if (!panels_.Items->OcbRefused()) return;
  // What was refused goes: the box shows the OCB the item still holds.
  if (auto view = ItemPanelFor(core_.Doc, core_.Map)) presenter_.ShowItem(*view);
  Done({nullptr, kOcbRangeStatus});
}

void PanelCommands::AllItems() {
  panels_.Items->ShowTypes(ClickAllItems(core_.Doc, core_.Map, core_.Names), core_.Map.AllItems);
  if (auto view = ItemPanelFor(core_.Doc, core_.Map)) presenter_.ShowItem(*view);
}

void PanelCommands::Type(int row) {
  const CommandOutcome outcome = TypeCommand(core_.Doc, core_.Map, core_.History, row);
  Done(outcome);
  if (outcome) return;
  // The list goes back to the entity's own type (or to nothing chosen).
  if (auto view = ItemPanelFor(core_.Doc, core_.Map))
    presenter_.ShowItem(*view);
  else
    panels_.Items->Clear();
}

}  // namespace slab
