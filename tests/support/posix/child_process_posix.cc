#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/child_process.h"

namespace orvia::testing {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<std::string> strings = {
      std::filesystem::read_symlink("/proc/self/exe").parent_path() / program};
  strings.insert(strings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& s : strings) argv.push_back(s.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0) handle_ = pid;
}

ChildProcess::~ChildProcess() {
  if (started() && !ended_) kill();
}

int ChildProcess::wait() {
  int status = 0;
  if (!ended_ && waitpid(pid_t(handle_), &status, 0) == pid_t(handle_))
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  ended_ = true;
  return exitCode_;
}

void ChildProcess::kill() {
  ::kill(pid_t(handle_), SIGKILL);
  wait();
}

}  // namespace orvia::testing
