// adddemo: what "/adddemo FILE" does in the desktop program.
#include <filesystem>

#include "cli/cli_common.h"
#include "write/jobs.h"

namespace slab::cli {

void AddAddDemoCommand(CLI::App& app, Job& job, const std::string& programFolder) {
  auto* cmd = app.add_subcommand("adddemo", "Read a level and write it back to the same file");
  auto file = std::make_shared<std::string>();
  cmd->add_option("FILE", *file, "Level file")->required();
  cmd->callback([&job, file, programFolder] {
    job = [file, programFolder] {
      FileMessages messages(*file);
      SystemProcessRunner runner;
      return AddDemoJob(*file, messages, programFolder, runner) ? kExitOk : kExitFailed;
    };
  });
}

}  // namespace slab::cli
