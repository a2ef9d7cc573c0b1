#include "match/soundex.h"

namespace orviadic::match {
namespace {

// The digit of each letter a to z; '0' for the vowels and y, '-' for h and w.
constexpr char kDigits[] = "0123012-02245501262301-202";

char lowerLetter(char c) {
  if (c >= 'A' && c <= 'Z') return char(c - 'A' + 'a');
  return c >= 'a' && c <= 'z' ? c : '\0';
}

}  // namespace

std::string soundexOf(std::string_view word) {
  std::string code;
  char previous = '\0';
  for (char c : word) {
    const char letter = lowerLetter(c);
    if (letter == '\0') continue;
    const char digit = kDigits[letter - 'a'];
    if (code.empty()) {
      code += char(letter - 'a' + 'A');
    } else if (digit != '0' && digit != '-' && digit != previous) {
      code += digit;
      if (code.size() == 4) return code;
    }
    if (digit != '-') previous = digit;
  }
  if (code.empty()) return code;
  code.resize(4, '0');
  return code;
}

}  // namespace orviadic::match
