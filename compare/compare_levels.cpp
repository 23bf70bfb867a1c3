#include <algorithm>

#include "compare/diff_context.h"

namespace slab {

bool LevelDiff::Equal() const { return OldGame == NewGame && ComparedPartsEqual(); }

bool LevelDiff::ComparedPartsEqual() const {
  return Changes.empty() && std::all_of(Sections.begin(), Sections.end(),
                                        [](const SectionDiff& s) { return s.Equal; });
}

const char* KindWord(ChangeKind kind) {
  switch (kind) {
    case ChangeKind::Added:
      return "added";
    case ChangeKind::Removed:
      return "removed";
    case ChangeKind::Changed:
      return "changed";
    case ChangeKind::Renumbered:
      return "renumbered";
  }
  return "changed";
}

LevelDiff CompareLevels(const Level& oldLevel, Game oldGame, const Level& newLevel, Game newGame,
                        const ObjectNames& names) {
  diff::Context context{oldLevel, oldGame, newLevel,
                        newGame,  names,   oldGame == newGame,
                        {},       true,    oldLevel.FloorData == newLevel.FloorData};

  LevelDiff result;
  result.OldGame = oldGame;
  result.NewGame = newGame;
  result.OldRooms = static_cast<int64_t>(oldLevel.Rooms.size());
  result.NewRooms = static_cast<int64_t>(newLevel.Rooms.size());
  result.OldItems = static_cast<int64_t>(oldLevel.Items.size());
  result.NewItems = static_cast<int64_t>(newLevel.Items.size());

  // Items first: the sectors read their trigger actions through the items' pairing.
  std::vector<Change> items;
  diff::CompareItems(context, items);
  const auto& map = context.Items.OldToNew;
  for (size_t i = 0; i < map.size() && context.ItemNumbersKept; ++i)
    context.ItemNumbersKept = map[i] == static_cast<int>(i);

  diff::CompareRooms(context, result.Changes);
  result.Changes.insert(result.Changes.end(), std::make_move_iterator(items.begin()),
                        std::make_move_iterator(items.end()));
  std::stable_sort(result.Changes.begin(), result.Changes.end(),
                   [](const Change& a, const Change& b) {
                     if (a.Room != b.Room) return a.Room < b.Room;
                     return a.Subject < b.Subject;
                   });
  diff::CompareSections(context, result.Sections, result.Notes);
  if (!context.SameGame) result.NotCompared = diff::SectionsNotCompared();
  return result;
}

}  // namespace slab
