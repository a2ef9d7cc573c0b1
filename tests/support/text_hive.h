// The POSIX registry's hive of HKEY_LOCAL_MACHINE in a test's registry folder, read
// and written behind the library's back.
#pragma once

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace orvia::testing {

inline std::string hivePath(const std::string& registryFolder) {
  return (std::filesystem::path(registryFolder) / "HKEY_LOCAL_MACHINE.reg").string();
}
inline void writeHive(const TempDir& registry, const std::string& text) {
  writeFileBytes(hivePath(registry.path()), text);
}
inline std::string hiveText(const TempDir& registry) {
  return readFileBytes(hivePath(registry.path()));
}

}  // namespace orvia::testing
