// Starting a program and waiting for it (the finisher).
#pragma once

#include <string>
#include <vector>

namespace slab {

// The seam for starting the finisher and waiting for it: returns its exit status, or a
// negative value when it could not be started.
class ProcessRunner {
 public:
  virtual ~ProcessRunner() = default;
  virtual int Run(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& workingFolder) = 0;
};

// Starts nothing and says so (a negative status): for a window that must not run the
// finisher (tests, benchmarks).
class NoProcessRunner : public ProcessRunner {
 public:
  int Run(const std::string&, const std::vector<std::string>&, const std::string&) override {
    return -1;
  }
};

// Starts programs with posix_spawn (CreateProcess on Windows) and waits for them.
class SystemProcessRunner : public ProcessRunner {
 public:
  int Run(const std::string& program, const std::vector<std::string>& arguments,
          const std::string& workingFolder) override;
};

}  // namespace slab
