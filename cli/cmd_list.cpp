// list: one of the level-wide lists the window docks show, from the same rows.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/cli_common.h"
#include "map/level_tables.h"

namespace slab::cli {

namespace {

using nlohmann::ordered_json;

// -1 (no such thing) becomes null, so a script never takes it for an index.
ordered_json IndexJson(int value) {
  return value < 0 ? ordered_json(nullptr) : ordered_json(value);
}

ordered_json TargetJson(const ListTarget& t) {
  return {{"room", IndexJson(t.Room)},     {"a", IndexJson(t.SectorX)},
          {"b", IndexJson(t.SectorZ)},     {"entity", IndexJson(t.Entity)},
          {"static", IndexJson(t.Static)}, {"light", IndexJson(t.Light)},
          {"camera", IndexJson(t.Camera)}};
}

std::string KindNames() {
  std::string text;
  for (const ListKindName& k : kListKinds) text += (text.empty() ? "" : ", ") + std::string(k.Name);
  return text;
}

}  // namespace

void AddListCommand(CLI::App& app, Job& job, const std::string& programFolder) {
  auto* cmd = app.add_subcommand(
      "list", "Print one of the level's lists as the window shows it, one row per line");
  struct Args {
    std::string Kind;
    std::string File;
    bool Json = false;
  };
  auto args = std::make_shared<Args>();
  cmd->add_option("KIND", args->Kind, "Which list: " + KindNames())->required();
  cmd->add_option("FILE", args->File, "Level file")->required();
  cmd->add_flag("--json", args->Json,
                "Print JSON: the column titles and each row's cells and where it leads (0-based)");
  cmd->callback([&job, args, programFolder] {
    job = [args, programFolder] {
      const auto kind = ListKindFromName(args->Kind);
      if (!kind) {
        std::cerr << "list: unknown list \"" << args->Kind << "\"; choose one of " << KindNames()
                  << "\n";
        return kExitUsage;
      }
      FileMessages messages(args->File);
      const auto loaded = LoadForCli(args->File, messages);
      if (!loaded) return kExitFailed;
      const ObjectNames names = LoadObjectNames(programFolder, messages);
      const LevelTable table =
          BuildLevelTable(loaded->Result.Lvl, loaded->GameVersion, names, *kind);
      if (args->Json) {
        ordered_json rows = ordered_json::array();
        for (const ListRow& row : table.Rows) {
          ordered_json cells;
          for (size_t c = 0; c < table.Titles.size() && c < row.Cells.size(); ++c)
            cells[table.Titles[c]] = row.Cells[c];
          rows.push_back({{"cells", std::move(cells)}, {"target", TargetJson(row.Target)}});
        }
        ordered_json j{{"file", args->File},
                       {"list", args->Kind},
                       {"columns", table.Titles},
                       {"rows", std::move(rows)}};
        std::cout << j.dump(2) << "\n";
        return kExitOk;
      }
      // Tab-separated, titles first: cells may hold blanks and commas but never a tab.
      auto line = [](const std::vector<std::string>& cells) {
        for (size_t c = 0; c < cells.size(); ++c) std::cout << (c ? "\t" : "") << cells[c];
        std::cout << "\n";
      };
      line(table.Titles);
      for (const ListRow& row : table.Rows) line(row.Cells);
      return kExitOk;
    };
  });
}

}  // namespace slab::cli
