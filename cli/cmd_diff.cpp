// diff: what differs between two levels, room by room, sector by sector, item by item.
// Exit status as comparison tools have it: 0 equal, 1 different, 2 a file refused.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/cli_common.h"
#include "compare/diff_report.h"
#include "compare/level_diff.h"
#include "level/text.h"

namespace slab::cli {

namespace {

using nlohmann::ordered_json;

const char* SubjectWord(ChangeSubject subject) {
  switch (subject) {
    case ChangeSubject::Room:
      return "room";
    case ChangeSubject::Geometry:
      return "geometry";
    case ChangeSubject::Portal:
      return "portal";
    case ChangeSubject::Light:
      return "light";
    case ChangeSubject::Static:
      return "static";
    case ChangeSubject::Sector:
      return "sector";
    case ChangeSubject::Item:
      return "item";
    case ChangeSubject::AIObject:
      return "ai_object";
  }
  return "room";
}

// Absent places are null rather than -1, so a script need not know the convention.
ordered_json OrNull(int value) { return value < 0 ? ordered_json(nullptr) : ordered_json(value); }

ordered_json DiffJson(const LevelDiff& diff, const std::string& oldFile,
                      const std::string& newFile) {
  ordered_json changes = ordered_json::array();
  for (const Change& c : diff.Changes)
    changes.push_back(
        {{"kind", KindWord(c.Kind)},
         {"subject", SubjectWord(c.Subject)},
         {"room", OrNull(c.Room)},
         {"a", OrNull(c.A)},
         {"b", OrNull(c.B)},
         {"sector", c.A < 0 ? ordered_json(nullptr) : ordered_json(SectorPlace(c.A, c.B))},
         {"old_index", OrNull(c.OldIndex)},
         {"new_index", OrNull(c.NewIndex)},
         {"entity", OrNull(c.Entity)},
         {"where", c.Where},
         {"summary", c.Summary},
         {"details", c.Details}});
  ordered_json sections = ordered_json::array();
  for (const SectionDiff& s : diff.Sections)
    sections.push_back({{"name", s.Name},
                        {"old_count", s.OldCount},
                        {"new_count", s.NewCount},
                        {"equal", s.Equal},
                        {"differing", s.Differing},
                        {"differing_count", s.DifferingCount}});
  return {{"old", oldFile},
          {"new", newFile},
          {"old_game", GameNumber(diff.OldGame)},
          {"new_game", GameNumber(diff.NewGame)},
          {"equal", diff.Equal()},
          {"old_rooms", diff.OldRooms},
          {"new_rooms", diff.NewRooms},
          {"old_items", diff.OldItems},
          {"new_items", diff.NewItems},
          {"changes", std::move(changes)},
          {"sections", std::move(sections)},
          {"not_compared", diff.NotCompared},
          {"notes", diff.Notes}};
}

}  // namespace

void AddDiffCommand(CLI::App& app, Job& job, const std::string& programFolder) {
  auto* cmd = app.add_subcommand(
      "diff",
      "Compare two levels, A the old version and B the new one: what changed, room by room, "
      "sector by sector, item by item (exit 0 equal, 1 different, 2 a file refused or a usage "
      "error)");
  struct Args {
    std::string Old, New;
    bool Json = false, Brief = false;
  };
  auto args = std::make_shared<Args>();
  cmd->add_option("A", args->Old, "The old level file")->required();
  cmd->add_option("B", args->New, "The new level file")->required();
  cmd->add_flag("--json", args->Json, "Print JSON: every change with its place, every section");
  cmd->add_flag("--brief", args->Brief, "One line per changed thing");
  cmd->callback([&job, args, programFolder] {
    job = [args, programFolder] {
      FileMessages oldMessages(args->Old), newMessages(args->New);
      const auto oldLevel = LoadForCli(args->Old, oldMessages);
      const auto newLevel = LoadForCli(args->New, newMessages);
      if (!oldLevel || !newLevel) return kExitFailed;
      const ObjectNames names = LoadObjectNames(programFolder, newMessages);
      const LevelDiff diff = CompareLevels(oldLevel->Result.Lvl, oldLevel->GameVersion,
                                           newLevel->Result.Lvl, newLevel->GameVersion, names);
      if (args->Json)
        std::cout << DiffJson(diff, args->Old, args->New).dump(2) << "\n";
      else
        std::cout << DiffReport(diff, args->Brief);
      return diff.Equal() ? kExitOk : kExitDifferent;
    };
  });
}

}  // namespace slab::cli
