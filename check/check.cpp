#include "check/check.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "check/check_context.h"
#include "level/text.h"

namespace slab {
namespace {

using enum Severity;

// Severities were set against the official levels: a rule that fires on many sectors of levels
// that shipped and played for decades is a note at most.
constexpr CheckInfo kChecks[] = {
    {"portal-room", Error, "Portals", "a portal leads to a room the level does not have"},
    {"portal-self", Warning, "Portals", "a portal leads to its own room"},
    {"portal-back", Warning, "Portals", "the room a portal leads to has no portal back"},
    {"portal-plane", Note, "Portals", "a portal's way back does not lie in its plane"},
    {"portal-corners", Note, "Portals", "a portal's way back has other corners"},
    {"portal-normal", Warning, "Portals", "a portal's normal is not along one axis"},
    {"floor-index", Error, "Floor data", "a sector's floor data starts past its end"},
    {"floor-end", Error, "Floor data", "a sector's list runs off the end of the floor data"},
    {"floor-function", Error, "Floor data", "a list holds a function the game does not know"},
    {"floor-triggers", Warning, "Floor data", "a list holds more than one trigger"},
    {"sector-portal-room", Error, "Floor data", "a sector's portal leads to no room"},
    {"room-below", Error, "Rooms above and below", "the room below does not exist"},
    {"room-above", Error, "Rooms above and below", "the room above does not exist"},
    {"room-below-back", Note, "Rooms above and below", "the room below does not link back up"},
    {"room-above-back", Note, "Rooms above and below", "the room above does not link back down"},
    {"room-loop", Error, "Rooms above and below", "rooms below (or above) lead round in a loop"},
    {"trigger-item", Error, "Trigger actions", "an action names an item the level lacks"},
    {"trigger-camera", Error, "Trigger actions", "a camera action names no camera"},
    {"trigger-sink", Error, "Trigger actions", "a sink action names no sink"},
    {"trigger-flyby", Error, "Trigger actions", "a fly-by action names no fly-by sequence"},
    {"trigger-first-action", Warning, "Trigger actions",
     "a switch, key or pickup trigger does not start with an object action"},
    {"trigger-first-item", Warning, "Trigger actions",
     "a switch, key or pickup trigger's item stands away from it"},
    {"trigger-alone", Note, "Trigger actions",
     "a switch or key trigger does nothing but name its switch or keyhole"},
    {"item-room", Error, "Items", "an item stands in a room the level lacks"},
    {"item-model", Warning, "Items", "an item's type has no model or sprite"},
    {"item-outside", Warning, "Items", "an item stands outside its room's sectors"},
    {"item-wall", Warning, "Items", "an item stands inside a wall"},
    {"item-height", Note, "Items", "an item stands below the floor or above the ceiling"},
    {"lara-count", Warning, "Items", "a level with Lara's model has no Lara or more than one"},
    {"texture-room", Error, "Textures", "a room face names an object texture the level lacks"},
    {"texture-mesh", Error, "Textures", "a mesh face names an object texture the level lacks"},
    {"texture-page", Error, "Textures", "an object texture lies on a page the level lacks"},
    {"texture-animated", Error, "Textures", "an animated-texture range leaves its lists"},
    {"sprite-room", Error, "Sprites and statics", "a room sprite names what the level lacks"},
    {"sprite-sequence", Error, "Sprites and statics", "a sprite sequence leaves the sprite table"},
    {"static-undefined", Warning, "Sprites and statics",
     "a placed static names a static mesh the level does not define"},
    {"static-mesh", Error, "Sprites and statics", "a static mesh names a mesh the level lacks"},
    {"static-box", Note, "Sprites and statics",
     "a static mesh's box has a minimum above its maximum"},
    {"box-index", Error, "Boxes", "a sector names a box the level lacks"},
    {"box-overlaps", Error, "Boxes", "a box's overlaps leave the overlap list or name no box"},
    {"flip-room", Error, "Flipped rooms", "a room's alternate does not exist"},
    {"flip-self", Warning, "Flipped rooms", "a room is its own alternate"},
    {"flip-shared", Warning, "Flipped rooms", "two rooms share one alternate"},
    {"flip-place", Warning, "Flipped rooms", "an alternate lies elsewhere or has another grid"},
    {"flip-trigger", Warning, "Flipped rooms",
     "a base room's sector has a trigger its alternate's sector lacks"},
    {"mesh-data", Error, "Models and animations", "a mesh lies outside the mesh data"},
    {"model-mesh", Error, "Models and animations", "a model's meshes leave the mesh pointers"},
    {"model-tree", Error, "Models and animations", "a model's mesh tree leaves the mesh trees"},
    {"model-frames", Error, "Models and animations", "a model's frames leave the frame list"},
    {"model-animation", Error, "Models and animations",
     "a model names an animation the level lacks"},
    {"anim-frames", Error, "Models and animations", "an animation's frames leave the frame list"},
    {"anim-next", Error, "Models and animations", "an animation leads to one the level lacks"},
    {"anim-next-frame", Note, "Models and animations",
     "an animation leads to a frame outside the next animation"},
    {"anim-states", Error, "Models and animations",
     "state changes or dispatches leave their lists"},
    {"anim-dispatch", Warning, "Models and animations",
     "a dispatch leads to an animation the level lacks"},
    {"anim-commands", Error, "Models and animations", "animation commands leave their list"},
    {"anim-frame-size", Note, "Models and animations", "an animation has a frame size of 0"},
    {"sound-map", Error, "Sound", "a sound-map entry names a sound detail the level lacks"},
    {"sound-samples", Error, "Sound", "a sound detail's samples leave the sample list"},
    {"sound-source", Error, "Sound", "a sound source plays a sound past the sound map"},
    {"sound-source-none", Warning, "Sound", "a sound source plays a sound the level leaves empty"},
    {"limit-vertices", Error, "Engine limits", "a room has more vertices than the game holds"},
    {"limit-items", Error, "Engine limits", "the level has more items than the game holds"},
    {"trigger-repeat", Note, "Gameplay", "one trigger names the same item twice"},
    {"secret-shared", Warning, "Gameplay", "one secret is given in two rooms"},
    {"sector-portal-place", Warning, "Gameplay",
     "a sector's portal leads to a room that does not hold the sector"},
    {"music-repeat", Note, "Gameplay", "a floor trigger plays music and is not one-shot"},
};

const CheckInfo* Find(std::string_view id) {
  for (const CheckInfo& info : kChecks)
    if (info.Id == id) return &info;
  return nullptr;
}

std::string_view RecordWord(Record what) {
  switch (what) {
    case Record::None:
      return "";
    case Record::RoomRectangle:
      return "rectangle";
    case Record::RoomTriangle:
      return "triangle";
    case Record::RoomSprite:
      return "sprite";
    case Record::Box:
      return "box";
    case Record::ObjectTexture:
      return "object texture";
    case Record::AnimatedTextures:
      return "animated textures, word";
    case Record::SpriteSequence:
      return "sprite sequence";
    case Record::Model:
      return "model";
    case Record::Mesh:
      return "mesh";
    case Record::StaticMesh:
      return "static mesh";
    case Record::Animation:
      return "animation";
    case Record::StateChange:
      return "state change";
    case Record::SoundMap:
      return "sound map, entry";
    case Record::SoundDetail:
      return "sound detail";
    case Record::SoundSource:
      return "sound source";
  }
  return "";
}

}  // namespace

std::string_view SeverityName(Severity severity) {
  switch (severity) {
    case Error:
      return "error";
    case Warning:
      return "warning";
    case Note:
      return "note";
  }
  return "note";
}

std::string PlaceText(const Place& p) {
  std::string text;
  auto add = [&](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
  if (p.Room >= 0) add("room " + std::to_string(p.Room));
  if (p.HasSector()) add("sector " + SectorPlace(p.SectorX, p.SectorZ));
  if (p.Portal >= 0) add("portal " + std::to_string(p.Portal));
  if (p.Static >= 0) add("static " + std::to_string(p.Static));
  if (p.Item >= 0) add("item " + std::to_string(p.Item));
  if (p.What != Record::None) add(std::string(RecordWord(p.What)) + " " + std::to_string(p.Index));
  return text.empty() ? "level" : text;
}

std::span<const CheckInfo> CheckList() { return kChecks; }

std::vector<Finding> CheckLevel(const Level& level, Game gameVersion) {
  std::vector<Finding> findings;
  checks::Context c(level, gameVersion, findings);
  checks::CheckPortals(c);
  checks::CheckFloorData(c);
  checks::CheckRoomsAboveBelow(c);
  checks::CheckTriggerActions(c);
  checks::CheckItems(c);
  checks::CheckTextures(c);
  checks::CheckSpritesAndStatics(c);
  checks::CheckBoxes(c);
  checks::CheckFlippedRooms(c);
  checks::CheckModels(c);
  checks::CheckSound(c);
  checks::CheckEngineLimits(c);
  checks::CheckGameplay(c);
  return findings;
}

SeverityCounts CountSeverities(std::span<const Finding> findings) {
  SeverityCounts counts;
  for (const Finding& f : findings) {
    if (f.Level == Error) ++counts.Errors;
    if (f.Level == Warning) ++counts.Warnings;
    if (f.Level == Note) ++counts.Notes;
  }
  return counts;
}

std::string CountsText(const SeverityCounts& counts) {
  std::string text;
  auto add = [&](int n, const char* one, const char* many) {
    if (n == 0) return;
    text += (text.empty() ? "" : ", ") + checks::Count(static_cast<size_t>(n), one, many);
  };
  add(counts.Errors, "error", "errors");
  add(counts.Warnings, "warning", "warnings");
  add(counts.Notes, "note", "notes");
  return text.empty() ? "No problems found" : text;
}

std::vector<Finding> NewErrors(std::span<const Finding> before, std::span<const Finding> now) {
  using Key = std::tuple<std::string_view, std::string>;
  std::map<Key, int> had;
  for (const Finding& f : before)
    if (f.Level == Error) ++had[{f.Check, PlaceText(f.Where)}];
  std::vector<Finding> added;
  for (const Finding& f : now) {
    if (f.Level != Error) continue;
    int& left = had[{f.Check, PlaceText(f.Where)}];
    if (left > 0)
      --left;
    else
      added.push_back(f);
  }
  return added;
}

std::string NewErrorsQuestion(std::span<const Finding> added) {
  if (added.empty()) return {};
  const std::string what =
      added.size() == 1 ? "an error" : std::to_string(added.size()) + " errors";
  return "Saving leaves " + what + " the level did not have when it was opened" +
         (added.size() == 1 ? ":" : ", the first:") + "\n\n" + added[0].Message +
         "\n\nSave anyway?";
}

namespace checks {

Context::Context(const Level& level, Game gameVersion, std::vector<Finding>& out)
    : L(level), G(gameVersion), out_(out) {
  const size_t words = level.FloorData.size() / 2;
  ForEachSector(level, [&](int r, const Room&, int x, int z, const Sector& sector) {
    if (sector.FDIndex != 0 && sector.FDIndex < words)
      lists_.push_back({r, x, z, GetFloorList(level, sector.FDIndex)});
  });
}

void Context::Add(std::string_view check, const Place& where, std::string message) {
  const CheckInfo* info = Find(check);
  out_.push_back({info ? info->Id : std::string_view("unknown"), info ? info->Level : Error, where,
                  Sentence(std::move(message))});
}

std::string RoomText(int room) { return "Room " + std::to_string(room); }

std::string SectorText(const SectorList& s) {
  return RoomText(s.Room) + "'s sector " + SectorPlace(s.X, s.Z);
}

std::string Count(size_t n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

std::string LevelHas(size_t n, std::string_view one, std::string_view many) {
  return "; the level has " + Count(n, one, many);
}

std::string GameText(Game game) {
  switch (game) {
    case Game::TR1:
      return "the first game";
    case Game::TR2:
      return "the second game";
    case Game::TR3:
      return "the third game";
    case Game::TR4:
      return "the fourth game";
    case Game::TR5:
      return "the fifth game";
    default:
      return "the game";
  }
}

bool SectorAtWorld(const Room& room, int64_t x, int64_t z, int& a, int& b) {
  const int64_t dx = x - room.Info.X, dz = z - room.Info.Z;
  if (dx < 0 || dz < 0) return false;
  a = static_cast<int>(dx / kSectorUnits);
  b = static_cast<int>(dz / kSectorUnits);
  return room.HasSector(a, b);
}

}  // namespace checks
}  // namespace slab
