// Items and AI objects. Their lists are aligned rather than compared index by index: the
// editor appends items and a removal closes the gap, so an entry's index is no identity. The
// alignment of least cost that keeps both lists' order wins: one entry removed from the middle
// costs one unpaired entry, where pairing every later entry with its successor costs a pair
// that differs for each.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "compare/diff_context.h"
#include "level/text.h"
#include "map/entity.h"

namespace slab::diff {
namespace {

// Leaving an entry unpaired costs this much; a pair costs a little per field group that
// differs (the type and the position weigh more), and never as much as two unpaired: an entry
// edited in every field in its place is still that entry, not a removal and an addition.
constexpr int kUnpaired = 3;

// Fields of items and AI objects read the same way; an AI object's angle is 32 bits.
struct Entity {
  int ObjectID = 0;
  int Room = 0;
  int64_t X = 0, Y = 0, Z = 0;
  int64_t Angle = 0;
  int Intensity1 = 0;
  int OCB = 0;
  uint16_t Flags = 0;
  bool IsAI = false;
};

Entity Of(const Item& item) {
  return {item.ObjectID, item.Room,       item.X,   item.Y,     item.Z,
          item.Angle,    item.Intensity1, item.OCB, item.Flags, false};
}
Entity Of(const AIObject& ai) {
  return {ai.ObjectID, ai.Room, ai.X, ai.Y, ai.Z, ai.Angle, 0, ai.OCB, ai.Flags, true};
}

int PairCost(const Entity& a, const Entity& b) {
  int cost = 0;
  if (a.ObjectID != b.ObjectID) cost += 2;
  if (a.X != b.X || a.Y != b.Y || a.Z != b.Z) cost += 2;
  if (a.Room != b.Room) ++cost;
  if (a.Angle != b.Angle) ++cost;
  if (a.Flags != b.Flags) ++cost;
  if (a.OCB != b.OCB) ++cost;
  if (a.Intensity1 != b.Intensity1) ++cost;
  return std::min(cost, 2 * kUnpaired - 1);
}

// An angle in degrees as people turn things: 16384 is a quarter turn.
std::string Degrees(int64_t angle) {
  const double degrees = static_cast<double>(static_cast<int16_t>(angle & 0xFFFF)) * 360 / 65536;
  char text[32];
  std::snprintf(text, sizeof text, "%g", std::round(degrees * 100) / 100);
  return text;
}

std::string Angle(int64_t angle) { return std::to_string(angle) + " (" + Degrees(angle) + " deg)"; }

// The flag bits the item panel shows, by name, that differ.
std::string FlagBits(uint16_t a, uint16_t b, bool isAI) {
  std::vector<std::string> bits;
  const int shift = isAI ? kAIMaskShift : kItemMaskShift;
  for (int i = 0; i < 5; ++i) {
    const uint16_t bit = static_cast<uint16_t>(1u << (shift + i));
    if ((a ^ b) & bit)
      bits.push_back("mask " + std::to_string(i + 1) + ((b & bit) ? " set" : " cleared"));
  }
  if (!isAI) {
    if ((a ^ b) & kItemInvisible)
      bits.push_back((b & kItemInvisible) ? "invisible set" : "invisible cleared");
    if ((a ^ b) & kItemClearBody)
      bits.push_back((b & kItemClearBody) ? "clear body set" : "clear body cleared");
  }
  return bits.empty() ? "" : " (" + Join(bits, ", ") + ")";
}

// The name the OCB field goes by: the older games keep a second intensity there.
std::string OcbName(Game game, bool isAI) {
  return isAI || game == Game::TR4 || game == Game::TR5 ? "OCB" : "intensity 2";
}

struct Side {
  const Level& Lvl;
  bool InNew;
  const Entity* Record = nullptr;
  int Index = -1;
};

std::string SectorText(const Side& side) {
  int a = 0, b = 0;
  if (!side.Record || !SectorOf(side.Lvl, side.Record->Room, side.Record->X, side.Record->Z, a, b))
    return "none";
  return SectorPlace(a, b);
}

void Describe(const Context& context, const Side& before, const Side& after, Lines& lines) {
  const Entity& a = *before.Record;
  const Entity& b = *after.Record;
  if (a.ObjectID != b.ObjectID)
    lines.Add("type", "type " + Arrow(TypeText(context, false, a.ObjectID),
                                      TypeText(context, true, b.ObjectID)));
  lines.Field("room", "room", a.Room, b.Room);
  if (a.X != b.X || a.Y != b.Y || a.Z != b.Z) {
    lines.Add("position", "position " + Arrow(Position(a.X, a.Y, a.Z), Position(b.X, b.Y, b.Z)));
    const std::string from = SectorText(before), to = SectorText(after);
    if (from != to || a.Room != b.Room) lines.Add("position", "sector " + Arrow(from, to));
  }
  if (a.Angle != b.Angle) lines.Add("angle", "angle " + Arrow(Angle(a.Angle), Angle(b.Angle)));
  if (a.Flags != b.Flags)
    lines.Add("flags", "flags " + Arrow(Hex(a.Flags, 4), Hex(b.Flags, 4)) +
                           FlagBits(a.Flags, b.Flags, a.IsAI));
  if (a.OCB != b.OCB) {
    const std::string oldName = OcbName(context.OldGame, a.IsAI);
    const std::string newName = OcbName(context.NewGame, a.IsAI);
    lines.Add(newName, oldName == newName ? newName + " " + Arrow(a.OCB, b.OCB)
                                          : Arrow(oldName + " " + std::to_string(a.OCB),
                                                  newName + " " + std::to_string(b.OCB)));
  }
  lines.Field("intensity", "intensity", a.Intensity1, b.Intensity1);
}

// What an entry that is in one level only was: "type 35 (Door), room 3, sector 1,4, (x, y, z)".
std::string Whole(const Context& context, const Side& side) {
  const Entity& e = *side.Record;
  return "type " + TypeText(context, side.InNew, e.ObjectID) + ", room " + std::to_string(e.Room) +
         ", sector " + SectorText(side) + ", position " + Position(e.X, e.Y, e.Z) + ", angle " +
         Angle(e.Angle) + ", flags " + Hex(e.Flags, 4) + ", " +
         OcbName(side.InNew ? context.NewGame : context.OldGame, e.IsAI) + " " +
         std::to_string(e.OCB) + (e.IsAI ? "" : ", intensity " + std::to_string(e.Intensity1));
}

std::string NameOf(const Context& context, const Side& side) {
  const auto name = ObjectName(context.Names, side.Record->ObjectID,
                               side.InNew ? context.NewGame : context.OldGame);
  return name && !name->empty() ? " (" + std::string(*name) + ")" : "";
}

template <typename Record>
void CompareList(const Context& context, const std::vector<Record>& oldList,
                 const std::vector<Record>& newList, const Pairing& pairing, bool ai,
                 std::vector<Change>& out) {
  std::vector<Entity> olds, news;
  for (const Record& r : oldList) olds.push_back(Of(r));
  for (const Record& r : newList) news.push_back(Of(r));
  const char* noun = ai ? "AI " : "item ";
  const int newBase = ai ? static_cast<int>(context.New.Items.size()) : 0;
  auto make = [&](ChangeKind kind, const Side& shown) {
    Change change;
    change.Kind = kind;
    change.Subject = ai ? ChangeSubject::AIObject : ChangeSubject::Item;
    change.Room = shown.Record->Room;
    int a = 0, b = 0;
    if (SectorOf(shown.Lvl, shown.Record->Room, shown.Record->X, shown.Record->Z, a, b))
      change.A = a, change.B = b;
    return change;
  };
  // Removed entries first, in the old level's order, then the new level's entries.
  for (size_t i = 0; i < olds.size(); ++i) {
    if (pairing.OldToNew[i] != -1) continue;
    const Side side{context.Old, false, &olds[i], static_cast<int>(i)};
    Change change = make(ChangeKind::Removed, side);
    change.OldIndex = static_cast<int>(i);
    change.Where = PlaceText(change) + ", " + noun + std::to_string(i) + NameOf(context, side);
    change.Summary = "removed";
    change.Details.push_back("was " + Whole(context, side));
    out.push_back(std::move(change));
  }
  for (size_t j = 0; j < news.size(); ++j) {
    const Side after{context.New, true, &news[j], static_cast<int>(j)};
    const int i = pairing.NewToOld[j];
    Change change;
    if (i == -1) {
      change = make(ChangeKind::Added, after);
      change.Where = PlaceText(change) + ", " + noun + std::to_string(j) + NameOf(context, after);
      change.Summary = "added";
      change.Details.push_back("is " + Whole(context, after));
    } else {
      const Side before{context.Old, false, &olds[i], i};
      Lines lines;
      Describe(context, before, after, lines);
      if (lines.Empty()) continue;
      change = make(ChangeKind::Changed, after);
      change.OldIndex = i;
      change.Where = PlaceText(change) + ", " + noun + std::to_string(i) +
                     (i == static_cast<int>(j) ? "" : " -> " + std::to_string(j)) +
                     NameOf(context, after);
      change.Summary = lines.Summary();
      change.Details = lines.TakeDetails();
    }
    change.NewIndex = static_cast<int>(j);
    change.Entity = newBase + static_cast<int>(j);
    out.push_back(std::move(change));
  }
}

template <typename Record>
Pairing Align(const std::vector<Record>& oldList, const std::vector<Record>& newList) {
  return AlignInOrder(
      oldList.size(), newList.size(),
      [&](size_t i, size_t j) { return PairCost(Of(oldList[i]), Of(newList[j])); }, kUnpaired);
}

}  // namespace

void CompareItems(Context& context, std::vector<Change>& out) {
  context.Items = Align(context.Old.Items, context.New.Items);
  CompareList(context, context.Old.Items, context.New.Items, context.Items, false, out);
  const Pairing ai = Align(context.Old.AIObjects, context.New.AIObjects);
  CompareList(context, context.Old.AIObjects, context.New.AIObjects, ai, true, out);
}

}  // namespace slab::diff
