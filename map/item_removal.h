// Taking an item or an AI object out of a level. Trigger actions name items by their place
// in the item list, so removing an item renumbers every action that names a later one, and
// the actions that name the item itself go with it or the removal does not happen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "floordata/object_names.h"
#include "floordata/walkers.h"
#include "level/level.h"
#include "map/edit_history.h"

namespace slab {

// A trigger action that names the item being removed, on a sector that reaches it.
struct NamingAction {
  int Room = 0, X = 0, Z = 0;  // the sector, 0-based
  TriggerEntry Entry;
  // Removing the action leaves its trigger nothing to do: it was its only action, or the
  // item that sets a switch, key or pickup trigger off.
  bool TakesTrigger = false;
  // The trigger's other actions that go with it when it goes whole, on the first of its
  // actions that names the item (so each is told once).
  std::vector<TriggerEntry> WithIt;
};

// What removing an entity involves, worked out before anything changes.
struct RemovalPlan {
  int Entity = -1;
  bool IsAI = false;
  std::string Caption;               // "Item 12", "AI 0"
  std::string Refusal;               // why it can't be removed at all; empty when it can
  std::vector<NamingAction> Naming;  // in room order, then a, then b, then list order
  bool Allowed() const { return Refusal.empty(); }
  // Every action that goes with the item: those naming it and the rest of the triggers that
  // go whole.
  size_t ActionsGoing() const;
};

RemovalPlan PlanEntityRemoval(const Level& level, int entity);

// What the user is asked before the actions naming the item go as well: how many, where,
// which triggers go whole and every other action that goes with them. Long lists are cut
// after a few lines, with the count of what is not shown.
std::string RemovalQuestion(const Level& level, Game gameVersion, const ObjectNames& names,
                            const RemovalPlan& plan);
// What is said when the actions naming the item keep it from being removed.
std::string NamedByText(const RemovalPlan& plan);

// Removes the entity: the item list closes up, every object and target action naming a later
// item is renumbered in place, and with withActions the actions naming the item itself go,
// each affected sector getting a new copy of its list at the end of the floor data (so no
// other sector's list moves). Returns the record of what changed, or nothing with the reason
// in why (not allowed, named by actions without withActions, floor data full).
std::optional<EntityRemoved> RemoveEntity(Level& level, int entity, bool withActions,
                                          std::string& why);

}  // namespace slab
