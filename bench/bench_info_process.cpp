// "slabwright-cli info" on the largest fourth-game level as a whole process, against a plain C
// program that only reads the file and inflates its four chunks with zlib (inflate_chunks.c).
// Both run from start to exit, their output thrown away. Prints the ratio; the target is at
// most 0.7.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_common.h"

extern char** environ;

namespace {

const std::filesystem::path& LevelPath() {
  static const std::filesystem::path path = slab::bench::LargestLevel({"tr4"});
  return path;
}

// Runs the program to its end with standard output and error going nowhere; its exit status.
int RunProcess(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (auto& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  int status = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0)
    waitpid(pid, &status, 0);
  posix_spawn_file_actions_destroy(&actions);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void Measure(benchmark::State& state, const char* program, std::vector<std::string> rest) {
  if (LevelPath().empty()) return state.SkipWithError("no fourth-game level found");
  std::vector<std::string> arguments{program};
  arguments.insert(arguments.end(), rest.begin(), rest.end());
  for (auto _ : state)
    if (RunProcess(arguments) != 0) return state.SkipWithError((arguments[0] + " failed").c_str());
}

void BM_PlainInflateProcess(benchmark::State& state) {
  Measure(state, SLAB_INFLATE_PROGRAM, {LevelPath().string()});
}

void BM_InfoProcess(benchmark::State& state) {
  Measure(state, SLAB_CLI_PROGRAM, {"info", LevelPath().string()});
}

BENCHMARK(BM_PlainInflateProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_InfoProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  std::printf("level: %s\n", LevelPath().string().c_str());
  return slab::bench::RunWithRatio(argc, argv, "BM_InfoProcess", "BM_PlainInflateProcess",
                                   "info process / (read + zlib inflate process)", 0.7);
}
