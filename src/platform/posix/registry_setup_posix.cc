#include <string>

#include "platform/posix/registry_hives.h"
#include "platform/registry_setup.h"

namespace orvia::platform {

bool regCreateKey(RegRoot root, const char* path) {
  if (path == nullptr) return false;
  std::string keyPath = fullKeyPath(root, path);
  return rewriteHive(root, true, [&](regtext::Hive& hive) { return hive.addKey(keyPath); });
}

bool regDeleteValue(RegRoot root, const char* path, const char* name) {
  if (path == nullptr || name == nullptr) return false;
  std::string keyPath = fullKeyPath(root, path);
  return rewriteHive(root, false,
                     [&](regtext::Hive& hive) { return hive.removeValue(keyPath, name); });
}

}  // namespace orvia::platform
