#include "map/edit_commands.h"

#include "level/text.h"
#include "map/entity.h"
#include "map/item_duplicate.h"
#include "map/item_removal.h"
#include "map/selection.h"
#include "map/static_edits.h"
#include "map/trigger_index.h"

namespace slab {
namespace {

std::optional<EntityRecord> Snapshot(const Level& level, int entity) {
  const auto ref = FindEntity(level, entity);
  if (ref.ItemRecord) return EntityRecord{*ref.ItemRecord};
  if (ref.AI) return EntityRecord{*ref.AI};
  return std::nullopt;
}

bool SameRecord(const EntityRecord& a, const EntityRecord& b) {
  // Field by field: the records have padding, so their bytes can't be compared.
  if (a.index() != b.index()) return false;
  if (const Item* x = std::get_if<Item>(&a)) {
    const Item& y = std::get<Item>(b);
    return x->ObjectID == y.ObjectID && x->Room == y.Room && x->X == y.X && x->Y == y.Y &&
           x->Z == y.Z && x->Angle == y.Angle && x->Intensity1 == y.Intensity1 && x->OCB == y.OCB &&
           x->Flags == y.Flags;
  }
  const AIObject& x = std::get<AIObject>(a);
  const AIObject& y = std::get<AIObject>(b);
  return x.ObjectID == y.ObjectID && x.Room == y.Room && x.X == y.X && x.Y == y.Y && x.Z == y.Z &&
         x.OCB == y.OCB && x.Flags == y.Flags && x.Angle == y.Angle;
}

void Finish(Document& doc, MapState& state, const EditHistory& history) {
  doc.Modified = !history.AtSavedState();
  state.SelectedStatic = -1;
  RedrawMap(doc, state);
}

// Runs an edit of the chosen entity and records what it changed.
template <class EditFn>
CommandOutcome EntityCommand(Document& doc, MapState& state, EditHistory& history, EditKind kind,
                             const std::string& verb, EditFn&& edit) {
  if (!doc.LevelLoaded) return {nullptr, kNoLevelStatus};
  const int entity = state.SelectedEntity;
  const std::optional<EntityRecord> before = Snapshot(doc.CurrentLevel, entity);
  if (!before) return {nullptr, kNoEntityStatus};
  edit();
  const std::optional<EntityRecord> after = Snapshot(doc.CurrentLevel, entity);
  if (!after || SameRecord(*before, *after)) {
    doc.Modified = !history.AtSavedState();
    return {};
  }
  history.Record(Edit{kind, verb + " " + EntityCaption(doc.CurrentLevel, entity),
                      EntityChange{entity, *before, *after}});
  Finish(doc, state, history);
  return {history.NextUndo(), {}};
}

Sector* SelectedSector(Level& level, const MapState& state) {
  if (!state.SectorSelected || state.CurrentRoom < 0 ||
      static_cast<size_t>(state.CurrentRoom) >= level.Rooms.size())
    return nullptr;
  Room& room = level.Rooms[static_cast<size_t>(state.CurrentRoom)];
  if (!room.HasSector(state.SelectedSectorX, state.SelectedSectorZ)) return nullptr;
  return &room.SectorAt(state.SelectedSectorX, state.SelectedSectorZ);
}

// Runs an edit of the selected sector and records the sector and the floor-data words it
// appended.
template <class EditFn>
CommandOutcome SectorCommand(Document& doc, MapState& state, EditHistory& history, EditKind kind,
                             std::string caption, EditFn&& edit) {
  if (!doc.LevelLoaded) return {nullptr, kNoLevelStatus};
  Level& level = doc.CurrentLevel;
  Sector* sector = SelectedSector(level, state);
  if (!sector) return {nullptr, kNoSectorStatus};
  SectorChange change;
  change.Room = state.CurrentRoom;
  change.X = state.SelectedSectorX;
  change.Z = state.SelectedSectorZ;
  change.Before = *sector;
  // Appending starts after the last whole word (a stray odd byte is dropped), so the tail
  // from there on is all an append can change.
  change.FloorDataKept = level.FloorData.size() & ~size_t{1};
  change.TailBefore.assign(
      level.FloorData.begin() + static_cast<std::ptrdiff_t>(change.FloorDataKept),
      level.FloorData.end());
  if (!edit()) return {};
  sector = SelectedSector(level, state);
  change.After = *sector;
  change.TailAfter.assign(
      level.FloorData.begin() + static_cast<std::ptrdiff_t>(change.FloorDataKept),
      level.FloorData.end());
  history.Record(Edit{kind, std::move(caption), std::move(change)});
  Finish(doc, state, history);
  return {history.NextUndo(), {}};
}

// After the item list grew or shrank by one at `index`, entity numbers at or above it (the
// AI objects) moved by `delta`.
void ShiftEntities(MapState& state, int index, int delta, size_t itemCount) {
  auto shift = [&](int& entity) {
    if (entity < 0) return;
    if (delta < 0 && entity == index)
      entity = -1;
    else if (entity >= index)
      entity += delta;
  };
  shift(state.SelectedEntity);
  shift(state.NavigationEntity);
  state.Triggers.resize(itemCount);
}

// The entity number a removal record had while its entity existed.
int RemovedEntity(const Level& level, const EntityRemoved& removed) {
  return std::holds_alternative<Item>(removed.Removed)
             ? removed.Index
             : static_cast<int>(level.Items.size()) + removed.Index;
}

// After an edit was made, undone or redone: entity numbers follow an entity that came or went,
// and the trigger index follows the items and the floor data.
void FollowEntities(const Document& doc, MapState& state, const Edit& edit, bool undo) {
  const Level& level = doc.CurrentLevel;
  const auto items = static_cast<int>(level.Items.size());
  if (std::holds_alternative<ItemAdded>(edit.Change)) {
    ShiftEntities(state, undo ? items : items - 1, undo ? -1 : +1, level.Items.size());
  } else if (std::holds_alternative<AIAdded>(edit.Change)) {
    if (undo) ShiftEntities(state, items + static_cast<int>(level.AIObjects.size()), -1, items);
  } else if (const auto* removed = std::get_if<EntityRemoved>(&edit.Change)) {
    ShiftEntities(state, RemovedEntity(level, *removed), undo ? +1 : -1, level.Items.size());
    state.Triggers = BuildTriggerIndex(level);
  }
}

// The selected sector of the current room, for the static mesh commands.
bool SectorChosen(const Document& doc, const MapState& state) {
  return state.SectorSelected && state.CurrentRoom >= 0 &&
         static_cast<size_t>(state.CurrentRoom) < doc.CurrentLevel.Rooms.size() &&
         doc.CurrentLevel.Rooms[static_cast<size_t>(state.CurrentRoom)].HasSector(
             state.SelectedSectorX, state.SelectedSectorZ);
}

}  // namespace

std::string EntityCaption(const Level& level, int entity) {
  const auto items = static_cast<int64_t>(level.Items.size());
  if (entity < items) return "Item" + NumText(entity);
  return "AI" + NumText(entity - items);
}

CommandOutcome FlagCommand(Document& doc, MapState& state, EditHistory& history, ItemFlagBox box) {
  return EntityCommand(doc, state, history, EditKind::ItemFlags, "Change Flags of",
                       [&] { ToggleItemFlag(doc, state, box); });
}

CommandOutcome OcbCommand(Document& doc, MapState& state, EditHistory& history,
                          std::string_view text) {
  return EntityCommand(doc, state, history, EditKind::ItemOCB, "Change OCB of",
                       [&] { SetItemOCB(doc, state, text); });
}

CommandOutcome RotateCommand(Document& doc, MapState& state, EditHistory& history) {
  return EntityCommand(doc, state, history, EditKind::ItemRotate, "Rotate",
                       [&] { ItemRotate(doc, state); });
}

CommandOutcome TypeCommand(Document& doc, MapState& state, EditHistory& history, int position) {
  return EntityCommand(doc, state, history, EditKind::ItemType, "Change Type of",
                       [&] { ChooseObjectType(doc, state, position); });
}

CommandOutcome MoveCommand(Document& doc, MapState& state, EditHistory& history, MoveKey key) {
  MoveResult result = MoveResult::Moved;
  CommandOutcome outcome = EntityCommand(doc, state, history, EditKind::ItemMove, "Move", [&] {
    result = MoveSelectedEntity(doc, state, key, kCtrlKey);
  });
  // A key that did nothing says why, or the user presses on and wonders.
  if (!outcome && outcome.Status.empty() && result != MoveResult::Moved) {
    const std::string who = EntityCaption(doc.CurrentLevel, state.SelectedEntity);
    outcome.Status = result == MoveResult::AtEdge
                         ? who + " stays where it is: the next sector is the room's wall."
                         : who + " cannot be moved that way.";
  }
  return outcome;
}

CommandOutcome AddItemCommand(Document& doc, MapState& state, EditHistory& history) {
  if (!doc.LevelLoaded) return {nullptr, kNoLevelStatus};
  if (!SelectedSector(doc.CurrentLevel, state)) return {nullptr, kNoSectorStatus};
  const std::optional<int> index = ItemAdd(doc, state);
  if (!index) return {};
  Level& level = doc.CurrentLevel;
  ShiftEntities(state, *index, +1, level.Items.size());
  state.SelectedEntity = *index;
  history.Record(Edit{EditKind::ItemAdd, "Add " + EntityCaption(level, *index),
                      ItemAdded{level.Items[static_cast<size_t>(*index)]}});
  Finish(doc, state, history);
  return {history.NextUndo(), {}};
}

CommandOutcome MinecartCommand(Document& doc, MapState& state, EditHistory& history,
                               MinecartMode mode, MessageSink& messages) {
  return SectorCommand(doc, state, history, EditKind::Minecart,
                       std::string("Add ") + MinecartCaption(doc.GameVersion, mode),
                       [&] { return AddMinecartFunction(doc, state, mode, messages); });
}

CommandOutcome WallCommand(Document& doc, MapState& state, EditHistory& history,
                           bool checkedAfterClick) {
  if (!checkedAfterClick) return {};  // unchecking restores nothing
  return SectorCommand(doc, state, history, EditKind::Wall, "Make Wall",
                       [&] { return FloorWallClick(doc, state, true); });
}

CommandOutcome RemoveEntityCommand(Document& doc, MapState& state, EditHistory& history,
                                   bool withActions) {
  if (!doc.LevelLoaded) return {nullptr, kNoLevelStatus};
  Level& level = doc.CurrentLevel;
  const int entity = state.SelectedEntity;
  if (!FindEntity(std::as_const(level), entity)) return {nullptr, kNoEntityStatus};
  const std::string caption = "Remove " + EntityCaption(level, entity);
  std::string why;
  std::optional<EntityRemoved> removed = RemoveEntity(level, entity, withActions, why);
  if (!removed) return {nullptr, why};
  history.Record(Edit{EditKind::ItemRemove, caption, std::move(*removed)});
  FollowEntities(doc, state, *history.NextUndo(), false);
  Finish(doc, state, history);
  return {history.NextUndo(), {}};
}

CommandOutcome AskedRemoveCommand(Document& doc, MapState& state, EditHistory& history,
                                  const ObjectNames& names, MessageSink& messages) {
  if (!doc.LevelLoaded || !FindEntity(std::as_const(doc.CurrentLevel), state.SelectedEntity))
    return RemoveEntityCommand(doc, state, history, false);
  const RemovalPlan plan = PlanEntityRemoval(doc.CurrentLevel, state.SelectedEntity);
  if (!plan.Allowed()) {
    messages.Show(plan.Refusal, "Remove " + plan.Caption);
    return {};
  }
  if (plan.Naming.empty()) return RemoveEntityCommand(doc, state, history, false);
  const std::string question = RemovalQuestion(doc.CurrentLevel, doc.GameVersion, names, plan);
  if (messages.Confirm(question, "Remove " + plan.Caption, kRemoveActionsToo) != Answer::Yes)
    return {nullptr, NamedByText(plan)};
  return RemoveEntityCommand(doc, state, history, true);
}

CommandOutcome DuplicateCommand(Document& doc, MapState& state, EditHistory& history) {
  if (!doc.LevelLoaded) return {nullptr, kNoLevelStatus};
  Level& level = doc.CurrentLevel;
  if (!FindEntity(std::as_const(level), state.SelectedEntity)) return {nullptr, kNoEntityStatus};
  if (!SelectedSector(level, state)) return {nullptr, kNoSectorStatus};
  const std::string source = EntityCaption(level, state.SelectedEntity);
  const std::optional<int> copy = DuplicateEntity(doc, state);
  if (!copy) return {};
  const auto items = static_cast<size_t>(level.Items.size());
  Edit edit{EditKind::ItemDuplicate, "Duplicate " + source, ItemAdded{}};
  if (static_cast<size_t>(*copy) < items)
    edit.Change = ItemAdded{level.Items[static_cast<size_t>(*copy)]};
  else
    edit.Change = AIAdded{level.AIObjects.back()};
  history.Record(std::move(edit));
  FollowEntities(doc, state, *history.NextUndo(), false);
  state.SelectedEntity = *copy;
  Finish(doc, state, history);
  return {history.NextUndo(), {}};
}

CommandOutcome StaticAddCommand(Document& doc, MapState& state, EditHistory& history,
                                const ObjectNames& names, int choice) {
  if (!doc.LevelLoaded) return {nullptr, kNoLevelStatus};
  if (!SectorChosen(doc, state)) return {nullptr, kNoSectorStatus};
  Level& level = doc.CurrentLevel;
  // A wall's floor byte is its marker, not a height: the static would float far above.
  if (const Sector* sector = SelectedSector(level, state); sector && sector->Floor == kWallMarker)
    return {nullptr, kWallStaticStatus};
  const std::optional<RoomStatic> added =
      NewStatic(level, doc.GameVersion, state.CurrentRoom, state.SelectedSectorX,
                state.SelectedSectorZ, choice);
  if (!added) return {nullptr, kNoStaticMeshStatus};
  std::vector<RoomStatic>& statics =
      level.Rooms[static_cast<size_t>(state.CurrentRoom)].StaticMeshes;
  statics.push_back(*added);
  const std::string name = StaticName(names, added->ObjectID, doc.GameVersion);
  history.Record(
      Edit{EditKind::StaticAdd, "Add Static Mesh " + name,
           StaticChange{state.CurrentRoom, static_cast<int>(statics.size()) - 1, *added, false}});
  Finish(doc, state, history);
  return {history.NextUndo(), {}};
}

CommandOutcome StaticRemoveCommand(Document& doc, MapState& state, EditHistory& history,
                                   const ObjectNames& names, int line) {
  if (!doc.LevelLoaded) return {nullptr, kNoLevelStatus};
  if (!SectorChosen(doc, state)) return {nullptr, kNoSectorStatus};
  Level& level = doc.CurrentLevel;
  const std::vector<SectorStatic> here =
      SectorStatics(level, doc.GameVersion, names, state.CurrentRoom, state.SelectedSectorX,
                    state.SelectedSectorZ);
  if (line < 0 || static_cast<size_t>(line) >= here.size()) return {nullptr, kNoStaticMeshStatus};
  const SectorStatic& chosen = here[static_cast<size_t>(line)];
  std::vector<RoomStatic>& statics =
      level.Rooms[static_cast<size_t>(state.CurrentRoom)].StaticMeshes;
  const RoomStatic removed = statics[static_cast<size_t>(chosen.Index)];
  statics.erase(statics.begin() + chosen.Index);
  history.Record(Edit{EditKind::StaticRemove, "Remove Static Mesh " + chosen.Text,
                      StaticChange{state.CurrentRoom, chosen.Index, removed, true}});
  Finish(doc, state, history);
  return {history.NextUndo(), {}};
}

bool ChooseStatic(const Document& doc, MapState& state, int index) {
  state.SelectedStatic = -1;
  if (!doc.LevelLoaded || state.CurrentRoom < 0 ||
      static_cast<size_t>(state.CurrentRoom) >= doc.CurrentLevel.Rooms.size())
    return false;
  const auto& statics = doc.CurrentLevel.Rooms[static_cast<size_t>(state.CurrentRoom)].StaticMeshes;
  if (index < 0 || static_cast<size_t>(index) >= statics.size()) return false;
  state.SelectedStatic = index;
  state.SelectedEntity = -1;
  return true;
}

CommandOutcome RemoveChosenCommand(Document& doc, MapState& state, EditHistory& history,
                                   const ObjectNames& names, MessageSink& messages) {
  if (state.SelectedStatic < 0 || state.SelectedEntity >= 0 || !SectorChosen(doc, state))
    return AskedRemoveCommand(doc, state, history, names, messages);
  const std::vector<SectorStatic> here =
      SectorStatics(doc.CurrentLevel, doc.GameVersion, names, state.CurrentRoom,
                    state.SelectedSectorX, state.SelectedSectorZ);
  for (size_t line = 0; line < here.size(); ++line)
    if (here[line].Index == state.SelectedStatic)
      return StaticRemoveCommand(doc, state, history, names, static_cast<int>(line));
  return {nullptr, kNoStaticMeshStatus};
}

void RecordDemoEdit(Document& doc, EditHistory& history, int16_t numBefore,
                    std::vector<int32_t> before) {
  const Level& level = doc.CurrentLevel;
  history.Record(Edit{EditKind::Demo, "Record Demo",
                      DemoChange{numBefore, level.NumDemoData, std::move(before), level.DemoData}});
  doc.Modified = !history.AtSavedState();
}

CommandOutcome UndoCommand(Document& doc, MapState& state, EditHistory& history) {
  if (!doc.LevelLoaded || !history.NextUndo()) return {nullptr, kNothingToUndoStatus};
  const Edit* edit = history.Undo(doc.CurrentLevel);
  FollowEntities(doc, state, *edit, true);
  Finish(doc, state, history);
  return {edit, {}};
}

CommandOutcome RedoCommand(Document& doc, MapState& state, EditHistory& history) {
  if (!doc.LevelLoaded || !history.NextRedo()) return {nullptr, kNothingToRedoStatus};
  const Edit* edit = history.Redo(doc.CurrentLevel);
  FollowEntities(doc, state, *edit, false);
  Finish(doc, state, history);
  return {edit, {}};
}

}  // namespace slab
