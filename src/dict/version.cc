#include "dict/version.h"

#include <cstdio>
#include <cstring>

#include "dict/config.h"

namespace orvia::dict {

uint32_t parseFileVersion(const char* text, uint32_t length) {
  uint32_t result = 0;
  uint8_t component = 0;
  for (uint32_t i = 0; i < length; ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      component = uint8_t(component * 10 + (c - '0'));
    } else if (c == ',') {
      result = result * 256 + component;
      component = 0;
    } else if (c == '\0') {
      return result * 256 + component;
    }
  }
  return result;
}

uint32_t versionFromBlock(const void* block) {
  const void* value = nullptr;
  uint32_t length = 0;
  if (!platform::versionQuery(block, "\\VarFileInfo\\Translation", &value, &length) || length != 4)
    return 0;
  const uint8_t* pair = static_cast<const uint8_t*>(value);
  unsigned language = pair[0] | pair[1] << 8;
  unsigned codePage = pair[2] | pair[3] << 8;
  char query[] = "\\StringFileInfo\\040004b0\\FileVersion";
  char digits[9];
  std::snprintf(digits, sizeof digits, "%04X%04X", language, codePage);
  std::memcpy(query + 16, digits, 8);
  if (!platform::versionQuery(block, query, &value, &length)) return 0;
  return parseFileVersion(static_cast<const char*>(value), length);
}

uint32_t readModuleVersion(platform::ModuleHandle module) {
  char fileName[kMaxPath];
  if (platform::moduleFileName(module, fileName, sizeof fileName) == 0) return 0;
  uint32_t size = platform::versionInfoSize(fileName);
  if (size == 0) return 0;
  platform::HeapHandle heap = platform::processHeap();
  void* block = platform::heapAlloc(heap, size);
  if (block == nullptr) return 0;
  uint32_t version = platform::versionInfo(fileName, size, block) ? versionFromBlock(block) : 0;
  platform::heapFree(heap, block);
  return version;
}

}  // namespace orvia::dict
