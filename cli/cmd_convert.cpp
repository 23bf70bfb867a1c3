// convert: what "/convert2 FILE" and "/convert3 FILE" do in the desktop program, with the
// output and the sprite wad open to choice.
#include <iostream>

#include "cli/cli_common.h"
#include "write/jobs.h"
#include "write/sprite_wad.h"

namespace slab::cli {

void AddConvertCommand(CLI::App& app, Job& job, const std::string& programFolder) {
  auto* cmd = app.add_subcommand(
      "convert", "Convert a fourth-game level (.tr4) into a second- or third-game level");
  struct Options {
    std::string To, In, Out, Swd;
  };
  auto o = std::make_shared<Options>();
  cmd->add_option("--to", o->To, "Target game: tr2 or tr3")
      ->required()
      ->check(CLI::IsMember({"tr2", "tr3"}));
  cmd->add_option("IN", o->In, "Fourth-game level file")->required();
  cmd->add_option("-o,--output", o->Out,
                  "Output file (default: IN with its last three characters replaced by tr2)");
  cmd->add_option("--swd", o->Swd,
                  std::string("Sprite wad (default: ") + kSpriteWadName +
                      " beside this program, else in ../share/slabwright from it)");
  cmd->callback([&job, o, programFolder] {
    job = [o, programFolder] {
      FileMessages messages(o->In);
      const std::string out = o->Out.empty() ? ConvertedFileName(o->In) : o->Out;
      const std::optional<std::string> swd =
          o->Swd.empty() ? FindSpriteWad(programFolder, messages) : o->Swd;
      if (!swd ||
          !ConvertLevelFile(o->In, out, o->To == "tr3" ? Game::TR3 : Game::TR2, *swd, messages))
        return kExitFailed;
      std::cout << "Wrote " << out << "\n";
      return kExitOk;
    };
  });
}

}  // namespace slab::cli
