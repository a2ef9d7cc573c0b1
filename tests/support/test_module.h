// The library's module loaded over a registry of the test's own, for programs that run
// without a test fixture (fuzzers and benchmarks) and keep it for the whole run.
#pragma once

#include <string>

#include "dict/config.h"
#include "support/test_registry.h"

namespace orvia::testing {

// Enters the test's registry kept in folder, loads the module and points it at the test's
// key; the caller writes the key's values ("PATH") before or after.
inline void loadModuleOverTestRegistry(const std::string& folder) {
  enterTestRegistry(folder);
  dict::moduleLoad(nullptr);
  dict::setRegistryKey(testKeyRoot(), testKeyPath());
}

}  // namespace orvia::testing
