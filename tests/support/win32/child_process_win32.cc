#include <windows.h>

#include <filesystem>

#include "support/child_process.h"

namespace orvia::testing {

struct ChildProcess::Handles {
  HANDLE process = nullptr;
  HANDLE output = nullptr;
};

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           bool captureOutput)
    : handles_(new Handles) {
  char self[MAX_PATH];
  std::string folder(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
  std::string commandLine =
      "\"" + folder.substr(0, folder.find_last_of("\\/") + 1) + program + ".exe\"";
  for (const std::string& argument : arguments) commandLine += " \"" + argument + "\"";
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE childOutput = nullptr;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  if (captureOutput && CreatePipe(&handles_->output, &childOutput, &inherit, 0)) {
    SetHandleInformation(handles_->output, HANDLE_FLAG_INHERIT, 0);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = childOutput;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  }
  PROCESS_INFORMATION info = {};
  if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &info)) {
    handles_->process = info.hProcess;
    CloseHandle(info.hThread);
  }
  if (childOutput != nullptr) CloseHandle(childOutput);
}

ChildProcess::~ChildProcess() {
  if (handles_->process != nullptr) {
    TerminateProcess(handles_->process, 1);
    CloseHandle(handles_->process);
  }
  if (handles_->output != nullptr) CloseHandle(handles_->output);
  delete handles_;
}

bool ChildProcess::started() const {
  return handles_->process != nullptr;
}

bool ChildProcess::readLine(std::string* line) {
  line->clear();
  char c;
  DWORD got = 0;
  while (ReadFile(handles_->output, &c, 1, &got, nullptr) && got == 1) {
    if (c == '\n') return true;
    if (c != '\r') *line += c;
  }
  return !line->empty();
}

int ChildProcess::wait() {
  DWORD code = 1;
  WaitForSingleObject(handles_->process, INFINITE);
  GetExitCodeProcess(handles_->process, &code);
  return int(code);
}

void ChildProcess::kill() {
  TerminateProcess(handles_->process, 9);
  WaitForSingleObject(handles_->process, INFINITE);
}

void waitForFile(const std::string& path) {
  while (!std::filesystem::exists(path)) Sleep(1);
}

}  // namespace orvia::testing
