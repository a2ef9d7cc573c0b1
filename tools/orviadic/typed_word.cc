#include "typed_word.h"

namespace orviadic {
namespace {

// The bytes of the UTF-8 character that lead begins; 0 for a byte that begins none.
size_t characterLength(uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

bool isContinuation(uint8_t byte) {
  return (byte & 0xC0) == 0x80;
}

}  // namespace

bool TypedWord::add(uint8_t byte) {
  if (!partial_.empty() && isContinuation(byte)) {
    partial_ += char(byte);
    if (partial_.size() < length_) return false;
    text_ += partial_;
    partial_.clear();
    return true;
  }
  partial_.clear();
  length_ = characterLength(byte);
  if (length_ == 1) {
    text_ += char(byte);
    return true;
  }
  if (length_ > 1) partial_ = char(byte);
  return false;
}

bool TypedWord::dropLast() {
  if (!partial_.empty()) {
    partial_.clear();
    return false;
  }
  if (text_.empty()) return false;
  while (text_.size() > 1 && isContinuation(uint8_t(text_.back()))) text_.pop_back();
  text_.pop_back();
  return true;
}

void TypedWord::clear() {
  text_.clear();
  partial_.clear();
}

}  // namespace orviadic
