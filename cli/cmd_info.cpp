// info: the version and every count of the model (the lists' sizes), per room its place and
// contents.
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
  r["NumVertices"] = room.Vertices.size();
  r["NumRectangles"] = room.Rectangles.size();
  r["NumTriangles"] = room.Triangles.size();
  // Only the fourth game keeps a sprite count without a list.
  r["NumSprites"] = room.Sprites.empty() ? room.Tr4SpriteCount : room.Sprites.size();
  r["NumPortals"] = room.Portals.size();
  r["NumLights"] = room.Lights.size();
  r["NumStaticMeshes"] = room.StaticMeshes.size();
  r["NumLayers"] = room.Layers.size();
  r["AlternateRoom"] = room.AlternateRoom;
  r["Flags"] = room.Flags;
  return r;
}

ordered_json LevelSummary(const Level& l, Game gameVersion) {
  ordered_json j;
  j["GameVersion"] = GameNumber(gameVersion);
  j["Version"] = static_cast<uint32_t>(l.Version);
  j["NumRoomTextiles"] = l.NumRoomTextiles;
  j["NumObjTextiles"] = l.NumObjTextiles;
  j["NumBumpTextiles"] = l.NumBumpTextiles;
  j["NumTextiles"] = l.NumTextiles;
  j["NumMiscTextiles"] = l.NumMiscTextiles;
  j["NumRooms"] = l.Rooms.size();
  j["NumFloorData"] = l.FloorData.size() / 2;
  j["NumMeshData"] = l.MeshData.size() / 2;
  j["NumMeshPointers"] = l.MeshPointers.size();
  j["NumAnimations"] = l.Animations.size();
  j["NumStateChanges"] = l.StateChanges.size();
  j["NumAnimDispatches"] = l.AnimDispatches.size();
  j["NumAnimCommands"] = l.AnimCommands.size();
  j["NumMeshTrees"] = l.MeshTrees.size();
  j["NumFrames"] = l.Frames.size();
  j["NumMoveables"] = l.Moveables.size();
  j["NumStaticMeshes"] = l.StaticMeshDefs.size();
  j["NumObjectTextures"] = l.ObjectTextures.size();
  j["NumSpriteTextures"] = l.SpriteTextures.size();
  j["NumSpriteSequences"] = l.SpriteSequences.size();
  j["NumCameras"] = l.Cameras.size();
  j["NumFlybyCameras"] = l.FlybyCameras.size();
  j["NumSoundSources"] = l.SoundSources.size();
  j["NumBoxes"] = l.Boxes.size();
  j["NumOverlaps"] = l.Overlaps.size();
  j["NumAnimatedTextures"] = l.AnimatedTextures.size();
  j["NumItems"] = l.Items.size();
  j["NumAIObjects"] = l.AIObjects.size();
  j["NumCinematicFrames"] = l.CinematicFrames.size();
  j["NumDemoData"] = l.NumDemoData;
  j["SoundMapEntries"] = gameVersion == Game::TR1 ? kTr1SoundMapEntries : l.SoundMap.size();
  j["NumSoundDetails"] = l.SoundDetails.size();
  j["NumSampleIndices"] = l.SampleIndices.size();
  j["NumSamples"] = l.Samples.size();
  if (gameVersion == Game::TR1) {
    j["Tr1SampleDataBytes"] = l.Tr1SampleData.size();
    j["Tr1PaletteAfterSprites"] = l.Tr1Palette == Tr1PaletteLayout::AfterSpriteSequences;
  }
  if (gameVersion == Game::TR4) {
    j["AnimatedTexturesUVCount"] = l.AnimatedTexturesUVCount;
    j["TrailingBlockBytes"] = l.TrailingBlock.size();
  }
  if (gameVersion == Game::TR5) {
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
  AddLevelCommand(app, job, "info",
                  "Print the game version, every count of the level and a summary of each room",
                  "Print JSON keyed by the model's field names",
                  [](const std::string&, const LoadedLevel& loaded, MessageSink&, bool json) {
                    auto summary = LevelSummary(loaded.Result.Lvl, loaded.GameVersion);
                    if (json)
                      std::cout << summary.dump(2) << "\n";
                    else
                      PrintText(summary);
                    return kExitOk;
                  });
}

}  // namespace slab::cli
