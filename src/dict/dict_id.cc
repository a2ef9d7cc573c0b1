#include "dict/dict_id.h"

namespace orvia::dict {

int formatDictIdHex(uint32_t value, char* out) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int i = 0; i < 8; ++i) out[i] = kDigits[(value >> (28 - 4 * i)) & 0xF];
  out[8] = '\0';
  return 1;
}

int buildDictFileName(uint32_t id, char* out, const char* extension) {
  formatDictIdHex(id, out);
  uint32_t at = 8;
  if (extension != nullptr) {
    while (*extension != '\0' && at + 1 < kFileNameBufferSize) out[at++] = *extension++;
  }
  out[at] = '\0';
  return 1;
}

}  // namespace orvia::dict
