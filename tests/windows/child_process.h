// Runs the test helper program (windows_child.exe, beside the test) as a real Windows
// process, optionally reading its standard output through a pipe.
#pragma once

#include <windows.h>

#include <string>

namespace orvia::testing {

// The folder of the running program, with its trailing separator.
inline std::string programFolder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

class ChildProcess {
 public:
  // Starts windows_child.exe with arguments; with captureOutput its standard output
  // can be read line by line.
  ChildProcess(const std::string& arguments, bool captureOutput = false) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE childOutput = nullptr;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (captureOutput && CreatePipe(&output_, &childOutput, &inherit, 0)) {
      SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
      startup.dwFlags = STARTF_USESTDHANDLES;
      startup.hStdOutput = childOutput;
      startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    std::string commandLine = "\"" + programFolder() + "windows_child.exe\" " + arguments;
    PROCESS_INFORMATION info = {};
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &info)) {
      process_ = info.hProcess;
      CloseHandle(info.hThread);
    }
    if (childOutput != nullptr) CloseHandle(childOutput);
  }
  ~ChildProcess() {
    if (process_ != nullptr) {
      TerminateProcess(process_, 1);
      CloseHandle(process_);
    }
    if (output_ != nullptr) CloseHandle(output_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return process_ != nullptr; }

  // The next line of output without its end; false at the end of the output.
  bool readLine(std::string* line) {
    line->clear();
    char c;
    DWORD got = 0;
    while (ReadFile(output_, &c, 1, &got, nullptr) && got == 1) {
      if (c == '\n') return true;
      if (c != '\r') *line += c;
    }
    return !line->empty();
  }

  // Waits for the process to end; its exit code.
  DWORD wait() {
    DWORD code = 1;
    WaitForSingleObject(process_, INFINITE);
    GetExitCodeProcess(process_, &code);
    return code;
  }

  void kill() {
    TerminateProcess(process_, 9);
    WaitForSingleObject(process_, INFINITE);
  }

 private:
  HANDLE process_ = nullptr;
  HANDLE output_ = nullptr;
};

}  // namespace orvia::testing
