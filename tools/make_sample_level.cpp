// Writes the showcase level the run command shows: a third-game file made by the
// project's own level composer, so no game data is needed. With --second-game, the showcase
// in its second-game form instead, for the tests that need that game.
#include <cstdio>
#include <exception>
#include <string_view>

#include "tools/showcase_level.h"

int main(int argc, char** argv) {
  const bool secondGame = argc == 3 && std::string_view(argv[1]) == "--second-game";
  if (argc != 2 && !secondGame) {
    std::fprintf(stderr, "usage: make_sample_level [--second-game] OUTPUT.tr2\n");
    return 1;
  }
  try {
    if (secondGame)
      slab::test::WriteBytes(
          argv[2], slab::test::ComposeClassic(slab::test::SecondGameShowcaseDraft()).Bytes);
    else
      slab::test::WriteShowcaseLevel(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
