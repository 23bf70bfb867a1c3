// An entity index as the item panel uses it: below the number of items an item, from there
// on an AI object.
#pragma once

#include "level/level.h"

namespace slab {

// The bits of an entity's flags word the item panel shows: five activation-mask bits (from
// bit 9 for items, from bit 1 for AI objects), and for items invisible and clear body.
inline constexpr uint16_t kItemInvisible = 0x100;
inline constexpr uint16_t kItemClearBody = 0x8000;
inline constexpr int kItemMaskShift = 9;  // mask bits 0x200 .. 0x2000
inline constexpr int kAIMaskShift = 1;    // mask bits 0x02 .. 0x20

// An item or an AI object of a level, changeable through a Level& and read-only through a
// const Level&.
template <typename ItemT, typename AIT>
struct BasicEntityRef {
  ItemT* ItemRecord = nullptr;
  AIT* AI = nullptr;
  explicit operator bool() const { return ItemRecord || AI; }
};
using EntityRef = BasicEntityRef<Item, AIObject>;
using ConstEntityRef = BasicEntityRef<const Item, const AIObject>;

namespace entity_detail {
template <typename Ref, typename L>
Ref Find(L& level, int entity) {
  if (entity < 0) return {};
  const auto index = static_cast<size_t>(entity);
  if (index < level.Items.size()) return {&level.Items[index], nullptr};
  if (index - level.Items.size() < level.AIObjects.size())
    return {nullptr, &level.AIObjects[index - level.Items.size()]};
  return {};
}
}  // namespace entity_detail

inline EntityRef FindEntity(Level& level, int entity) {
  return entity_detail::Find<EntityRef>(level, entity);
}
inline ConstEntityRef FindEntity(const Level& level, int entity) {
  return entity_detail::Find<ConstEntityRef>(level, entity);
}

}  // namespace slab
