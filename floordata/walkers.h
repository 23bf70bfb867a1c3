// Reading a sector's floor-data list: its portal, its trigger and the trigger's actions,
// its flags, and the extent of the list. Every walker is read-only and never reads a word
// outside FloorData, whatever the words say.
#pragma once

#include <cstdint>
#include <vector>

#include "level/level.h"

namespace slab {

// Function codes of the list entries this program takes something from.
inline constexpr int kFdPortal = 1;
inline constexpr int kFdFloorSlant = 2;
inline constexpr int kFdCeilingSlant = 3;
inline constexpr int kFdTrigger = 4;
inline constexpr int kFdKill = 5;
inline constexpr int kFdClimb = 6;
// 7 to 18: the split floors and ceilings of the third game on (one word of heights each).
inline constexpr int kFdFirstSplit = 7;
inline constexpr int kFdLastSplit = 18;
inline constexpr int kFdMonkey = 19;
inline constexpr int kFdFunction20 = 20;  // minecart left turn, later the trigger-triggerer
inline constexpr int kFdFunction21 = 21;  // minecart right turn, later the clockwise beetle

// Trigger actions that need telling apart.
inline constexpr int kActionObject = 0;
inline constexpr int kActionCamera = 1;
inline constexpr int kActionSink = 2;  // pulls the player towards a sink (a camera record)
inline constexpr int kActionTarget = 6;
inline constexpr int kActionMusic = 8;
inline constexpr int kActionSecret = 10;
inline constexpr int kActionFlyby = 12;

// Trigger types that need telling apart.
inline constexpr int kTriggerFloor = 0;
inline constexpr int kTriggerSwitch = 2;
inline constexpr int kTriggerKey = 3;
inline constexpr int kTriggerPickup = 4;

// An object or target action names an item by its number.
constexpr bool ActionNamesItem(int action) {
  return action == kActionObject || action == kActionTarget;
}

// The bits of a list's words. Every word: the end bit (kFloorDataEnd) marks the last entry,
// or a trigger's last action. A function word: the code, and for a trigger its type.
inline constexpr uint16_t kFdCodeBits = 0x1F;
inline constexpr int kTriggerTypeShift = 8;
inline constexpr uint16_t kTriggerTypeBits = 0x7F;
// A trigger's setup word: the timer, the one-shot bit and the five activation-mask bits.
inline constexpr uint16_t kSetupTimerBits = 0xFF;
inline constexpr uint16_t kSetupOneShot = 0x100;
inline constexpr uint16_t kSetupMaskBits = 0x3E00;
inline constexpr int kSetupMaskShift = 9;
// An action word: its kind, and the parameter below it. The games read ten bits as the item
// an object action names; the panel and the lists read nine, as the program always has, and
// no level has been seen to set the tenth: edits that renumber items keep all ten.
inline constexpr uint16_t kActionKindBits = 0x3C00;
inline constexpr int kActionKindShift = 10;
inline constexpr uint16_t kActionParamBits = 0x1FF;
inline constexpr uint16_t kActionItemBits = 0x3FF;

constexpr int FunctionCode(uint16_t function) { return function & kFdCodeBits; }
constexpr int TriggerTypeOf(uint16_t function) {
  return (function >> kTriggerTypeShift) & kTriggerTypeBits;
}
constexpr int ActionKindOf(uint16_t action) {
  return (action & kActionKindBits) >> kActionKindShift;
}

// Whether the walk knows the function code (every game's codes together); the walk ends a
// list at one it does not.
bool KnownFunctionCode(int code);

// One action of a trigger. Every action of one trigger carries that trigger's type and
// its whole setup word.
struct TriggerEntry {
  int16_t TriggerType = 0;
  int16_t Setup = 0;
  int16_t Action = 0;
  int16_t Param = 0;
};

// The first trigger of a list packed as TriggerType + 32 Param + 16384 Action, or
// kNoTrigger. Types of 32 and more spill into the parameter bits; the games use 0..12.
using TriggerCode = int32_t;
inline constexpr TriggerCode kNoTrigger = -1;

constexpr TriggerCode MakeTriggerCode(int type, int param, int action) {
  return type + 32 * param + 16384 * action;
}

// What a sector's list says about the square, as bits.
using SectorFlags = uint8_t;
inline constexpr SectorFlags kFlagClimbSides = 0x0F;  // sides 1, 2, 4, 8 of function 6
inline constexpr SectorFlags kFlagMonkey = 16;
inline constexpr SectorFlags kFlagFunction20 = 32;
inline constexpr SectorFlags kFlagFunction21 = 64;
inline constexpr SectorFlags kFlagKill = 128;

// The list of a sector starts at word fdIndex. The index is read as a signed 16-bit value;
// 0, a negative index or one above NumFloorData means the sector has no list.

// The adjoining room of the first portal entry (0..255), or -1.
int GetDoor(const Level& level, uint16_t fdIndex);

// The first trigger's type with its first action, or kNoTrigger.
TriggerCode GetFirstTrigger(const Level& level, uint16_t fdIndex);

// One entry per action of every trigger of the list, in list order.
std::vector<TriggerEntry> GetTriggerList(const Level& level, uint16_t fdIndex);

SectorFlags GetSectorFlags(const Level& level, uint16_t fdIndex);

// Whether a trigger of the list acts on the item as an object or as a target.
bool SectorHasObjectTrigger(const Level& level, uint16_t fdIndex, int item);

// The bytes of the whole list, from its first word to the last word of its last entry.
std::vector<uint8_t> CopySectorFloorData(const Level& level, uint16_t fdIndex);

// Whether the list ends as the games expect: every entry of a known code and whole inside the
// floor data (a camera or fly-by action with its second word), the last one marked.
bool ListEndsSoundly(const Level& level, uint16_t fdIndex);

// One entry of a list: where its words lie among the list's words, and for a trigger its
// actions with the place of each action word.
struct FloorEntry {
  int Code = 0;       // the function code, 1..31
  size_t First = 0;   // its function word, counted from the list's start
  size_t Length = 0;  // its words
  std::vector<TriggerEntry> Actions;
  std::vector<size_t> ActionAt;  // each action's word, counted from the list's start
};

// A sector's whole list: the words CopySectorFloorData copies, split into entries as every
// walker reads them.
struct FloorList {
  std::vector<uint16_t> Words;
  std::vector<FloorEntry> Entries;
};
FloorList GetFloorList(const Level& level, uint16_t fdIndex);

// Over every sector of every room: how many hold a trigger action and how many trigger
// actions they hold together.
struct TriggerCounts {
  int64_t SectorsWithTrigger = 0;
  int64_t TriggerActions = 0;
};
TriggerCounts CountLevelTriggers(const Level& level);

}  // namespace slab
