#include "map/edit_history.h"

#include <algorithm>

namespace slab {
namespace {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};

void PutEntity(Level& level, int entity, const EntityRecord& record) {
  const auto index = static_cast<size_t>(entity);
  if (const Item* item = std::get_if<Item>(&record)) {
    if (index < level.Items.size()) level.Items[index] = *item;
  } else if (index >= level.Items.size() && index - level.Items.size() < level.AIObjects.size()) {
    level.AIObjects[index - level.Items.size()] = std::get<AIObject>(record);
  }
}

void PutSector(Level& level, const SectorChange& change, bool undo) {
  if (change.Room < 0 || static_cast<size_t>(change.Room) >= level.Rooms.size()) return;
  Room& room = level.Rooms[static_cast<size_t>(change.Room)];
  if (room.HasSector(change.X, change.Z))
    room.SectorAt(change.X, change.Z) = undo ? change.Before : change.After;
  level.FloorData.resize(change.FloorDataKept);
  const std::vector<uint8_t>& tail = undo ? change.TailBefore : change.TailAfter;
  level.FloorData.insert(level.FloorData.end(), tail.begin(), tail.end());
}

void PutFloorData(Level& level, const FloorDataPatch& patch, bool undo) {
  auto pointTo = [&](const PointerChange& c, uint16_t index) {
    if (c.Room < 0 || static_cast<size_t>(c.Room) >= level.Rooms.size()) return;
    Room& room = level.Rooms[static_cast<size_t>(c.Room)];
    if (room.HasSector(c.X, c.Z)) room.SectorAt(c.X, c.Z).FDIndex = index;
  };
  level.FloorData.resize(patch.Kept);
  const std::vector<uint8_t>& tail = undo ? patch.TailBefore : patch.TailAfter;
  level.FloorData.insert(level.FloorData.end(), tail.begin(), tail.end());
  for (const PointerChange& c : patch.Pointers) pointTo(c, undo ? c.Before : c.After);
  for (const WordChange& c : patch.Words) {
    if (2 * c.Word + 1 >= level.FloorData.size()) continue;
    const uint16_t word = undo ? c.Before : c.After;
    level.FloorData[2 * c.Word] = static_cast<uint8_t>(word & 0xFF);
    level.FloorData[2 * c.Word + 1] = static_cast<uint8_t>(word >> 8);
  }
}

template <typename T>
void InsertAt(std::vector<T>& list, int index, const T& value) {
  const auto at = static_cast<size_t>(std::max(index, 0));
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(at, list.size())), value);
}

template <typename T>
void EraseAt(std::vector<T>& list, int index) {
  if (index >= 0 && static_cast<size_t>(index) < list.size()) list.erase(list.begin() + index);
}

void PutRemoval(Level& level, const EntityRemoved& c, bool undo) {
  if (undo) {
    if (const Item* item = std::get_if<Item>(&c.Removed))
      InsertAt(level.Items, c.Index, *item);
    else
      InsertAt(level.AIObjects, c.Index, std::get<AIObject>(c.Removed));
  } else if (std::holds_alternative<Item>(c.Removed)) {
    EraseAt(level.Items, c.Index);
  } else {
    EraseAt(level.AIObjects, c.Index);
  }
  PutFloorData(level, c.FloorData, undo);
}

void PutStatic(Level& level, const StaticChange& c, bool undo) {
  if (c.Room < 0 || static_cast<size_t>(c.Room) >= level.Rooms.size()) return;
  std::vector<RoomStatic>& statics = level.Rooms[static_cast<size_t>(c.Room)].StaticMeshes;
  if (undo == c.Removed)
    InsertAt(statics, c.Index, c.Static);
  else
    EraseAt(statics, c.Index);
}

}  // namespace

void ApplyEdit(Level& level, const Edit& edit, bool undo) {
  std::visit(
      Overloaded{
          [&](const EntityChange& c) { PutEntity(level, c.Entity, undo ? c.Before : c.After); },
          [&](const ItemAdded& c) {
            if (undo) {
              if (!level.Items.empty()) level.Items.pop_back();
            } else {
              level.Items.push_back(c.Added);
            }
          },
          [&](const SectorChange& c) { PutSector(level, c, undo); },
          [&](const DemoChange& c) {
            level.DemoData = undo ? c.Before : c.After;
            level.NumDemoData = undo ? c.NumDemoDataBefore : c.NumDemoDataAfter;
          },
          [&](const AIAdded& c) {
            if (undo) {
              if (!level.AIObjects.empty()) level.AIObjects.pop_back();
            } else {
              level.AIObjects.push_back(c.Added);
            }
          },
          [&](const EntityRemoved& c) { PutRemoval(level, c, undo); },
          [&](const StaticChange& c) { PutStatic(level, c, undo); },
      },
      edit.Change);
}

size_t EditBytes(const Edit& edit) {
  size_t bytes = sizeof(Edit) + edit.Caption.capacity();
  if (const auto* s = std::get_if<SectorChange>(&edit.Change))
    bytes += s->TailBefore.capacity() + s->TailAfter.capacity();
  if (const auto* d = std::get_if<DemoChange>(&edit.Change))
    bytes += (d->Before.capacity() + d->After.capacity()) * sizeof(int32_t);
  if (const auto* r = std::get_if<EntityRemoved>(&edit.Change)) {
    const FloorDataPatch& p = r->FloorData;
    bytes += p.Words.capacity() * sizeof(WordChange) +
             p.Pointers.capacity() * sizeof(PointerChange) + p.TailBefore.capacity() +
             p.TailAfter.capacity();
  }
  return bytes;
}

void EditHistory::Clear() {
  edits_.clear();
  position_ = 0;
  saved_ = 0;
  open_ = false;
}

void EditHistory::Record(Edit edit) {
  edits_.erase(edits_.begin() + static_cast<std::ptrdiff_t>(position_), edits_.end());
  if (saved_ && *saved_ > position_) saved_.reset();  // the saved state can't come back

  if (edit.Kind == EditKind::ItemOCB && open_ && position_ > 0 && saved_ != position_) {
    Edit& last = edits_.back();
    auto* previous = std::get_if<EntityChange>(&last.Change);
    const auto* next = std::get_if<EntityChange>(&edit.Change);
    if (last.Kind == EditKind::ItemOCB && previous && next && previous->Entity == next->Entity) {
      previous->After = next->After;
      return;
    }
  }
  open_ = edit.Kind == EditKind::ItemOCB;
  edits_.push_back(std::move(edit));
  ++position_;
  if (edits_.size() > kMaxEdits) {
    edits_.pop_front();
    --position_;
    if (saved_) saved_ = *saved_ == 0 ? std::nullopt : std::optional<size_t>(*saved_ - 1);
  }
}

const Edit* EditHistory::Undo(Level& level) {
  if (position_ == 0) return nullptr;
  open_ = false;
  const Edit& edit = edits_[--position_];
  ApplyEdit(level, edit, true);
  return &edit;
}

const Edit* EditHistory::Redo(Level& level) {
  if (position_ >= edits_.size()) return nullptr;
  open_ = false;
  const Edit& edit = edits_[position_++];
  ApplyEdit(level, edit, false);
  return &edit;
}

size_t EditHistory::Bytes() const {
  size_t bytes = sizeof(*this);
  for (const Edit& edit : edits_) bytes += EditBytes(edit);
  return bytes;
}

}  // namespace slab
