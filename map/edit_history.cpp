#include "map/edit_history.h"

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
      },
      edit.Change);
}

size_t EditBytes(const Edit& edit) {
  size_t bytes = sizeof(Edit) + edit.Caption.capacity();
  if (const auto* s = std::get_if<SectorChange>(&edit.Change))
    bytes += s->TailBefore.capacity() + s->TailAfter.capacity();
  if (const auto* d = std::get_if<DemoChange>(&edit.Change))
    bytes += (d->Before.capacity() + d->After.capacity()) * sizeof(int32_t);
  return bytes;
}

void EditHistory::Clear() {
  edits_.clear();
  position_ = 0;
  saved_ = 0;
}

void EditHistory::Record(Edit edit) {
  edits_.erase(edits_.begin() + static_cast<std::ptrdiff_t>(position_), edits_.end());
  if (saved_ && *saved_ > position_) saved_.reset();  // the saved state can't come back

  if (edit.Kind == EditKind::ItemOCB && position_ > 0 && saved_ != position_) {
    Edit& last = edits_.back();
    auto* previous = std::get_if<EntityChange>(&last.Change);
    const auto* next = std::get_if<EntityChange>(&edit.Change);
    if (last.Kind == EditKind::ItemOCB && previous && next && previous->Entity == next->Entity) {
      previous->After = next->After;
      return;
    }
  }
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
  const Edit& edit = edits_[--position_];
  ApplyEdit(level, edit, true);
  return &edit;
}

const Edit* EditHistory::Redo(Level& level) {
  if (position_ >= edits_.size()) return nullptr;
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
