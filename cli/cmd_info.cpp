// info: the version and every count of the model, per room its place and contents.
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/cli_common.h"

namespace slab::cli {

namespace {

using nlohmann::ordered_json;

ordered_json RoomSummary(const Room& room) {
  ordered_json r;
  r["X"] = room.Info.X;
  r["Z"] = room.Info.Z;
  r["YBottom"] = room.Info.YBottom;
  r["YTop"] = room.Info.YTop;
  r["NumDataWords"] = room.NumDataWords;
  r["NumXSectors"] = room.NumXSectors;
  r["NumZSectors"] = room.NumZSectors;
  r["NumVertices"] = room.NumVertices;
  r["NumRectangles"] = room.NumRectangles;
  r["NumTriangles"] = room.NumTriangles;
  r["NumSprites"] = room.NumSprites;
  r["NumPortals"] = room.NumPortals;
  r["NumLights"] = room.NumLights;
  r["NumStaticMeshes"] = room.NumStaticMeshes;
  r["NumLayers"] = room.NumLayers;
  r["AlternateRoom"] = room.AlternateRoom;
  r["Flags"] = room.Flags;
  return r;
}

ordered_json LevelSummary(const Level& l, int gameVersion) {
  ordered_json j;
  j["GameVersion"] = gameVersion;
  j["Version"] = static_cast<uint32_t>(l.Version);
  j["NumRoomTextiles"] = l.NumRoomTextiles;
  j["NumObjTextiles"] = l.NumObjTextiles;
  j["NumBumpTextiles"] = l.NumBumpTextiles;
  j["NumTextiles"] = l.NumTextiles;
  j["NumMiscTextiles"] = l.NumMiscTextiles;
  j["NumRooms"] = l.NumRooms;
  j["NumFloorData"] = l.NumFloorData;
  j["NumMeshData"] = l.NumMeshData;
  j["NumMeshPointers"] = l.NumMeshPointers;
  j["NumAnimations"] = l.NumAnimations;
  j["NumStateChanges"] = l.NumStateChanges;
  j["NumAnimDispatches"] = l.NumAnimDispatches;
  j["NumAnimCommands"] = l.NumAnimCommands;
  j["NumMeshTrees"] = l.NumMeshTrees;
  j["NumFrames"] = l.NumFrames;
  j["NumMoveables"] = l.NumMoveables;
  j["NumStaticMeshes"] = l.NumStaticMeshes;
  j["NumObjectTextures"] = l.NumObjectTextures;
  j["NumSpriteTextures"] = l.NumSpriteTextures;
  j["NumSpriteSequences"] = l.NumSpriteSequences;
  j["NumCameras"] = l.NumCameras;
  j["NumFlybyCameras"] = l.NumFlybyCameras;
  j["NumSoundSources"] = l.NumSoundSources;
  j["NumBoxes"] = l.NumBoxes;
  j["NumOverlaps"] = l.NumOverlaps;
  j["NumAnimatedTextures"] = l.NumAnimatedTextures;
  j["NumItems"] = l.NumItems;
  j["NumAIObjects"] = l.NumAIObjects;
  j["NumCinematicFrames"] = l.NumCinematicFrames;
  j["NumDemoData"] = l.NumDemoData;
  j["SoundMapEntries"] = gameVersion == kTR1 ? kTr1SoundMapEntries : l.SoundMap.size();
  j["NumSoundDetails"] = l.NumSoundDetails;
  j["NumSampleIndices"] = l.NumSampleIndices;
  j["NumSamples"] = l.NumSamples;
  if (gameVersion == kTR1) {
    j["Tr1SampleDataBytes"] = l.Tr1SampleData.size();
    j["Tr1PaletteAfterSprites"] = l.Tr1Palette == Tr1PaletteLayout::AfterSpriteSequences;
  }
  if (gameVersion == kTR4) {
    j["AnimatedTexturesUVCount"] = l.AnimatedTexturesUVCount;
    j["TrailingBlockBytes"] = l.TrailingBlock.size();
  }
  if (gameVersion == kTR5) {
    j["Tr5HeaderA"] = l.Tr5HeaderA;
    j["Tr5HeaderB"] = l.Tr5HeaderB;
  }
  ordered_json rooms = ordered_json::array();
  for (const Room& room : l.Rooms) rooms.push_back(RoomSummary(room));
  j["Rooms"] = std::move(rooms);
  return j;
}

void PrintText(const ordered_json& j) {
  static const char* kGames[] = {"", "TR1", "TR2", "TR3", "TR4", "TR5"};
  int game = j["GameVersion"].get<int>();
  char word[16];
  std::snprintf(word, sizeof word, "0x%08X", j["Version"].get<uint32_t>());
  std::cout << "Game version: " << game << " (" << (game >= 1 && game <= 5 ? kGames[game] : "?")
            << ")\nVersion word: " << word << "\n";
  for (auto& [key, value] : j.items())
    if (key != "GameVersion" && key != "Version" && key != "Rooms")
      std::cout << key << ": " << value.dump() << "\n";
  int index = 0;
  for (auto& room : j["Rooms"]) {
    std::cout << "Room " << index++ << ":";
    for (auto& [key, value] : room.items()) std::cout << " " << key << "=" << value.dump();
    std::cout << "\n";
  }
}

}  // namespace

void AddInfoCommand(CLI::App& app, Job& job) {
  auto* cmd = app.add_subcommand(
      "info", "Print the game version, every count of the level and a summary of each room");
  auto file = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  cmd->add_option("FILE", *file, "Level file")->required();
  cmd->add_flag("--json", *json, "Print JSON keyed by the model's field names");
  cmd->callback([&job, file, json] {
    job = [file, json] {
      FileMessages messages(*file);
      auto loaded = LoadForCli(*file, messages);
      if (!loaded) return kExitFailed;
      auto summary = LevelSummary(loaded->Result.Lvl, loaded->GameVersion);
      if (*json)
        std::cout << summary.dump(2) << "\n";
      else
        PrintText(summary);
      return kExitOk;
    };
  });
}

}  // namespace slab::cli
