// Another process of a test: a helper program beside the running test, started with
// arguments, waited for or killed. The processes signal each other through files.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace orvia::testing {

class ChildProcess {
 public:
  // Starts program (its name without the system's suffix, in the running test's folder).
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
  // Kills the process if it still runs.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return handle_ != 0; }
  // Waits for the process to end; its exit code, non-zero when it was killed.
  int wait();
  void kill();

 private:
  intptr_t handle_ = 0;  // the process id, or the process's HANDLE
  bool ended_ = false;
  int exitCode_ = -1;
};

// Polls until condition holds.
template <typename Condition>
void waitUntil(Condition condition) {
  while (!condition()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace orvia::testing
