#include "map/edit_commands.h"

#include "level/text.h"
#include "map/entity.h"
#include "map/selection.h"

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
                               MinecartMode mode, std::string_view buttonCaption,
                               MessageSink& messages) {
  return SectorCommand(doc, state, history, EditKind::Minecart, "Add " + std::string(buttonCaption),
                       [&] { return AddMinecartFunction(doc, state, mode, messages); });
}

CommandOutcome WallCommand(Document& doc, MapState& state, EditHistory& history,
                           bool checkedAfterClick) {
  if (!checkedAfterClick) return {};  // unchecking restores nothing
  return SectorCommand(doc, state, history, EditKind::Wall, "Make Wall",
                       [&] { return FloorWallClick(doc, state, true); });
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
  if (edit->Kind == EditKind::ItemAdd)
    ShiftEntities(state, static_cast<int>(doc.CurrentLevel.Items.size()), -1,
                  doc.CurrentLevel.Items.size());
  Finish(doc, state, history);
  return {edit, {}};
}

CommandOutcome RedoCommand(Document& doc, MapState& state, EditHistory& history) {
  if (!doc.LevelLoaded || !history.NextRedo()) return {nullptr, kNothingToRedoStatus};
  const Edit* edit = history.Redo(doc.CurrentLevel);
  if (edit->Kind == EditKind::ItemAdd)
    ShiftEntities(state, static_cast<int>(doc.CurrentLevel.Items.size()) - 1, +1,
                  doc.CurrentLevel.Items.size());
  Finish(doc, state, history);
  return {edit, {}};
}

}  // namespace slab
