#include "content/unmask.h"

#include <cstring>

namespace orvia::content {

uint32_t unmaskType2(const uint8_t* body, uint8_t* out, uint32_t count) {
  // The mask's file bytes XOR the data's file bytes position by position, so the byte
  // order of the host does not matter; 32 bytes go at once.
  uint32_t mask32;
  std::memcpy(&mask32, body, 4);
  const uint64_t mask = (uint64_t(mask32) << 32) | mask32;
  const uint8_t* in = body + 4;
  const uint32_t words = count & ~3u;
  uint32_t i = 0;
  for (; i + 32 <= words; i += 32) {
    uint64_t v[4];
    std::memcpy(v, in + i, 32);
    v[0] ^= mask;
    v[1] ^= mask;
    v[2] ^= mask;
    v[3] ^= mask;
    std::memcpy(out + i, v, 32);
  }
  for (; i + 8 <= words; i += 8) {
    uint64_t v;
    std::memcpy(&v, in + i, 8);
    v ^= mask;
    std::memcpy(out + i, &v, 8);
  }
  if (i < words) {
    uint32_t v;
    std::memcpy(&v, in + i, 4);
    v ^= mask32;
    std::memcpy(out + i, &v, 4);
    i += 4;
  }
  std::memcpy(out + i, in + i, count - i);
  out[count] = 0;
  return 1;
}

}  // namespace orvia::content
