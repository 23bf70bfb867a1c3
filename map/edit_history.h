// Undo and redo of the level's edits. An edit keeps only what it changed: an entity's record
// before and after, a new item, a sector's record with the floor-data bytes it appended, or
// the demo it replaced; never a copy of the level. The history knows where the level was
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
  Demo
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

struct DemoChange {
  int16_t NumDemoDataBefore = 0, NumDemoDataAfter = 0;
  std::vector<int32_t> Before, After;
};

struct Edit {
  EditKind Kind = EditKind::ItemFlags;
  std::string Caption;  // what the Edit menu names: "Move Item 12"
  std::variant<EntityChange, ItemAdded, SectorChange, DemoChange> Change;
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
  // entity become one, unless the level was saved between them.
  void Record(Edit edit);

  const Edit* NextUndo() const { return position_ > 0 ? &edits_[position_ - 1] : nullptr; }
  const Edit* NextRedo() const { return position_ < edits_.size() ? &edits_[position_] : nullptr; }
  // Applies the step to the level and returns it; null when there is none.
  const Edit* Undo(Level& level);
  const Edit* Redo(Level& level);

  // The level as it stands now is what the file holds.
  void MarkSaved() { saved_ = position_; }
  bool AtSavedState() const { return saved_ && *saved_ == position_; }

  size_t Size() const { return edits_.size(); }
  size_t Bytes() const;

 private:
  std::deque<Edit> edits_;
  size_t position_ = 0;              // edits before it are applied
  std::optional<size_t> saved_ = 0;  // the position of the saved state, if still reachable
};

}  // namespace slab
