// Bytes of the double-byte languages as the operations walk them.
#pragma once

#include <cstdint>

#include "lang/key_chars.h"

namespace orvia::lang::double_byte {

using key_chars::byteAt;
using key_chars::fold;
using key_chars::isWhiteSpace;
using key_chars::orEmpty;

inline bool isLead(char c) {
  return static_cast<uint8_t>(c) >= 0x80;
}

using Walk = key_chars::LeadByteWalk<isLead>;
inline bool atEnd(const char* s) {
  return Walk::atEnd(s);
}
inline int charWidth(const char* s) {
  return Walk::charWidth(s);
}

}  // namespace orvia::lang::double_byte
