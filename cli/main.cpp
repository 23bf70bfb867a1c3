// slabwright-cli: the headless tools over level files.
#include <iostream>
#include <string_view>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/cli_common.h"

int main(int argc, char** argv) {
  using namespace slab::cli;
#ifdef _WIN32
  // The same bytes on every system: lines end in a line feed, as on the others, so scripts
  // and the JSON readers comparing outputs see no difference.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  CLI::App app{
      "Slabwright command-line tools for Tomb Raider level files (.phd, .tr2, .tr4, .trc).\n"
      "Exit status: 0 done, 1 usage error, 2 the file was refused or the job failed."};
  app.require_subcommand(1);
  Job job;
  AddInfoCommand(app, job);
  AddRoundTripCommand(app, job);
  AddAddDemoCommand(app, job, ProgramFolder(argv[0]));
  AddSectorCommand(app, job, ProgramFolder(argv[0]));
  AddTriggersCommand(app, job, ProgramFolder(argv[0]));
  AddListCommand(app, job, ProgramFolder(argv[0]));
  AddConvertCommand(app, job, ProgramFolder(argv[0]));
  AddMakeSwdCommand(app, job);
  AddMapCommand(app, job);
  AddDiffCommand(app, job, ProgramFolder(argv[0]));
  AddRemoveItemCommand(app, job, ProgramFolder(argv[0]));
  AddCheckCommand(app, job);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << e.what() << "\n"
              << "Run with --help for usage.\n";
    // Where 1 reports what was found, a usage error cannot share it.
    const bool ownsOne =
        argc > 1 && (std::string_view(argv[1]) == "diff" || std::string_view(argv[1]) == "check");
    return ownsOne ? kExitFailed : kExitUsage;
  }
  return job ? job() : kExitUsage;
}
