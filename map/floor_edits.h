// Edits of a sector: the minecart functions added to its floor-data list, and the wall.
#pragma once

#include <cstdint>
#include <span>

#include "level/document.h"
#include "map/map_state.h"
#include "platform/messages.h"

namespace slab {

// Appends whole words (bytes.size() even) at the end of FloorData and returns the index of
// the first one: the word count before the call.
int32_t AppendFloorData(Level& level, std::span<const uint8_t> bytes);

enum class MinecartMode { Stop = 1, Left = 2, Right = 3 };

// The caption of a minecart button: the later games use the same two functions for other
// things and name them so ("Trigger Triggerer", "Clockwise Beatle").
const char* MinecartCaption(Game game, MinecartMode mode);

// A list index must fit the sector's signed 16-bit index; a copy placed at this count or
// beyond could not be reached.
inline constexpr int32_t kFloorDataFull = 32767;
inline constexpr char kFloorDataFullMessage[] =
    "The floor data is full (32767 words): the sector's list was not changed.";

// A click on "Minecart Stop" (both functions), FD20 or FD21: the function words are put in
// front of the selected sector's list, written as a new copy at the end of the floor data
// that the sector then points at; the old words stay where they were. Returns whether
// anything was written; with the floor data full the user is told why not.
bool AddMinecartFunction(Document& doc, const MapState& state, MinecartMode mode,
                         MessageSink& messages);

// The user's click on "Wall": when it left the box checked, the selected sector becomes a
// wall (floor and ceiling 0x81). Unchecking restores nothing. Returns whether bytes changed.
bool FloorWallClick(Document& doc, const MapState& state, bool checkedAfterClick);

}  // namespace slab
