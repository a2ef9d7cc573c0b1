// Bytes as the library's files and records hold them.
//
// Little-endian integers are loaded and stored one byte at a time, so that no structure
// is laid over file bytes and neither the host's byte order nor alignment matters;
// compilers turn each of these into a single load or store, without branches.
//
// ByteReader reads [p, limit) from the front. A read that does not fit returns false and
// leaves the reader where it was; nothing at or past limit is ever read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace orvia {

inline uint16_t loadU16Le(const uint8_t* p) {
  return uint16_t(p[0] | p[1] << 8);
}

inline uint32_t loadU32Le(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline uint64_t loadU64Le(const uint8_t* p) {
  return uint64_t(loadU32Le(p)) | uint64_t(loadU32Le(p + 4)) << 32;
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

inline void storeU64Le(uint8_t* p, uint64_t v) {
  storeU32Le(p, uint32_t(v));
  storeU32Le(p + 4, uint32_t(v >> 32));
}

class ByteReader {
 public:
  // REQUIRES: p <= limit, both in (or one past the end of) the same buffer.
  ByteReader(const uint8_t* p, const uint8_t* limit) : p_(p), limit_(limit) {}

  const uint8_t* position() const { return p_; }
  size_t remaining() const { return size_t(limit_ - p_); }
  bool empty() const { return p_ == limit_; }

  bool readU8(uint8_t* v) {
    if (remaining() < 1) return false;
    *v = *p_++;
    return true;
  }
  bool readU16(uint16_t* v) {
    if (remaining() < 2) return false;
    *v = loadU16Le(p_);
    p_ += 2;
    return true;
  }
  bool readU32(uint32_t* v) {
    if (remaining() < 4) return false;
    *v = loadU32Le(p_);
    p_ += 4;
    return true;
  }
  // A zero-terminated string, left in place: *s points at it, *length excludes the
  // terminator, and the reader moves past the terminator. False when no terminator comes
  // before limit.
  bool readString(const char** s, size_t* length) {
    const void* end = empty() ? nullptr : std::memchr(p_, 0, remaining());
    if (end == nullptr) return false;
    *s = reinterpret_cast<const char*>(p_);
    *length = size_t(static_cast<const uint8_t*>(end) - p_);
    p_ = static_cast<const uint8_t*>(end) + 1;
    return true;
  }

 private:
  const uint8_t* p_;
  const uint8_t* limit_;
};

}  // namespace orvia
