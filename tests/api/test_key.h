// Points the loaded library at the test's own registry key: it read the default key
// when it loaded.
#pragma once

#include <cstdint>

#include "orviadic.h"
#include "support/test_registry.h"

namespace orvia::testing {

inline int pointLibraryAtTestKey() {
  return dicSetRegKey(reinterpret_cast<void*>(uintptr_t(testKeyRoot())), testKeyPath());
}

}  // namespace orvia::testing
