// make-swd: the sprite wad for converted levels, from a second- or third-game level.
#include <iostream>

#include "cli/cli_common.h"
#include "write/sprite_wad.h"
#include "write/write_level.h"

namespace slab::cli {

void AddMakeSwdCommand(CLI::App& app, Job& job) {
  auto* cmd = app.add_subcommand(
      "make-swd",
      "Make the sprite wad (TR3.swd) from the sprites of a second- or third-game level");
  auto level = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  cmd->add_option("LEVEL", *level, "Second- or third-game level file (.tr2)")->required();
  cmd->add_option("-o,--output", *out, "The wad to write, e.g. TR3.swd")->required();
  cmd->callback([&job, level, out] {
    job = [level, out] {
      FileMessages messages(*level);
      auto loaded = LoadForCli(*level, messages);
      if (!loaded) return kExitFailed;
      std::string error;
      auto wad = MakeSpriteWad(loaded->Result.Lvl, loaded->GameVersion, error);
      if (!wad) {
        std::cerr << *level << ": no sprite wad can be made: " << error << "\n";
        return kExitFailed;
      }
      const std::string note = HardLinkNote(*out, InspectSaveTarget(*out));
      if (!note.empty()) std::cerr << note << "\n";
      SaveResult saved = SaveFileAtomically(*out, EncodeSpriteWad(*wad));
      if (!saved.Ok()) {
        std::cerr << *out << " could not be written: " << saved.Reason() << "\n";
        return kExitFailed;
      }
      std::cout << "Wrote " << *out << ": sprite textures " << wad->SpriteTextures.size()
                << ", pages " << wad->Image.size() / kWadPageBytes << ", sprite sequences "
                << wad->SpriteSequences.size() << "\n";
      return kExitOk;
    };
  });
}

}  // namespace slab::cli
