// check: what is wrong with a level, one finding per line, before a game finds it.
// Exit status: 0 no error, 1 errors found, 2 the file was refused (or a usage error).
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "check/check.h"
#include "cli/cli_common.h"
#include "level/text.h"

namespace slab::cli {
namespace {

using nlohmann::ordered_json;

ordered_json OrNull(int value) { return value < 0 ? ordered_json(nullptr) : ordered_json(value); }

ordered_json FindingJson(const Finding& f) {
  const Place& p = f.Where;
  return {{"severity", SeverityName(f.Level)},
          {"check", f.Check},
          {"place", PlaceText(p)},
          {"room", OrNull(p.Room)},
          {"sector",
           p.HasSector() ? ordered_json(SectorPlace(p.SectorX, p.SectorZ)) : ordered_json(nullptr)},
          {"portal", OrNull(p.Portal)},
          {"static", OrNull(p.Static)},
          {"item", OrNull(p.Item)},
          {"message", f.Message}};
}

}  // namespace

void AddCheckCommand(CLI::App& app, Job& job) {
  auto* cmd = app.add_subcommand(
      "check",
      "Check a level for what a game would meet as a crash or a broken game: one finding per "
      "line, its severity, check, place and what proves it. An error is data a game reads out "
      "of range or follows to nothing; a warning, data that loads but breaks play or is very "
      "likely not meant; a note, unusual but harmless data (exit 0 no error, 1 errors found, 2 "
      "the file was refused or a usage error)");
  struct Args {
    std::string File;
    bool Json = false;
    std::string MinSeverity = "note";
  };
  auto args = std::make_shared<Args>();
  cmd->add_option("FILE", args->File, "Level file")->required();
  cmd->add_flag("--json", args->Json, "Print a JSON array of the findings");
  cmd->add_option("--min-severity", args->MinSeverity,
                  "Leave out findings below this severity (the exit status still counts errors)")
      ->check(CLI::IsMember({"error", "warning", "note"}));
  cmd->callback([&job, args] {
    job = [args] {
      FileMessages messages(args->File);
      const auto loaded = LoadForCli(args->File, messages);
      if (!loaded) return kExitFailed;
      const std::vector<Finding> findings = CheckLevel(loaded->Result.Lvl, loaded->GameVersion);
      Severity least = Severity::Note;
      for (Severity s : {Severity::Error, Severity::Warning, Severity::Note})
        if (SeverityName(s) == args->MinSeverity) least = s;
      ordered_json list = ordered_json::array();
      for (const Finding& f : findings) {
        if (f.Level > least) continue;
        if (args->Json)
          list.push_back(FindingJson(f));
        else
          std::cout << SeverityName(f.Level) << " [" << f.Check << "] " << PlaceText(f.Where)
                    << ": " << f.Message << "\n";
      }
      if (args->Json) std::cout << list.dump(2) << "\n";
      const SeverityCounts counts = CountSeverities(findings);
      messages.Show(CountsText(counts));
      return counts.Errors > 0 ? kExitErrors : kExitOk;
    };
  });
}

}  // namespace slab::cli
