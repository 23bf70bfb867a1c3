// Undo and redo of the level's edits. An edit keeps only what it changed: an entity's record
// before and after, a new or removed entity with the floor-data words its removal changed, a
// sector's record with the floor-data bytes it appended, a room's static mesh, or the demo
// it replaced; never a copy of the level. The history knows where the level was
// last saved, so undoing back to that point leaves the level unmodified.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "level/level.h"

namespace slab {

enum class EditKind {
  ItemFlags,
  ItemOCB,
  ItemRotate,
  ItemType,
  ItemMove,
  ItemAdd,
  Minecart,
  Wall,
  Demo,
  ItemRemove,
  ItemDuplicate,
  StaticAdd,
  StaticRemove
};

// One entity's record; an index below the item count is an item, above it an AI object.
using EntityRecord = std::variant<Item, AIObject>;

struct EntityChange {
  int Entity = -1;
  EntityRecord Before, After;
};

// An item appended at the end of the item list (it is Items.size() - 1 while it exists).
struct ItemAdded {
  Item Added;
};

// A sector's record and the floor data from the first byte the edit touched to the end.
struct SectorChange {
  int Room = -1, X = 0, Z = 0;
  Sector Before, After;
  size_t FloorDataKept = 0;  // bytes before this offset were left as they were
  std::vector<uint8_t> TailBefore, TailAfter;
};

// An AI object appended at the end of the AI object list.
struct AIAdded {
  AIObject Added;
};

// Floor-data words changed where they lie, sectors pointed at other lists, and the bytes
// appended at the end of the floor data (from Kept on).
struct WordChange {
  size_t Word = 0;
  uint16_t Before = 0, After = 0;
};
struct PointerChange {
  int Room = -1, X = 0, Z = 0;
  uint16_t Before = 0, After = 0;
};
struct FloorDataPatch {
  std::vector<WordChange> Words;
  std::vector<PointerChange> Pointers;
  size_t Kept = 0;
  std::vector<uint8_t> TailBefore, TailAfter;
};

// An item taken out of the item list at Index, or an AI object out of its own list at Index,
// with what the floor data's trigger actions changed by it.
struct EntityRemoved {
  int Index = 0;
  EntityRecord Removed;
  FloorDataPatch FloorData;
  int RenumberedActions = 0;  // actions naming later items, now one lower
  int RemovedActions = 0;     // actions that named the item itself, gone with it
};

// A static mesh of a room, added at Index (the end of the room's list) or removed from it.
struct StaticChange {
  int Room = -1;
  int Index = 0;
  RoomStatic Static;
  bool Removed = false;
};

struct DemoChange {
  int16_t NumDemoDataBefore = 0, NumDemoDataAfter = 0;
  std::vector<int32_t> Before, After;
};

struct Edit {
  EditKind Kind = EditKind::ItemFlags;
  std::string Caption;  // what the Edit menu names: "Move Item 12"
  std::variant<EntityChange, ItemAdded, SectorChange, DemoChange, AIAdded, EntityRemoved,
               StaticChange>
      Change;
};

// Puts the level back to before the edit (undo) or to after it (redo).
void ApplyEdit(Level& level, const Edit& edit, bool undo);

// Bytes an edit holds, its own record included.
size_t EditBytes(const Edit& edit);

class EditHistory {
 public:
  // The oldest edits are forgotten beyond this many, so memory stays bounded however long
  // a session runs.
  static constexpr size_t kMaxEdits = 1000;

  // Forgets everything: a freshly opened level is the saved state.
  void Clear();
  // Adds an edit already made to the level; anything that could be redone is dropped.
  // Typing into the OCB box gives one edit per keystroke: consecutive OCB edits of the same
  // entity become one until the typing is committed (Seal), the level saved, or anything
  // else done, so each committed value is one step.
  void Record(Edit edit);
  // The last edit takes no more keystrokes: what follows is a step of its own.
  void Seal() { open_ = false; }

  const Edit* NextUndo() const { return position_ > 0 ? &edits_[position_ - 1] : nullptr; }
  const Edit* NextRedo() const { return position_ < edits_.size() ? &edits_[position_] : nullptr; }
  // Applies the step to the level and returns it; null when there is none.
  const Edit* Undo(Level& level);
  const Edit* Redo(Level& level);

  // The level as it stands now is what the file holds.
  void MarkSaved() {
    saved_ = position_;
    open_ = false;
  }
  bool AtSavedState() const { return saved_ && *saved_ == position_; }

  size_t Size() const { return edits_.size(); }
  size_t Bytes() const;

 private:
  std::deque<Edit> edits_;
  size_t position_ = 0;              // edits before it are applied
  std::optional<size_t> saved_ = 0;  // the position of the saved state, if still reachable
  bool open_ = false;                // the last edit is OCB typing not yet committed
};

}  // namespace slab
