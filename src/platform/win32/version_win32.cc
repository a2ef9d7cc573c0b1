// The module's version resource through the system's version functions.
#include <windows.h>

#include "platform/platform.h"

namespace orvia::platform {

uint32_t moduleFileName(ModuleHandle module, char* buffer, uint32_t size) {
  if (buffer == nullptr || size == 0) return 0;
  DWORD length = GetModuleFileNameA(static_cast<HMODULE>(module), buffer, size);
  // A name that filled the buffer was cut short.
  return length < size ? length : 0;
}

uint32_t versionInfoSize(const char* fileName) {
  DWORD ignored = 0;
  return fileName == nullptr ? 0 : GetFileVersionInfoSizeA(fileName, &ignored);
}

bool versionInfo(const char* fileName, uint32_t size, void* block) {
  return fileName != nullptr && block != nullptr &&
         GetFileVersionInfoA(fileName, 0, size, block) != 0;
}

bool versionQuery(const void* block, const char* subBlock, const void** value, uint32_t* length) {
  if (block == nullptr || subBlock == nullptr || value == nullptr || length == nullptr)
    return false;
  void* found = nullptr;
  UINT foundLength = 0;
  if (!VerQueryValueA(block, subBlock, &found, &foundLength)) return false;
  *value = found;
  *length = foundLength;
  return true;
}

}  // namespace orvia::platform
