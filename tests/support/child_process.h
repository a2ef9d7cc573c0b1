// Another process of a test: a helper program beside the running test, started with
// arguments, whose output can be read line by line and which can be killed.
#pragma once

#include <string>
#include <vector>

namespace orvia::testing {

class ChildProcess {
 public:
  // Starts program (its name without the system's suffix, in the running test's folder);
  // with captureOutput its standard output comes through readLine.
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
               bool captureOutput = false);
  // Kills the process if it still runs.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const;
  // The next line of output without its end; false at the end of the output.
  bool readLine(std::string* line);
  // Waits for the process to end; its exit code, or a non-zero code when it was killed.
  int wait();
  void kill();

 private:
  struct Handles;
  Handles* handles_;
};

// Waits until path exists: how the processes of a test signal each other.
void waitForFile(const std::string& path);

}  // namespace orvia::testing
