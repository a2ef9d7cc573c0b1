// The other process of the platform contract's two-process tests:
//   hold-mutex NAME DIR            takes the named mutex, creates DIR/acquired, waits for
//                                  DIR/proceed, creates DIR/releasing and lets go
//   abandon-mutex NAME             takes the named mutex and exits holding it
//   set-values ROOT KEY PREFIX N   sets the dword values PREFIX0..PREFIXn-1 to 0..n-1
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/file.h"
#include "platform/platform.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace {

using namespace orvia::platform;

int holdMutex(const char* name, const std::string& signals) {
  MutexHandle mutex = openOrCreateMutex(name);
  if (mutex == nullptr) return 2;
  waitMutex(mutex);
  if (signals.empty()) std::_Exit(0);  // holding it, and past the leak check
  orvia::testing::writeFileBytes(signals + "/acquired", "");
  orvia::testing::waitUntil([&] { return fileExists((signals + "/proceed").c_str()); });
  orvia::testing::writeFileBytes(signals + "/releasing", "");
  releaseMutex(mutex);
  closeMutex(mutex);
  return 0;
}

int setValues(const char* root, const char* path, const std::string& prefix, int count) {
  for (int i = 0; i < count; ++i) {
    RegKey key = regOpenKey(RegRoot(std::strtoul(root, nullptr, 10)), path, RegAccess::kWrite);
    const uint32_t value = uint32_t(i);
    const bool ok = regSetValue(key, (prefix + std::to_string(i)).c_str(), kRegDword, &value, 4);
    regCloseKey(key);
    if (!ok) return 3;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "hold-mutex" && argc == 4) return holdMutex(argv[2], argv[3]);
  if (command == "abandon-mutex" && argc == 3) return holdMutex(argv[2], "");
  if (command == "set-values" && argc == 6)
    return setValues(argv[2], argv[3], argv[4], std::atoi(argv[5]));
  return 2;
}
