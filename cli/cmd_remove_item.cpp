// remove-item: the window's item removal for scripted edits, through the same command.
#include <filesystem>
#include <iostream>

#include "cli/cli_common.h"
#include "map/edit_commands.h"
#include "map/item_removal.h"
#include "platform/process_runner.h"
#include "write/save_commands.h"

namespace slab::cli {
namespace {

struct RemoveItemOptions {
  std::string File, Out;
  int Index = -1;
  bool WithActions = false;
};

std::string Actions(int count) {
  return std::to_string(count) + (count == 1 ? " trigger action" : " trigger actions");
}

int RemoveItem(const RemoveItemOptions& o, const std::string& programFolder) {
  FileMessages messages(o.File);
  auto opened = LoadDocumentForCli(o.File, messages);
  if (!opened) return kExitFailed;
  Document& doc = *opened;
  MapState state;
  state.SelectedEntity = o.Index;
  EditHistory history;

  const RemovalPlan plan = PlanEntityRemoval(doc.CurrentLevel, o.Index);
  if (!plan.Allowed()) {
    messages.Show(plan.Refusal);
    return kExitFailed;
  }
  const CommandOutcome outcome = RemoveEntityCommand(doc, state, history, o.WithActions);
  if (!outcome) {
    std::string why = outcome.Status;
    if (!plan.Naming.empty() && !o.WithActions)
      why += " Give --with-actions to remove those actions too.";
    messages.Show(why);
    return kExitFailed;
  }
  const auto& removed = std::get<EntityRemoved>(outcome.Done->Change);

  SystemProcessRunner runner;
  const std::string title = std::filesystem::path(o.Out).filename().string();
  SaveResult saved =
      WriteLevel(o.Out, doc.CurrentLevel, doc.GameVersion, title, programFolder, runner);
  if (!saved.Ok()) {
    messages.Show(saved.Reason());
    return kExitFailed;
  }
  std::cout << "Removed " << plan.Caption;
  if (!plan.IsAI)
    std::cout << ": " << Actions(removed.RemovedActions) << " removed, "
              << removed.RenumberedActions << " renumbered";
  std::cout << ". Wrote " << o.Out << "\n";
  return kExitOk;
}

}  // namespace

void AddRemoveItemCommand(CLI::App& app, Job& job, const std::string& programFolder) {
  auto* cmd = app.add_subcommand(
      "remove-item",
      "Remove an item (trigger actions naming later items are renumbered) and write the level");
  auto o = std::make_shared<RemoveItemOptions>();
  cmd->add_option("FILE", o->File, "Level file")->required();
  cmd->add_option("INDEX", o->Index,
                  "The item's number; numbers from the item count on are AI objects")
      ->required();
  cmd->add_flag("--with-actions", o->WithActions,
                "Also remove the trigger actions naming the item (and triggers left with nothing "
                "to do); without it such an item is not removed");
  cmd->add_option("-o,--output", o->Out, "Where to write the level")->required();
  cmd->callback([&job, o, programFolder] {
    job = [o, programFolder] { return RemoveItem(*o, programFolder); };
  });
}

}  // namespace slab::cli
