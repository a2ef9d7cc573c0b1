// The layout of platform/posix/version_posix.cc: u32 total size, then entries of
//   u16 name length, name bytes, u16 value length, value bytes, u8 1 if a string.
#include <cstdio>
#include <cstring>
#include <string>

#include "base/bytes.h"
#include "support/version_block.h"

namespace orvia::testing {
namespace {

void putEntry(std::vector<uint8_t>* out, const std::string& name, const std::string& value,
              bool isString) {
  for (const std::string* part : {&name, &value}) {
    out->push_back(uint8_t(part->size()));
    out->push_back(uint8_t(part->size() >> 8));
    out->insert(out->end(), part->begin(), part->end());
  }
  out->push_back(isString ? 1 : 0);
}

}  // namespace

std::vector<uint8_t> makeVersionBlock(const std::vector<uint32_t>& translations,
                                      const char* fileVersion) {
  std::vector<uint8_t> block(4, 0);
  std::string pairs(4 * translations.size(), '\0');
  for (size_t i = 0; i < translations.size(); ++i)
    storeU32Le(reinterpret_cast<uint8_t*>(pairs.data()) + 4 * i, translations[i]);
  putEntry(&block, "\\VarFileInfo\\Translation", pairs, false);
  for (uint32_t t : translations) {
    char name[64];
    std::snprintf(name, sizeof name, "\\StringFileInfo\\%04X%04X\\FileVersion", t & 0xFFFF,
                  t >> 16);
    putEntry(&block, name, std::string(fileVersion, std::strlen(fileVersion) + 1), true);
  }
  storeU32Le(block.data(), uint32_t(block.size()));
  return block;
}

}  // namespace orvia::testing
