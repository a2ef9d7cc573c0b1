// Little-endian integers of the library's files and records, read and written byte by
// byte so that no structure is ever laid over file bytes.
#pragma once

#include <cstdint>

namespace orvia {

inline uint16_t loadU16Le(const uint8_t* p) {
  return uint16_t(p[0] | (p[1] << 8));
}

inline uint32_t loadU32Le(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline void storeU16Le(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

inline void storeU32Le(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

}  // namespace orvia
