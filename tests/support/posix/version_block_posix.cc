// The layout of platform/posix/version_posix.cc: u32 total size, then entries of
//   u16 name length, name bytes, u16 value length, value bytes, u8 1 if a string.
#include <cstdio>
#include <cstring>
#include <string>

#include "base/bytes.h"
#include "support/version_block.h"

namespace orvia::testing {
namespace {

void putU16(std::vector<uint8_t>* out, uint32_t v) {
  out->push_back(uint8_t(v));
  out->push_back(uint8_t(v >> 8));
}

void putEntry(std::vector<uint8_t>* out, const std::string& name, const uint8_t* value, size_t size,
              bool isString) {
  putU16(out, uint32_t(name.size()));
  out->insert(out->end(), name.begin(), name.end());
  putU16(out, uint32_t(size));
  out->insert(out->end(), value, value + size);
  out->push_back(isString ? 1 : 0);
}

}  // namespace

std::vector<uint8_t> makeVersionBlock(const std::vector<uint32_t>& translations,
                                      const char* fileVersion) {
  std::vector<uint8_t> block(4, 0);
  std::vector<uint8_t> pairs;
  for (uint32_t t : translations) {
    putU16(&pairs, t & 0xFFFF);
    putU16(&pairs, t >> 16);
  }
  putEntry(&block, "\\VarFileInfo\\Translation", pairs.data(), pairs.size(), false);
  for (uint32_t t : translations) {
    char name[64];
    std::snprintf(name, sizeof name, "\\StringFileInfo\\%04X%04X\\FileVersion", t & 0xFFFF,
                  t >> 16);
    putEntry(&block, name, reinterpret_cast<const uint8_t*>(fileVersion),
             std::strlen(fileVersion) + 1, true);
  }
  storeU32Le(block.data(), uint32_t(block.size()));
  return block;
}

}  // namespace orvia::testing
