// map: a room's map as the main window draws it, written as a PNG picture.
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/cli_common.h"
#include "map/draw_room.h"
#include "map/selection.h"
#include "map/write_png.h"

namespace slab::cli {

namespace {

struct MapArgs {
  std::string File;
  int Room = -1;
  bool All = false;
  std::string Output;
  std::string Select;
};

// "A,B" as two non-negative sector coordinates.
bool ParseSelection(const std::string& text, int& a, int& b) {
  const size_t comma = text.find(',');
  if (comma == std::string::npos) return false;
  try {
    size_t used = 0;
    a = std::stoi(text.substr(0, comma), &used);
    if (used != comma) return false;
    const std::string rest = text.substr(comma + 1);
    b = std::stoi(rest, &used);
    return used == rest.size() && a >= 0 && b >= 0;
  } catch (const std::exception&) {
    return false;
  }
}

bool Write(const MapImage& image, const std::filesystem::path& path) {
  std::string error;
  if (!WritePng(image, path, error)) {
    std::cerr << error << "\n";
    return false;
  }
  std::cout << path.string() << "\n";
  return true;
}

int RunMap(const MapArgs& args) {
  StderrSink messages;
  auto loaded = LoadForCli(args.File, messages);
  if (!loaded) return kExitFailed;
  Document doc;
  doc.CurrentLevel = std::move(loaded->Result.Lvl);
  doc.GameVersion = loaded->GameVersion;
  doc.LevelLoaded = true;
  const Level& level = doc.CurrentLevel;
  MapState state;

  if (args.All) {
    std::error_code ec;
    std::filesystem::create_directories(args.Output, ec);
    if (ec) {
      std::cerr << args.Output << ": cannot make the folder (" << ec.message() << ")\n";
      return kExitFailed;
    }
    for (int r = 0; r < static_cast<int>(level.Rooms.size()); ++r) {
      ChooseRoom(doc, state, r);
      if (!Write(state.Shown,
                 std::filesystem::path(args.Output) / ("room_" + std::to_string(r) + ".png")))
        return kExitFailed;
    }
    return kExitOk;
  }

  if (!ChooseRoom(doc, state, args.Room)) {
    std::cerr << args.File << ": there is no room " << args.Room << " (the level has "
              << level.Rooms.size() << " rooms)\n";
    return kExitUsage;
  }
  if (!args.Select.empty()) {
    int a = 0, b = 0;
    if (!ParseSelection(args.Select, a, b)) {
      std::cerr << "--select takes two sector coordinates from 0, as A,B (got \"" << args.Select
                << "\")\n";
      return kExitUsage;
    }
    const Room& room = level.Rooms[args.Room];
    if (!room.HasSector(a, b)) {
      std::cerr << args.File << ": room " << args.Room << " has no sector (" << a << ", " << b
                << "); its grid is " << room.NumXSectors << " x " << room.NumZSectors
                << " sectors\n";
      return kExitUsage;
    }
    state.SelectedSectorX = a;
    state.SelectedSectorZ = b;
    DrawSelection(state);
  }
  return Write(state.Shown, args.Output) ? kExitOk : kExitFailed;
}

}  // namespace

void AddMapCommand(CLI::App& app, Job& job) {
  auto* cmd =
      app.add_subcommand("map", "Write a room's map as the main window draws it, as a PNG picture");
  auto args = std::make_shared<MapArgs>();
  cmd->add_option("FILE", args->File, "Level file")->required();
  auto* room = cmd->add_option("--room", args->Room, "Room number");
  auto* all = cmd->add_flag("--all", args->All, "Every room, one picture each, into the -o folder");
  room->excludes(all);
  cmd->add_option("-o,--output", args->Output, "Picture file (with --room) or folder (with --all)")
      ->required();
  cmd->add_option("--select", args->Select,
                  "Outline sector A,B (from 0; A along the grid's first dimension) as a click does")
      ->excludes(all);
  cmd->callback([&job, args, room, all] {
    if (room->count() == 0 && all->count() == 0) throw CLI::RequiredError("--room or --all");
    job = [args] { return RunMap(*args); };
  });
}

}  // namespace slab::cli
