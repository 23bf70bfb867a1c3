// The item panel: what it shows for the entity chosen in the sector's item list, and the
// edits of its check boxes and its OCB box.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "level/document.h"
#include "map/map_state.h"

namespace slab {

struct ItemPanelView {
  std::string Caption;  // "Item 5 - ObjectID 12", "AI 0 - ObjectID 3"
  std::string ItemOCB;
  // Items only; for an AI object the label keeps its text.
  std::optional<std::string> ItemNumTriggers;
  ItemFlagColours Colours;
};

// Choosing line `line` of SecCurItem. Makes its entity the target of the panel's edits and,
// for an item, the entity "Next Trigger" follows, from its first trigger.
std::optional<ItemPanelView> SelectEntity(const Document& doc, MapState& state, int line);

// What the panel shows for the chosen entity as the level holds it now (after an edit, undo
// or redo); nothing when no entity is chosen. The flag colours are taken from the record.
std::optional<ItemPanelView> ItemPanelFor(const Document& doc, MapState& state);

// The seven check boxes whose text colour shows a flag bit.
enum class ItemFlagBox { Active0, Active1, Active2, Active3, Active4, Invisible, ClearBody };

// A click on one of the boxes: its colour flips, and the chosen entity's whole flags word is
// rebuilt from the colours (bits no box shows are cleared). Nothing without a chosen entity.
std::optional<ItemFlagColours> ToggleItemFlag(Document& doc, MapState& state, ItemFlagBox box);

// The OCB box's text as a number: leading blanks, a sign and the leading digits; anything
// else reads 0. Kept to 16 bits as the field holds them, so "65535" is -1.
int16_t OcbFromText(std::string_view text);

// What the OCB box lets a user type: a whole number from -32768 to 32767 after any blanks
// (the box shows numbers with a leading blank). An empty text or a lone sign is the start of
// one; anything else, such as "70000" or "12a3", cannot be entered.
enum class OcbText { Acceptable, Unfinished, Refused };
OcbText CheckOcbText(std::string_view text);

// The user changed the OCB box's text. Returns whether the entity's OCB changed.
bool SetItemOCB(Document& doc, MapState& state, std::string_view text);

}  // namespace slab
