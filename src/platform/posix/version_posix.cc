// Version information on POSIX: the library carries its version record compiled in and
// answers the same two-step queries (size, then value by name) that Windows offers for
// a module's version resource, so the version parse above is shared.
//
// Block layout, little-endian: u32 total size, then entries of
//   u16 name length, name bytes, u16 value length, value bytes, u8 1 if a string
// where names are full query paths ("\VarFileInfo\Translation",
// "\StringFileInfo\040904B0\FileVersion") and strings keep their terminator.
#include <dlfcn.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "platform/platform.h"

namespace orvia::platform {
namespace {

void putU16(std::vector<uint8_t>* out, uint32_t v) {
  out->push_back(uint8_t(v & 0xFF));
  out->push_back(uint8_t((v >> 8) & 0xFF));
}

void putEntry(std::vector<uint8_t>* out, const std::string& name, const void* value, uint32_t size,
              bool isString) {
  putU16(out, uint32_t(name.size()));
  out->insert(out->end(), name.begin(), name.end());
  putU16(out, size);
  const uint8_t* bytes = static_cast<const uint8_t*>(value);
  out->insert(out->end(), bytes, bytes + size);
  out->push_back(isString ? 1 : 0);
}

// The block of one translation pair (language in the low 16 bits, code page in the high
// 16) with the FileVersion string under it.
std::vector<uint8_t> encodeVersionBlock(uint32_t translation, const char* fileVersion) {
  std::vector<uint8_t> block(4, 0);
  uint8_t pair[4];
  storeU32Le(pair, translation);
  putEntry(&block, "\\VarFileInfo\\Translation", pair, sizeof pair, false);
  char name[64];
  std::snprintf(name, sizeof name, "\\StringFileInfo\\%04X%04X\\FileVersion", translation & 0xFFFF,
                translation >> 16);
  putEntry(&block, name, fileVersion, uint32_t(std::strlen(fileVersion) + 1), true);
  storeU32Le(block.data(), uint32_t(block.size()));
  return block;
}

bool sameNoCase(const char* a, const uint8_t* b, size_t n) {
  if (std::strlen(a) != n) return false;
  for (size_t i = 0; i < n; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(b[i])) return false;
  }
  return true;
}

const std::vector<uint8_t>& ownBlock() {
  static const std::vector<uint8_t> block =
      encodeVersionBlock(0x04B00409u, ORVIADIC_VERSION_COMMAS);
  return block;
}

// Any address inside this library names its file.
void anchor() {}

}  // namespace

uint32_t moduleFileName(ModuleHandle, char* buffer, uint32_t size) {
  Dl_info info;
  if (buffer == nullptr || size == 0) return 0;
  if (dladdr(reinterpret_cast<void*>(&anchor), &info) == 0 || info.dli_fname == nullptr) return 0;
  size_t length = std::strlen(info.dli_fname);
  if (length >= size) return 0;
  std::memcpy(buffer, info.dli_fname, length + 1);
  return uint32_t(length);
}

uint32_t versionInfoSize(const char* fileName) {
  char own[4096];
  if (fileName == nullptr || moduleFileName(nullptr, own, sizeof own) == 0) return 0;
  return std::strcmp(fileName, own) == 0 ? uint32_t(ownBlock().size()) : 0;
}

bool versionInfo(const char* fileName, uint32_t size, void* block) {
  if (block == nullptr || versionInfoSize(fileName) == 0 || size < ownBlock().size()) return false;
  std::memcpy(block, ownBlock().data(), ownBlock().size());
  return true;
}

bool versionQuery(const void* block, const char* subBlock, const void** value, uint32_t* length) {
  if (block == nullptr || subBlock == nullptr || value == nullptr || length == nullptr)
    return false;
  const uint8_t* bytes = static_cast<const uint8_t*>(block);
  uint32_t total = loadU32Le(bytes);
  for (uint32_t pos = 4; pos + 2 <= total;) {
    uint32_t nameLength = loadU16Le(bytes + pos);
    const uint8_t* name = bytes + pos + 2;
    if (pos + 2 + nameLength + 2 > total) return false;
    uint32_t valueLength = loadU16Le(name + nameLength);
    const uint8_t* data = name + nameLength + 2;
    if (uint32_t(data - bytes) + valueLength + 1 > total) return false;
    bool isString = data[valueLength] != 0;
    if (sameNoCase(subBlock, name, nameLength)) {
      *value = data;
      *length = valueLength;  // strings keep their terminator: characters = bytes here
      return !isString || valueLength > 0;
    }
    pos = uint32_t(data - bytes) + valueLength + 1;
  }
  return false;
}

}  // namespace orvia::platform
