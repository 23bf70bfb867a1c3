// RKV: the finisher of fourth-game saves. Called as "RKV TR4 <file>" in the file's folder,
// it compresses the intermediate file the editor wrote and replaces it with the finished
// level. Exit status 0 on success; otherwise a message on stderr and the file is untouched.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "write/finish_tr4.h"
#include "write/write_level.h"

int main(int argc, char** argv) {
  if (argc != 3 || std::string(argv[1]) != "TR4") {
    std::cerr << "usage: RKV TR4 FILE\n";
    return 1;
  }
  const std::string path = argv[2];
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "RKV: " << path << " can't be opened.\n";
    return 2;
  }
  std::vector<uint8_t> intermediate{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
  std::vector<uint8_t> finished;
  slab::SaveResult done = slab::FinishTR4(intermediate, finished);
  if (done.Ok()) done = slab::SaveFileAtomically(path, finished);
  if (!done.Ok()) {
    std::cerr << "RKV: " << path << ": " << done.Reason() << "\n";
    return 2;
  }
  return 0;
}
