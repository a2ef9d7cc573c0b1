#include <cstdlib>
#include <string>

#include "dict/config.h"
#include "support/test_registry.h"
#include "support/text_hive.h"

namespace orvia::testing {
namespace {

std::string& hiveFolder() {
  static std::string folder;
  return folder;
}

}  // namespace

void enterTestRegistry(const std::string& folder) {
  hiveFolder() = folder;
  setenv("ORVIADIC_REGISTRY_DIR", folder.c_str(), 1);
}

void leaveTestRegistry() {
  unsetenv("ORVIADIC_REGISTRY_DIR");
}

// The library's default key, in the test's own hive.
uint32_t testKeyRoot() {
  return platform::kHkeyLocalMachine;
}

const char* testKeyPath() {
  return dict::kDefaultRegistryPath;
}

bool writeTestKey(const std::string& valueLines) {
  return writeFileBytes(hivePath(hiveFolder()),
                        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\" +
                            std::string(testKeyPath()) + "]\r\n" + valueLines);
}

}  // namespace orvia::testing
