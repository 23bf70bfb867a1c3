// The editing commands of the main window as the user gives them: each acts on the
// selection only (the selected sector, the chosen entity), does nothing with a short status
// text when there is none, never moves the selection, and is recorded for undo. After each
// the map is drawn again with the selection kept.
#pragma once

#include <string>
#include <string_view>

#include "level/document.h"
#include "map/edit_history.h"
#include "map/floor_edits.h"
#include "map/item_edits.h"
#include "map/item_panel.h"
#include "map/map_state.h"
#include "platform/messages.h"

namespace slab {

inline constexpr char kNoLevelStatus[] = "No level is open.";
inline constexpr char kNoSectorStatus[] = "Select a sector on the map first.";
inline constexpr char kNoEntityStatus[] = "Choose an item in the sector's item list first.";
inline constexpr char kNothingToUndoStatus[] = "Nothing to undo.";
inline constexpr char kNothingToRedoStatus[] = "Nothing to redo.";
inline constexpr char kNoStaticMeshStatus[] = "Choose a static mesh first.";
inline constexpr char kWallStaticStatus[] =
    "A wall has no floor to stand a static mesh on: choose another sector.";
inline constexpr char kOcbRangeStatus[] =
    "OCB takes a whole number from -32768 to 32767; the item keeps its OCB.";
// The answer that removes an item together with the trigger actions naming it.
inline constexpr char kRemoveActionsToo[] = "Remove the actions too";

struct CommandOutcome {
  const Edit* Done = nullptr;  // the edit made and recorded; null when the level is unchanged
  std::string Status;          // why nothing happened, for the status bar (may be empty)
  explicit operator bool() const { return Done != nullptr; }
};

// "Item 12" or "AI 0": how the Edit menu names an entity.
std::string EntityCaption(const Level& level, int entity);

CommandOutcome FlagCommand(Document& doc, MapState& state, EditHistory& history, ItemFlagBox box);
CommandOutcome OcbCommand(Document& doc, MapState& state, EditHistory& history,
                          std::string_view text);
CommandOutcome RotateCommand(Document& doc, MapState& state, EditHistory& history);
// position: the line chosen in the object type list.
CommandOutcome TypeCommand(Document& doc, MapState& state, EditHistory& history, int position);
CommandOutcome MoveCommand(Document& doc, MapState& state, EditHistory& history, MoveKey key);
// The new item becomes the chosen entity; the selected sector stays selected.
CommandOutcome AddItemCommand(Document& doc, MapState& state, EditHistory& history);
// Named after the game's caption of the button ("Add Minecart Left", "Add Trigger Triggerer").
CommandOutcome MinecartCommand(Document& doc, MapState& state, EditHistory& history,
                               MinecartMode mode, MessageSink& messages);
CommandOutcome WallCommand(Document& doc, MapState& state, EditHistory& history,
                           bool checkedAfterClick);
// Delete, or "Remove" in the item panel: removes the chosen entity. withActions: the user
// agreed that the trigger actions naming it go too (PlanEntityRemoval says whether any do);
// without it such an item stays and Status says why, as it does when the level refuses the
// removal. The entity is no longer chosen; the trigger index follows the renumbering.
CommandOutcome RemoveEntityCommand(Document& doc, MapState& state, EditHistory& history,
                                   bool withActions);
// The same as the user meets it: a level that refuses the removal says why in a box; when
// actions name the item the user is told how many and where, and only their "remove the
// actions too" removes it (and them).
CommandOutcome AskedRemoveCommand(Document& doc, MapState& state, EditHistory& history,
                                  const ObjectNames& names, MessageSink& messages);
// Ctrl+D: a copy of the chosen entity on the selected sector, chosen afterwards.
CommandOutcome DuplicateCommand(Document& doc, MapState& state, EditHistory& history);
// StaticAdd: the static mesh at position `choice` of CurMesh on the selected sector.
CommandOutcome StaticAddCommand(Document& doc, MapState& state, EditHistory& history,
                                const ObjectNames& names, int choice);
// StaticRemove: the static mesh on line `line` of StaticID (the statics of the selected
// sector) goes.
CommandOutcome StaticRemoveCommand(Document& doc, MapState& state, EditHistory& history,
                                   const ObjectNames& names, int line);
// A click in the 3D view chose static mesh `index` of the current room: Delete now removes it.
// False (and nothing chosen) when the room has no such static mesh.
bool ChooseStatic(const Document& doc, MapState& state, int index);
// Delete on the map or in the 3D view: the static mesh a click chose, or else the chosen
// entity as AskedRemoveCommand removes it.
CommandOutcome RemoveChosenCommand(Document& doc, MapState& state, EditHistory& history,
                                   const ObjectNames& names, MessageSink& messages);

// A finished demo recording: the level's demo went from `before` to what it holds now.
void RecordDemoEdit(Document& doc, EditHistory& history, int16_t numBefore,
                    std::vector<int32_t> before);

// Undo and redo keep the selection, except that an entity which no longer exists is
// forgotten (and chosen entities keep their entity as numbers move); the trigger index
// follows the item list and the floor data, and the map is drawn again.
CommandOutcome UndoCommand(Document& doc, MapState& state, EditHistory& history);
CommandOutcome RedoCommand(Document& doc, MapState& state, EditHistory& history);

}  // namespace slab
