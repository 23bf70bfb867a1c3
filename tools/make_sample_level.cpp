// Writes the showcase level the run command shows: a third-game file made by the
// project's own level composer, so no game data is needed.
#include <cstdio>
#include <exception>

#include "tools/showcase_level.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sample_level OUTPUT.tr2\n");
    return 1;
  }
  try {
    slab::test::WriteShowcaseLevel(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
