#include <cstdlib>
#include <string>

#include "support/temp_dir.h"
#include "support/test_registry.h"

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

uint32_t testKeyRoot() {
  return 0x80000002u;  // HKEY_LOCAL_MACHINE, in the test's own hive
}

const char* testKeyPath() {
  return "SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict";
}

bool writeTestKey(const std::string& valueLines) {
  return writeFileBytes(hiveFolder() + "/HKEY_LOCAL_MACHINE.reg",
                        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\" +
                            std::string(testKeyPath()) + "]\r\n" + valueLines);
}

}  // namespace orvia::testing
