#include "platform/process_runner.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace slab {

#ifdef _WIN32

int SystemProcessRunner::Run(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& workingFolder) {
  std::string commandLine = "\"" + program + "\"";
  for (const auto& a : arguments) commandLine += " \"" + a + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      nullptr, workingFolder.c_str(), &startup, &process))
    return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 1;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(status);
}

#else

int SystemProcessRunner::Run(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& workingFolder) {
  // posix_spawn has no portable working-folder attribute; a forked child changes folder
  // itself before it becomes the finisher.
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    if (!workingFolder.empty() && chdir(workingFolder.c_str()) != 0) _exit(127);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (!WIFEXITED(status)) return -1;
  int code = WEXITSTATUS(status);
  return code == 127 ? -1 : code;
}

#endif

}  // namespace slab
