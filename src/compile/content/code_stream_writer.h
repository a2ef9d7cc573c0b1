// Writes LZW codes as the decoders read them: 32-bit little-endian words filled from
// their most significant bit, the last word padded with zero bits.
#pragma once

#include <cstdint>
#include <vector>

namespace orvia::compile {

class CodeStreamWriter {
 public:
  explicit CodeStreamWriter(std::vector<uint8_t>* out) : out_(out) {}

  void put(uint32_t code, uint32_t width) {
    pending_ = (pending_ << width) | code;
    count_ += width;
    if (count_ >= 32) {
      count_ -= 32;
      storeWord(uint32_t(pending_ >> count_));
    }
  }
  void finish() {
    if (count_ > 0) storeWord(uint32_t(pending_ << (32 - count_)));
    count_ = 0;
  }

 private:
  void storeWord(uint32_t word) {
    for (int i = 0; i < 4; ++i) out_->push_back(uint8_t(word >> (8 * i)));
  }

  std::vector<uint8_t>* out_;
  uint64_t pending_ = 0;
  uint32_t count_ = 0;
};

}  // namespace orvia::compile
