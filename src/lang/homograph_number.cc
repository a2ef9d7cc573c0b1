#include "lang/homograph_number.h"

#include <cstdint>

namespace orvia::lang {
namespace {

struct DigitRun {
  const char* first;
  uint32_t count;
};

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Leading zeros are dropped, so that the count of digits orders numbers by magnitude.
DigitRun digitsAt(const char* end) {
  if (*end == '@') ++end;
  while (*end == '0') ++end;
  uint32_t count = 0;
  while (isDigit(end[count])) ++count;
  return {end, count};
}

}  // namespace

int compareHomographNumbers(const char* endA, const char* endB) {
  const DigitRun a = digitsAt(endA);
  const DigitRun b = digitsAt(endB);
  if (a.count != b.count) return a.count < b.count ? -1 : 1;
  for (uint32_t i = 0; i < a.count; ++i) {
    if (a.first[i] != b.first[i]) return a.first[i] - b.first[i];
  }
  return 0;
}

}  // namespace orvia::lang
