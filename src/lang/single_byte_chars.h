// Character classes of the single-byte languages. Bytes are read as signed, so a byte of
// 0x80 or more is negative and belongs to none of these classes.
#pragma once

namespace orvia::lang::single_byte {

inline int signedByte(char c) {
  return static_cast<signed char>(c);
}
inline bool isLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
inline bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
inline bool isWhiteSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
inline bool isSignificant(char c) {
  return isLetter(c) || isWhiteSpace(c);
}
inline char fold(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

inline const char* skipWhiteSpace(const char* s) {
  while (isWhiteSpace(*s)) ++s;
  return s;
}

// Lets a null key be read as an empty one.
inline const char* orEmpty(const char* s) {
  return s != nullptr ? s : "";
}

}  // namespace orvia::lang::single_byte
