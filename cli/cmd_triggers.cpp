// triggers: every sector of a level that holds a trigger, with its lines as the sector panel
// shows them, and how many such sectors and trigger actions there are.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/cli_common.h"
#include "floordata/sector_panel.h"
#include "floordata/walkers.h"
#include "level/text.h"

namespace slab::cli {

void AddTriggersCommand(CLI::App& app, Job& job, const std::string& programFolder) {
  AddLevelCommand(
      app, job, "triggers",
      "List every sector that holds a trigger, one line per trigger action: its room, its "
      "sector A and B (from 0) and, in brackets, the sector as the window's caption numbers it "
      "(A-1,B-1)",
      "Print JSON: the sectors and the summary counts",
      [programFolder](const std::string& file, const LoadedLevel& loaded, MessageSink& messages,
                      bool json) {
        const Level& level = loaded.Result.Lvl;
        const ObjectNames names = LoadObjectNames(programFolder, messages);

        nlohmann::ordered_json sectors = nlohmann::ordered_json::array();
        for (size_t r = 0; r < level.Rooms.size(); ++r) {
          const Room& room = level.Rooms[r];
          for (int a = 0; a < room.NumXSectors; ++a)
            for (int b = 0; b < room.NumZSectors; ++b) {
              if (!room.HasSector(a, b)) continue;
              const auto entries = GetTriggerList(level, room.SectorAt(a, b).FDIndex);
              if (entries.empty()) continue;
              std::vector<std::string> lines;
              for (const TriggerEntry& entry : entries)
                lines.push_back(TriggerLine(entry, level, loaded.GameVersion, names));
              // The place as arguments take it (a and b from 0) and as the window's caption
              // reads it.
              const std::string label = SectorLabel(a, b);
              if (json) {
                sectors.push_back(
                    {{"room", r}, {"a", a}, {"b", b}, {"sector_label", label}, {"lines", lines}});
              } else {
                // One line per action, each with its place, so that grep finds it whole.
                for (const std::string& line : lines)
                  std::cout << "room " << r << " a " << a << " b " << b << " [Sector " << label
                            << "]: " << line << "\n";
              }
            }
        }
        const TriggerCounts counts = CountLevelTriggers(level);
        if (json) {
          nlohmann::ordered_json j{{"file", file},
                                   {"sectors", std::move(sectors)},
                                   {"sectors_with_trigger", counts.SectorsWithTrigger},
                                   {"trigger_actions", counts.TriggerActions}};
          std::cout << j.dump(2) << "\n";
        } else {
          std::cout << "sectors_with_trigger: " << counts.SectorsWithTrigger << "\n"
                    << "trigger_actions: " << counts.TriggerActions << "\n";
        }
        return kExitOk;
      });
}

}  // namespace slab::cli
