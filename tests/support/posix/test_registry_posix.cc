#include <cstdlib>
#include <string>

#include "dict/config.h"
#include "support/test_registry.h"
#include "support/text_hive.h"

namespace orvia::testing {

// The registry backend reads its hives from the folder this variable names.
void enterTestRegistry(const std::string& folder) {
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
  const char* folder = std::getenv("ORVIADIC_REGISTRY_DIR");
  return folder != nullptr &&
         writeFileBytes(hivePath(folder),
                        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\" +
                            std::string(testKeyPath()) + "]\r\n" + valueLines);
}

}  // namespace orvia::testing
