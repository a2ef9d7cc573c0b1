#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "support/child_process.h"

namespace orvia::testing {

struct ChildProcess::Handles {
  pid_t pid = -1;
  FILE* output = nullptr;
  int status = -1;
};

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           bool captureOutput)
    : handles_(new Handles) {
  std::vector<std::string> strings = {
      std::filesystem::read_symlink("/proc/self/exe").parent_path() / program};
  strings.insert(strings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& s : strings) argv.push_back(s.data());
  argv.push_back(nullptr);
  int pipeEnds[2] = {-1, -1};
  if (captureOutput && pipe(pipeEnds) != 0) return;
  handles_->pid = fork();
  if (handles_->pid == 0) {
    if (captureOutput) dup2(pipeEnds[1], STDOUT_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
  if (captureOutput) {
    close(pipeEnds[1]);
    handles_->output = fdopen(pipeEnds[0], "r");
  }
}

ChildProcess::~ChildProcess() {
  if (handles_->pid > 0 && handles_->status < 0) kill();
  if (handles_->output != nullptr) fclose(handles_->output);
  delete handles_;
}

bool ChildProcess::started() const {
  return handles_->pid > 0;
}

bool ChildProcess::readLine(std::string* line) {
  line->clear();
  for (int c; handles_->output != nullptr && (c = fgetc(handles_->output)) != EOF;) {
    if (c == '\n') return true;
    *line += char(c);
  }
  return !line->empty();
}

int ChildProcess::wait() {
  if (handles_->status < 0) waitpid(handles_->pid, &handles_->status, 0);
  return WIFEXITED(handles_->status) ? WEXITSTATUS(handles_->status) : 128;
}

void ChildProcess::kill() {
  ::kill(handles_->pid, SIGKILL);
  wait();
}

void waitForFile(const std::string& path) {
  while (!std::filesystem::exists(path)) usleep(1000);
}

}  // namespace orvia::testing
