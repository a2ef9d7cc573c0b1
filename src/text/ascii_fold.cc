#include "text/ascii_fold.h"

#include <cstdint>

namespace orvia::text {
namespace {

// Bytes 0x80 to 0xFF; null where there is no ASCII spelling.
const char* const kFold[128] = {
    // 0x80
    nullptr,
    nullptr,
    ",",
    "f",
    "\"",
    "...",
    nullptr,
    nullptr,
    "^",
    nullptr,
    "S",
    "<",
    "OE",
    nullptr,
    "Z",
    nullptr,
    // 0x90
    nullptr,
    "'",
    "'",
    "\"",
    "\"",
    nullptr,
    "-",
    "-",
    "~",
    nullptr,
    "s",
    ">",
    "oe",
    nullptr,
    "z",
    "Y",
    // 0xA0
    " ",
    "!",
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    "|",
    nullptr,
    nullptr,
    nullptr,
    "a",
    "<<",
    nullptr,
    "",
    nullptr,
    nullptr,
    // 0xB0
    nullptr,
    nullptr,
    "2",
    "3",
    "'",
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    "1",
    "o",
    ">>",
    "1/4",
    "1/2",
    "3/4",
    "?",
    // 0xC0
    "A",
    "A",
    "A",
    "A",
    "A",
    "A",
    "AE",
    "C",
    "E",
    "E",
    "E",
    "E",
    "I",
    "I",
    "I",
    "I",
    // 0xD0
    "D",
    "N",
    "O",
    "O",
    "O",
    "O",
    "O",
    nullptr,
    "O",
    "U",
    "U",
    "U",
    "U",
    "Y",
    "TH",
    "ss",
    // 0xE0
    "a",
    "a",
    "a",
    "a",
    "a",
    "a",
    "ae",
    "c",
    "e",
    "e",
    "e",
    "e",
    "i",
    "i",
    "i",
    "i",
    // 0xF0
    "d",
    "n",
    "o",
    "o",
    "o",
    "o",
    "o",
    nullptr,
    "o",
    "u",
    "u",
    "u",
    "u",
    "y",
    "th",
    "y",
};

}  // namespace

bool foldToAscii(std::string_view windows1252, std::string* out) {
  out->clear();
  for (char c : windows1252) {
    uint8_t byte = uint8_t(c);
    if (byte < 0x80) {
      out->push_back(c);
      continue;
    }
    const char* spelling = kFold[byte - 0x80];
    if (spelling == nullptr) return false;
    out->append(spelling);
  }
  return true;
}

}  // namespace orvia::text
