// Character classes of the single-byte languages. Bytes are read as signed, so a byte of
// 0x80 or more is negative and belongs to none of these classes.
#pragma once

#include "lang/key_chars.h"

namespace orvia::lang::single_byte {

using key_chars::fold;
using key_chars::isDigit;
using key_chars::isWhiteSpace;
using key_chars::orEmpty;

inline int signedByte(char c) {
  return static_cast<signed char>(c);
}
inline bool isLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
inline bool isSignificant(char c) {
  return isLetter(c) || isWhiteSpace(c);
}

inline const char* skipWhiteSpace(const char* s) {
  while (isWhiteSpace(*s)) ++s;
  return s;
}

}  // namespace orvia::lang::single_byte
