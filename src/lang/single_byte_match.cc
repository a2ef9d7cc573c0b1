// The four match lengths of the single-byte languages, used to score the records around
// a sought key.
#include "lang/single_byte.h"

#include "lang/single_byte_chars.h"

namespace orvia::lang::single_byte {
namespace {

char unchanged(char c) {
  return c;
}

template <char (*Map)(char)>
uint32_t matchSignificantChars(const char* a, const char* b) {
  a = orEmpty(a);
  b = orEmpty(b);
  uint32_t count = 0;
  for (;; ++a, ++b, ++count) {
    while (*a != '\0' && !isSignificant(*a)) ++a;
    while (*b != '\0' && !isSignificant(*b)) ++b;
    if (*a == '\0' || *b == '\0' || Map(*a) != Map(*b)) break;
  }
  return *a == '\0' && *b == '\0' ? kMatchAll : count;
}

}  // namespace

uint32_t matchLenFolded(const char* a, const char* b) {
  return matchSignificantChars<fold>(a, b);
}

uint32_t matchLenSignificant(const char* a, const char* b) {
  return matchSignificantChars<unchanged>(a, b);
}

uint32_t matchLenNoCase(const char* a, const char* b) {
  a = orEmpty(a);
  b = orEmpty(b);
  uint32_t count = 0;
  for (; *a != '\0' && *b != '\0' && fold(*a) == fold(*b); ++a, ++b) ++count;
  return *key_chars::skipHomographNumber(a) == '\0' && *key_chars::skipHomographNumber(b) == '\0'
             ? kMatchAll
             : count;
}

uint32_t matchLenExact(const char* a, const char* b) {
  a = orEmpty(a);
  b = orEmpty(b);
  uint32_t count = 0;
  for (; *a != '\0' && *a == *b; ++a, ++b) ++count;
  return *a == '\0' && *b == '\0' ? kMatchAll : count;
}

}  // namespace orvia::lang::single_byte
