#include <windows.h>

#include "support/child_process.h"

namespace orvia::testing {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
  char self[MAX_PATH];
  std::string commandLine(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
  commandLine =
      "\"" + commandLine.substr(0, commandLine.find_last_of("\\/") + 1) + program + ".exe\"";
  for (const std::string& argument : arguments) commandLine += " \"" + argument + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &info)) {
    handle_ = intptr_t(info.hProcess);
    CloseHandle(info.hThread);
  }
}

ChildProcess::~ChildProcess() {
  if (started() && !ended_) kill();
  if (started()) CloseHandle(HANDLE(handle_));
}

int ChildProcess::wait() {
  DWORD code = 1;
  WaitForSingleObject(HANDLE(handle_), INFINITE);
  GetExitCodeProcess(HANDLE(handle_), &code);
  ended_ = true;
  return exitCode_ = int(code);
}

void ChildProcess::kill() {
  TerminateProcess(HANDLE(handle_), 9);
  wait();
}

}  // namespace orvia::testing
