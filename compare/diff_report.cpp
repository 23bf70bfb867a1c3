#include "compare/diff_report.h"

#include <algorithm>

#include "level/game.h"

namespace slab {
namespace {

std::string EntryList(const SectionDiff& section) {
  std::string text;
  for (int64_t entry : section.Differing) {
    if (!text.empty()) text += ", ";
    text += std::to_string(entry);
  }
  const int64_t more = section.DifferingCount - static_cast<int64_t>(section.Differing.size());
  if (more > 0) text += " and " + std::to_string(more) + " more";
  return text;
}

std::string RoomHeading(int room) { return room < 0 ? "level" : "room " + std::to_string(room); }

}  // namespace

std::string ChangeHeadline(const Change& change) {
  std::string line = change.Where + ": " + KindWord(change.Kind);
  if ((change.Kind == ChangeKind::Changed || change.Kind == ChangeKind::Renumbered) &&
      !change.Summary.empty())
    line += " (" + change.Summary + ")";
  return line;
}

std::string SectionLine(const SectionDiff& section) {
  std::string line = section.Name + ": " + std::to_string(section.OldCount) + " -> " +
                     std::to_string(section.NewCount);
  if (section.Equal) return line + ", equal";
  if (section.DifferingCount > 0)
    return line + ", " +
           (section.Name == "texture pages" || section.Name == "further pages" ? "pages"
                                                                               : "entries") +
           " differ: " + EntryList(section);
  return line + ", differs";
}

std::string DiffReport(const LevelDiff& diff, bool brief) {
  std::string text;
  auto line = [&](const std::string& indent, const std::string& content) {
    text += indent + content + "\n";
  };
  size_t differingSections = 0;
  for (const SectionDiff& s : diff.Sections) differingSections += s.Equal ? 0 : 1;

  if (brief) {
    for (const Change& change : diff.Changes) line("", ChangeHeadline(change));
    for (const SectionDiff& s : diff.Sections)
      if (!s.Equal) line("", SectionLine(s));
    return text;
  }

  if (diff.OldGame != diff.NewGame)
    line("", "games " + std::to_string(GameNumber(diff.OldGame)) + " -> " +
                 std::to_string(GameNumber(diff.NewGame)) +
                 ": rooms, sectors, floor data and items compared");
  line("", "rooms " + std::to_string(diff.OldRooms) + " -> " + std::to_string(diff.NewRooms) +
               ", items " + std::to_string(diff.OldItems) + " -> " + std::to_string(diff.NewItems));
  int room = -2;
  for (const Change& change : diff.Changes) {
    if (change.Room != room) {
      room = change.Room;
      line("", RoomHeading(room));
    }
    line("  ", ChangeHeadline(change));
    for (const std::string& detail : change.Details) line("    ", detail);
  }
  if (differingSections > 0) {
    line("", "sections");
    for (const SectionDiff& s : diff.Sections)
      if (!s.Equal) line("  ", SectionLine(s));
  }
  if (!diff.Sections.empty())
    line("", std::to_string(diff.Sections.size() - differingSections) + " of " +
                 std::to_string(diff.Sections.size()) + " other sections equal");
  if (!diff.NotCompared.empty()) {
    std::string names;
    for (const std::string& name : diff.NotCompared) names += (names.empty() ? "" : ", ") + name;
    line("", "not compared (the games differ): " + names);
  }
  for (const std::string& note : diff.Notes) line("note: ", note);
  line("", DiffSummary(diff));
  return text;
}

std::string DiffSummary(const LevelDiff& diff) {
  if (diff.Equal()) return "equal";
  if (diff.ComparedPartsEqual())
    return "rooms, sectors, floor data and items equal; the games differ";
  const auto differing = std::count_if(diff.Sections.begin(), diff.Sections.end(),
                                       [](const SectionDiff& s) { return !s.Equal; });
  return std::to_string(diff.Changes.size()) +
         (diff.Changes.size() == 1 ? " change, " : " changes, ") + std::to_string(differing) +
         (differing == 1 ? " section differs" : " sections differ");
}

}  // namespace slab
