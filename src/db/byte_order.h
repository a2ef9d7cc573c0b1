// Little-endian integers read and written one byte at a time, so that file bytes never
// depend on the host's byte order or alignment.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvia::db {

inline uint32_t loadU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline uint64_t loadU64(const uint8_t* p) {
  return uint64_t(loadU32(p)) | uint64_t(loadU32(p + 4)) << 32;
}

inline void storeU32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

inline void storeU64(uint8_t* p, uint64_t v) {
  storeU32(p, uint32_t(v));
  storeU32(p + 4, uint32_t(v >> 32));
}

}  // namespace orvia::db
