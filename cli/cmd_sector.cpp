// sector: what the sector panels show for one sector of a room.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/cli_common.h"
#include "floordata/sector_panel.h"
#include "level/text.h"

namespace slab::cli {

namespace {

using nlohmann::ordered_json;

ordered_json ColourJson(const Rgb& c) { return ordered_json::array({c.R, c.G, c.B}); }

// Empty optionals ("keeps what it showed before") become null.
template <typename T, typename F>
ordered_json OrNull(const std::optional<T>& value, F toJson) {
  return value ? toJson(*value) : ordered_json(nullptr);
}
template <typename T>
ordered_json OrNull(const std::optional<T>& value) {
  return value ? ordered_json(*value) : ordered_json(nullptr);
}

ordered_json ListJson(const ListContent& list) {
  return {{"Lines", list.Lines}, {"Selected", list.Selected}};
}

ordered_json PanelJson(const SectorPanel& p) {
  ordered_json j;
  const SectorsView& s = p.Sectors;
  j["Sectors"] = {{"SecInf", s.SecInf},
                  {"FloorWall", s.FloorWall},
                  {"HeightsEnabled", s.HeightsEnabled},
                  {"FloorHeight", s.FloorHeight},
                  {"CeilingHeight", s.CeilingHeight},
                  {"Minecart_Stop", ColourJson(s.MinecartStop)},
                  {"FD20", ColourJson(s.FD20)},
                  {"FD21", ColourJson(s.FD21)}};
  j["Doors"] = {{"DoorSide", p.Doors.DoorSide},
                {"DoorAbove", p.Doors.DoorAbove},
                {"DoorBelow", p.Doors.DoorBelow}};
  const TriggersView& t = p.Triggers;
  j["Triggers"] = {{"FD_lbl", t.FDLabel},
                   {"TriggerData", OrNull(t.TriggerData, ListJson)},
                   {"TriggerTimer", OrNull(t.TriggerTimer)},
                   {"TriggerFlags", OrNull(t.TriggerFlags, [](const std::array<Rgb, 5>& colours) {
                      ordered_json a = ordered_json::array();
                      for (const Rgb& c : colours) a.push_back(ColourJson(c));
                      return a;
                    })}};
  j["Items"] = OrNull(p.Items, [](const SectorItemsView& i) {
    return ordered_json{{"SecItemCntVisible", i.SecItemCntVisible},
                        {"SecItemCnt", OrNull(i.SecItemCnt)},
                        {"SecCurItem", OrNull(i.SecCurItem, ListJson)},
                        {"Entities", i.Entities},
                        {"ResetNavigationEntity", i.ResetNavigationEntity}};
  });
  j["Statics"] = OrNull(p.Statics, [](const SectorStaticsView& s) {
    return ordered_json{{"Visible", s.Visible},
                        {"NumStatic", OrNull(s.NumStatic)},
                        {"StaticID", OrNull(s.StaticID)}};
  });
  return j;
}

// Texts are quoted so their leading blanks show; "(unchanged)" marks a control that keeps
// what it showed before.
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
std::string Quoted(const std::optional<std::string>& text) {
  return text ? Quoted(*text) : "(unchanged)";
}
std::string ColourName(const Rgb& c) {
  if (c == kSetColour) return "blue";
  if (c == kClearColour) return "black";
  return "rgb(" + std::to_string(c.R) + "," + std::to_string(c.G) + "," + std::to_string(c.B) + ")";
}

void PrintList(const std::string& name, const std::optional<ListContent>& list) {
  std::cout << name << ":";
  if (!list) {
    std::cout << " (unchanged)\n";
    return;
  }
  std::cout << (list->Lines.empty() ? " (empty)\n" : "\n");
  for (size_t i = 0; i < list->Lines.size(); ++i)
    std::cout << (static_cast<int>(i) == list->Selected ? "  > " : "    ") << Quoted(list->Lines[i])
              << "\n";
}

void PrintPanel(const SectorPanel& p) {
  const SectorsView& s = p.Sectors;
  std::cout << "SecInf: " << Quoted(s.SecInf) << "\n"
            << "FloorWall: " << (s.FloorWall ? "checked" : "unchecked") << "\n"
            << "FloorHeight: " << Quoted(s.FloorHeight) << (s.HeightsEnabled ? "" : " (disabled)")
            << "\n"
            << "CeilingHeight: " << Quoted(s.CeilingHeight)
            << (s.HeightsEnabled ? "" : " (disabled)") << "\n"
            << "Minecart_Stop: " << ColourName(s.MinecartStop) << "\n"
            << "FD20: " << ColourName(s.FD20) << "\n"
            << "FD21: " << ColourName(s.FD21) << "\n"
            << "DoorSide: " << Quoted(p.Doors.DoorSide) << "\n"
            << "DoorAbove: " << Quoted(p.Doors.DoorAbove) << "\n"
            << "DoorBelow: " << Quoted(p.Doors.DoorBelow) << "\n"
            << "FD_lbl: " << Quoted(p.Triggers.FDLabel) << "\n";
  PrintList("TriggerData", p.Triggers.TriggerData);
  std::cout << "TriggerTimer: " << Quoted(p.Triggers.TriggerTimer) << "\n"
            << "TriggerFlags:";
  if (p.Triggers.TriggerFlags)
    for (const Rgb& c : *p.Triggers.TriggerFlags) std::cout << " " << ColourName(c);
  else
    std::cout << " (unchanged)";
  std::cout << "\n";
  if (p.Items) {
    std::cout << "SecItemCnt: " << Quoted(p.Items->SecItemCnt)
              << (p.Items->SecItemCntVisible ? "" : " (hidden)") << "\n";
    PrintList("SecCurItem", p.Items->SecCurItem);
  }
  if (p.Statics)
    std::cout << "NumStatic: " << Quoted(p.Statics->NumStatic)
              << (p.Statics->Visible ? "" : " (hidden)") << "\n"
              << "StaticID: " << Quoted(p.Statics->StaticID)
              << (p.Statics->Visible ? "" : " (hidden)") << "\n";
}

}  // namespace

void AddSectorCommand(CLI::App& app, Job& job, const std::string& programFolder) {
  auto* cmd = app.add_subcommand(
      "sector",
      "Print what the sector panels show for sector (A, B) of room ROOM; A and B count from 0, "
      "so the caption reads \"Sector A-1,B-1\" (JSON: sector_label)");
  struct Args {
    std::string File;
    int Room = 0, A = 0, B = 0;
    bool Json = false;
  };
  auto args = std::make_shared<Args>();
  cmd->add_option("FILE", args->File, "Level file")->required();
  cmd->add_option("ROOM", args->Room, "Room number")->required();
  cmd->add_option("A", args->A, "Sector along the grid's first dimension (X), from 0")->required();
  cmd->add_option("B", args->B, "Sector along the grid's second dimension (Z), from 0")->required();
  cmd->add_flag("--json", args->Json, "Print JSON keyed by the panels' control names");
  cmd->callback([&job, args, programFolder] {
    job = [args, programFolder] {
      FileMessages messages(args->File);
      auto loaded = LoadForCli(args->File, messages);
      if (!loaded) return kExitFailed;
      const Level& level = loaded->Result.Lvl;
      if (args->Room < 0 || static_cast<size_t>(args->Room) >= level.Rooms.size()) {
        std::cerr << args->File << ": there is no room " << args->Room << " (the level has "
                  << level.Rooms.size() << " rooms)\n";
        return kExitUsage;
      }
      const Room& room = level.Rooms[args->Room];
      if (!room.HasSector(args->A, args->B)) {
        std::cerr << args->File << ": room " << args->Room << " has no sector (" << args->A << ", "
                  << args->B << "); its grid is " << room.NumXSectors << " x " << room.NumZSectors
                  << " sectors\n";
        return kExitUsage;
      }
      const ObjectNames names = LoadObjectNames(programFolder, messages);
      const auto panel =
          ShowSector(level, loaded->GameVersion, names, args->Room, args->A, args->B, true, true);
      if (!panel) return kExitFailed;
      if (args->Json) {
        ordered_json j{{"file", args->File},
                       {"room", args->Room},
                       {"a", args->A},
                       {"b", args->B},
                       {"sector_label", SectorLabel(args->A, args->B)}};
        j.update(PanelJson(*panel));
        std::cout << j.dump(2) << "\n";
      } else {
        PrintPanel(*panel);
      }
      return kExitOk;
    };
  });
}

}  // namespace slab::cli
