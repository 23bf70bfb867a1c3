// An entity index as the item panel uses it: below the number of items an item, from there
// on an AI object.
#pragma once

#include "level/level.h"

namespace slab {

struct EntityRef {
  Item* ItemRecord = nullptr;
  AIObject* AI = nullptr;
  explicit operator bool() const { return ItemRecord || AI; }
};

inline EntityRef FindEntity(Level& level, int entity) {
  if (entity < 0) return {};
  const auto index = static_cast<size_t>(entity);
  if (index < level.Items.size()) return {&level.Items[index], nullptr};
  if (index - level.Items.size() < level.AIObjects.size())
    return {nullptr, &level.AIObjects[index - level.Items.size()]};
  return {};
}

inline EntityRef FindEntity(const Level& level, int entity) {
  return FindEntity(const_cast<Level&>(level), entity);
}

}  // namespace slab
