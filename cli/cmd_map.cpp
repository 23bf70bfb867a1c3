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
  int Scale = 1;
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

// Each pixel as a scale x scale block, so a larger picture keeps every sector crisp and
// every colour exact; 1 gives the picture itself.
MapImage Scaled(const MapImage& image, int scale) {
  if (scale == 1) return image;
  MapImage out(image.Width() * scale, image.Height() * scale);
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width();) {
      // A run of one colour is one box.
      const Rgb colour = image.Pixel(x, y);
      int end = x + 1;
      while (end < image.Width() && image.Pixel(end, y) == colour) ++end;
      out.SetFillColour(colour);
      out.SetOutlineColour(colour);
      out.DrawBox(x * scale, y * scale, end * scale, (y + 1) * scale);
      x = end;
    }
  return out;
}

bool Write(const MapImage& picture, int scale, const std::filesystem::path& path) {
  std::string error;
  if (!WritePng(Scaled(picture, scale), path, error)) {
    std::cerr << error << "\n";
    return false;
  }
  std::cout << path.string() << "\n";
  return true;
}

int RunMap(const MapArgs& args) {
  FileMessages messages(args.File);
  auto opened = LoadDocumentForCli(args.File, messages);
  if (!opened) return kExitFailed;
  Document& doc = *opened;
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
      if (!Write(state.Shown, args.Scale,
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
  return Write(state.Shown, args.Scale, args.Output) ? kExitOk : kExitFailed;
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
  cmd->add_option("--scale", args->Scale,
                  "Repeat each picture pixel N x N times (a whole factor from 1 to 16; default 1, "
                  "the picture as the window draws it)")
      ->check(CLI::Range(1, 16));
  cmd->callback([&job, args, room, all] {
    if (room->count() == 0 && all->count() == 0) throw CLI::RequiredError("--room or --all");
    job = [args] { return RunMap(*args); };
  });
}

}  // namespace slab::cli
