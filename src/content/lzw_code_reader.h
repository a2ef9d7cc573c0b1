// Reads the variable-width codes of an LZW body: 32-bit little-endian words taken from
// their most significant bit. The last word may be short; its missing bytes read as 0.
// A code that needs bits past the last (padded) word is a truncated stream.
#pragma once

#include <cstdint>
#include <cstring>

#include "base/bytes.h"

namespace orvia::content {

class LzwCodeReader {
 public:
  LzwCodeReader(const uint8_t* body, uint32_t size) : body_(body), size_(size) {}

  // REQUIRES: 1 <= width <= 16. False when the stream ends before the code does.
  bool read(uint32_t width, uint32_t* code) {
    if (count_ < width) {
      if (offset_ >= size_) return false;
      buffer_ |= uint64_t(loadWord()) << (32 - count_);
      count_ += 32;
      offset_ += 4;
    }
    *code = uint32_t(buffer_ >> (64 - width));
    buffer_ <<= width;
    count_ -= width;
    return true;
  }

 private:
  uint32_t loadWord() const {
    uint8_t bytes[4] = {0, 0, 0, 0};
    uint32_t left = size_ - offset_;
    std::memcpy(bytes, body_ + offset_, left < 4 ? left : 4);
    return loadU32Le(bytes);
  }

  const uint8_t* body_;
  uint32_t size_;
  uint32_t offset_ = 0;  // next word to load
  uint64_t buffer_ = 0;  // unread bits, left-aligned
  uint32_t count_ = 0;   // number of unread bits in buffer_
};

}  // namespace orvia::content
