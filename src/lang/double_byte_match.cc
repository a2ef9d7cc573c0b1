// The match lengths of the double-byte languages, shared by all three codes, used to
// score the records around a sought key.
#include "lang/double_byte.h"
#include "lang/double_byte_chars.h"

namespace orvia::lang::double_byte {
namespace {

const char* skipAscii(const char* s) {
  while (!atEnd(s) && !isLead(*s)) ++s;
  return s;
}

}  // namespace

uint32_t matchLenSignificant(const char* a, const char* b) {
  a = orEmpty(a);
  b = orEmpty(b);
  uint32_t count = 0;
  for (;; a += 2, b += 2, ++count) {
    a = skipAscii(a);
    b = skipAscii(b);
    if (atEnd(a) || atEnd(b) || a[0] != b[0] || a[1] != b[1]) break;
  }
  return Walk::resultOf(a, b, count);
}

uint32_t matchLenNoCase(const char* a, const char* b) {
  a = orEmpty(a);
  b = orEmpty(b);
  uint32_t count = 0;
  while (!atEnd(a) && !atEnd(b)) {
    const int width = charWidth(a);
    if (width == 2 ? a[0] != b[0] || a[1] != b[1] : fold(a[0]) != fold(b[0])) break;
    a += width;
    b += width;
    ++count;
  }
  return Walk::resultOf(a, b, count);
}

uint32_t matchLenExact(const char* a, const char* b) {
  return Walk::matchLenExact(a, b);
}

}  // namespace orvia::lang::double_byte
