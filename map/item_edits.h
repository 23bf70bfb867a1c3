// Edits of the entity chosen in the item panel and of the item list: facing, object type,
// position by keyboard, and new items.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "floordata/object_names.h"
#include "level/document.h"
#include "map/map_state.h"

namespace slab {

// "Rotate": an eighth of a turn further, wrapping into the signed 16-bit range (eight clicks
// come back). An AI object turns the low 16 bits of its angle. Returns the new angle.
std::optional<int16_t> ItemRotate(Document& doc, MapState& state);

// Appends an item after the last one; AI objects keep their own list.
void AddItem(Level& level, const Item& item);

// "Add": an item of object id 0 at the centre of the selected sector, on its floor, appended
// after the last item (so the AI objects' entity numbers move up by one). Returns its index.
std::optional<int> ItemAdd(Document& doc, const MapState& state);

// AllItems lists every object id up to this one (the name table goes further).
inline constexpr int kAllItemsLastId = 373;

// The object type list: the names of the level's moveables in order, or with allItems the
// names of object ids 0 to kAllItemsLastId. Objects without a name give empty lines.
std::vector<std::string> ObjectTypeList(const Level& level, Game gameVersion,
                                        const ObjectNames& names, bool allItems);

// A click on the AllItems box: it flips, and the list is refilled.
std::vector<std::string> ClickAllItems(const Document& doc, MapState& state,
                                       const ObjectNames& names);

// The type list's row of an object id and the object id of a row, both as ObjectTypeList
// orders them; -1 where the list has no such row or object.
int TypeListRow(const Level& level, bool allItems, int objectId);
int TypeListObject(const Level& level, bool allItems, int row);

// Choosing entry `position` of the type list sets the chosen entity's object id: the
// position itself when AllItems is checked, else the id of the moveable at that position.
bool ChooseObjectType(Document& doc, MapState& state, int position);

enum class MoveKey { Up, Down, Left, Right, PageUp, PageDown };

// Which way a move key takes the chosen entity, as the user sees it on the map (which draws
// the first coordinate, X, downwards and the second, Z, to the right), with the change it
// makes: "one sector down the map (X + 1024)".
std::string MoveKeyEffect(MoveKey key);

// What a move key did. AtEdge: the next sector is the room's outer ring, its wall.
enum class MoveResult { Moved, AtEdge, NotMoved };

// Ctrl with an arrow key moves the chosen entity by a sector within its room's inner sectors
// (the outer ring is the room's wall); Ctrl with Page Up / Page Down by 128 units up or
// down. Only with the shift state exactly Ctrl.
MoveResult MoveSelectedEntity(Document& doc, const MapState& state, MoveKey key, int shift);

}  // namespace slab
