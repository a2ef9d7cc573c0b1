#include <windows.h>

#include "platform/registry_setup.h"
#include "platform/win32/registry_keys.h"

namespace orvia::platform {

bool regCreateKey(RegRoot root, const char* path) {
  if (path == nullptr) return false;
  HKEY key = nullptr;
  if (RegCreateKeyExA(rootKey(root), path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

bool regDeleteValue(RegRoot root, const char* path, const char* name) {
  if (path == nullptr || name == nullptr) return false;
  HKEY key = nullptr;
  if (RegOpenKeyExA(rootKey(root), path, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
  const bool removed = RegDeleteValueA(key, name) == ERROR_SUCCESS;
  RegCloseKey(key);
  return removed;
}

}  // namespace orvia::platform
