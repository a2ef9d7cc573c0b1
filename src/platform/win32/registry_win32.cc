// The real registry. A RegKey is the opened HKEY.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/registry_keys.h"

namespace orvia::platform {
namespace {

HKEY handleOf(RegKey key) {
  return reinterpret_cast<HKEY>(key);
}

}  // namespace

RegKey regOpenKey(RegRoot root, const char* path, RegAccess access) {
  if (path == nullptr) return nullptr;
  HKEY key = nullptr;
  REGSAM rights = access == RegAccess::kRead ? KEY_READ : KEY_WRITE;
  if (RegOpenKeyExA(rootKey(root), path, 0, rights, &key) != ERROR_SUCCESS) return nullptr;
  return reinterpret_cast<RegKey>(key);
}

void regCloseKey(RegKey key) {
  if (key != nullptr) RegCloseKey(handleOf(key));
}

bool regQueryValue(RegKey key, const char* name, uint32_t* type, void* data, uint32_t* size) {
  if (key == nullptr || size == nullptr) return false;
  DWORD storedType = 0, storedSize = *size;
  LONG status = RegQueryValueExA(handleOf(key), name, nullptr, &storedType,
                                 static_cast<BYTE*>(data), &storedSize);
  *size = storedSize;
  if (status != ERROR_SUCCESS) return false;
  if (type != nullptr) *type = storedType;
  return true;
}

bool regSetValue(RegKey key, const char* name, uint32_t type, const void* data, uint32_t size) {
  if (key == nullptr || (data == nullptr && size != 0)) return false;
  return RegSetValueExA(handleOf(key), name, 0, type, static_cast<const BYTE*>(data), size) ==
         ERROR_SUCCESS;
}

bool regEnumValue(RegKey key, uint32_t index, char* name, uint32_t nameSize, uint32_t* type,
                  void* data, uint32_t* size) {
  if (key == nullptr || name == nullptr || size == nullptr) return false;
  DWORD nameLength = nameSize, storedType = 0, storedSize = *size;
  if (RegEnumValueA(handleOf(key), index, name, &nameLength, nullptr, &storedType,
                    static_cast<BYTE*>(data), &storedSize) != ERROR_SUCCESS)
    return false;
  if (type != nullptr) *type = storedType;
  *size = storedSize;
  return true;
}

}  // namespace orvia::platform
