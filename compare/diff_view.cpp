#include "compare/diff_view.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "compare/diff_report.h"

namespace slab {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string Counted(size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

DiffLine LineOf(const Change& change) {
  return {ChangeHeadline(change), change.Details,
          DiffPlace{change.Room, change.A, change.B, change.Entity}};
}

}  // namespace

std::vector<DiffGroup> DiffGroups(const LevelDiff& diff) {
  std::vector<DiffGroup> groups;
  // The changes come grouped by room, level-wide ones (-1) first.
  for (size_t i = 0; i < diff.Changes.size();) {
    const int room = diff.Changes[i].Room;
    DiffGroup group;
    for (; i < diff.Changes.size() && diff.Changes[i].Room == room; ++i)
      group.Lines.push_back(LineOf(diff.Changes[i]));
    const std::string count = Counted(group.Lines.size(), "change", "changes");
    group.Heading = room < 0 ? "Level: " + count : "Room " + std::to_string(room) + ": " + count;
    group.Place.Room = room;
    groups.push_back(std::move(group));
  }
  DiffGroup sections;
  for (const SectionDiff& s : diff.Sections)
    if (!s.Equal) sections.Lines.push_back({SectionLine(s), {}, {}});
  if (!sections.Lines.empty()) {
    sections.Heading = "Sections: " + std::to_string(sections.Lines.size()) + " of " +
                       std::to_string(diff.Sections.size()) + " differ";
    groups.push_back(std::move(sections));
  }
  if (!diff.NotCompared.empty()) {
    DiffGroup left{"Not compared (the games differ)", {}, {}};
    for (const std::string& name : diff.NotCompared) left.Lines.push_back({name, {}, {}});
    groups.push_back(std::move(left));
  }
  if (!diff.Notes.empty()) {
    DiffGroup notes{"Notes", {}, {}};
    for (const std::string& note : diff.Notes) notes.Lines.push_back({note, {}, {}});
    groups.push_back(std::move(notes));
  }
  return groups;
}

std::vector<DiffGroup> FilterDiffGroups(const std::vector<DiffGroup>& groups,
                                        std::string_view text) {
  std::vector<std::string> words;
  std::istringstream in{Lower(text)};
  for (std::string word; in >> word;) words.push_back(word);
  if (words.empty()) return groups;

  std::vector<DiffGroup> kept;
  for (const DiffGroup& group : groups) {
    DiffGroup shown{group.Heading, group.Place, {}};
    for (const DiffLine& line : group.Lines) {
      std::string search = Lower(group.Heading) + '\n' + Lower(line.Text);
      for (const std::string& detail : line.Details) search += '\n' + Lower(detail);
      if (std::all_of(words.begin(), words.end(), [&](const std::string& word) {
            return search.find(word) != std::string::npos;
          }))
        shown.Lines.push_back(line);
    }
    if (!shown.Lines.empty()) kept.push_back(std::move(shown));
  }
  return kept;
}

std::vector<SectorSpot> ChangedSectors(const LevelDiff& diff, int room) {
  std::vector<SectorSpot> spots;
  for (const Change& change : diff.Changes)
    if (change.Room == room && change.A >= 0 && change.B >= 0 &&
        change.Kind != ChangeKind::Renumbered)
      spots.push_back({change.A, change.B});
  std::sort(spots.begin(), spots.end());
  spots.erase(std::unique(spots.begin(), spots.end()), spots.end());
  return spots;
}

std::vector<int> ChangedRooms(const LevelDiff& diff) {
  std::vector<int> rooms;
  for (const Change& change : diff.Changes)
    if (change.Room >= 0 && (rooms.empty() || rooms.back() != change.Room))
      rooms.push_back(change.Room);
  std::sort(rooms.begin(), rooms.end());
  rooms.erase(std::unique(rooms.begin(), rooms.end()), rooms.end());
  return rooms;
}

}  // namespace slab
