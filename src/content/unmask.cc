#include "content/unmask.h"

#include <cstring>

namespace orvia::content {

uint32_t unmaskType2(const uint8_t* body, uint8_t* out, uint32_t count) {
  // The mask's file bytes XOR the data's file bytes position by position, so the byte
  // order of the host does not matter. Eight separate words per round let the compiler
  // keep them in vector registers instead of a stack array.
  uint32_t mask32;
  std::memcpy(&mask32, body, 4);
  const uint64_t mask = (uint64_t(mask32) << 32) | mask32;
  const uint8_t* in = body + 4;
  const uint32_t words = count & ~3u;
  uint32_t i = 0;
  for (; i + 64 <= words; i += 64) {
    uint64_t v0, v1, v2, v3, v4, v5, v6, v7;
    std::memcpy(&v0, in + i, 8);
    std::memcpy(&v1, in + i + 8, 8);
    std::memcpy(&v2, in + i + 16, 8);
    std::memcpy(&v3, in + i + 24, 8);
    std::memcpy(&v4, in + i + 32, 8);
    std::memcpy(&v5, in + i + 40, 8);
    std::memcpy(&v6, in + i + 48, 8);
    std::memcpy(&v7, in + i + 56, 8);
    v0 ^= mask;
    v1 ^= mask;
    v2 ^= mask;
    v3 ^= mask;
    v4 ^= mask;
    v5 ^= mask;
    v6 ^= mask;
    v7 ^= mask;
    std::memcpy(out + i, &v0, 8);
    std::memcpy(out + i + 8, &v1, 8);
    std::memcpy(out + i + 16, &v2, 8);
    std::memcpy(out + i + 24, &v3, 8);
    std::memcpy(out + i + 32, &v4, 8);
    std::memcpy(out + i + 40, &v5, 8);
    std::memcpy(out + i + 48, &v6, 8);
    std::memcpy(out + i + 56, &v7, 8);
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
  for (; i < count; ++i) out[i] = in[i];
  out[count] = 0;
  return 1;
}

}  // namespace orvia::content
