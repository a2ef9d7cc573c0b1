// Bytes of the double-byte languages as the operations walk them.
#pragma once

#include <cstdint>

namespace orvia::lang::double_byte {

inline uint8_t byteAt(const char* s) {
  return static_cast<uint8_t>(*s);
}
inline bool isLead(char c) {
  return static_cast<uint8_t>(c) >= 0x80;
}
inline bool isWhiteSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
inline char fold(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// The terminator, or a lead byte standing last before it: its pair with the zero is no
// character, and stepping over both would leave the string.
inline bool atEnd(const char* s) {
  return s[0] == '\0' || (isLead(s[0]) && s[1] == '\0');
}

// The width of the character at s, which is not at its end.
inline int charWidth(const char* s) {
  return isLead(*s) ? 2 : 1;
}

inline const char* orEmpty(const char* s) {
  return s != nullptr ? s : "";
}

}  // namespace orvia::lang::double_byte
