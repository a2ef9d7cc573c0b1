// What every language family reads alike in its strings: ASCII white space and case, null
// strings read as empty, homograph numbers, and the walk over strings that mix one-byte
// characters with two-byte ones begun by a lead byte (each family says which bytes lead).
#pragma once

#include <cstdint>

#include "lang/lang_ops.h"

namespace orvia::lang::key_chars {

inline uint8_t byteAt(const char* s) {
  return static_cast<uint8_t>(*s);
}
inline bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
inline bool isWhiteSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
inline char fold(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}
inline const char* orEmpty(const char* s) {
  return s != nullptr ? s : "";
}

// Past white space, then an "@" with the digits and blanks of its homograph number.
inline const char* skipHomographNumber(const char* s) {
  while (isWhiteSpace(*s)) ++s;
  if (*s != '@') return s;
  for (++s; isWhiteSpace(*s) || isDigit(*s);) ++s;
  return s;
}

// Strings of one-byte characters and two-byte ones, whose first byte satisfies IsLead.
template <bool (*IsLead)(char)>
struct LeadByteWalk {
  // The terminator, or a lead byte standing last before it: its pair with the zero is no
  // character, and stepping over both would leave the string.
  static bool atEnd(const char* s) { return s[0] == '\0' || (IsLead(s[0]) && s[1] == '\0'); }

  // The width of the character at s, which is not at its end.
  static int charWidth(const char* s) { return IsLead(*s) ? 2 : 1; }

  // kMatchAll when both walks stopped at their ends, else the characters counted.
  static uint32_t resultOf(const char* a, const char* b, uint32_t count) {
    return atEnd(a) && atEnd(b) ? kMatchAll : count;
  }

  // Characters that agree byte for byte from the start; kMatchAll when the keys are equal.
  static uint32_t matchLenExact(const char* a, const char* b) {
    a = orEmpty(a);
    b = orEmpty(b);
    uint32_t count = 0;
    while (!atEnd(a) && !atEnd(b) && a[0] == b[0]) {
      const int width = charWidth(a);
      if (width == 2 && a[1] != b[1]) break;
      a += width;
      b += width;
      ++count;
    }
    return resultOf(a, b, count);
  }
};

}  // namespace orvia::lang::key_chars
