#include "word_argument.h"

#include <cstdint>
#include <cstdio>

#include "conventions.h"

namespace orviadic {
namespace {

// Keys of every language are shorter than 244 bytes, and no code page writes a character
// in fewer bytes than UTF-8 but for the Latin letters: a word of more characters than
// that can never be found.
constexpr size_t kLongestWord = 243;

// The length of the UTF-8 character at text[at] and its code point; 0 when the bytes
// there are not one.
size_t characterAt(const std::string& text, size_t at, uint32_t* codePoint) {
  const uint8_t lead = uint8_t(text[at]);
  const size_t length = lead < 0x80    ? 1
                        : lead >= 0xF5 ? 0
                        : lead >= 0xF0 ? 4
                        : lead >= 0xE0 ? 3
                        : lead >= 0xC2 ? 2
                                       : 0;
  if (length == 0 || at + length > text.size()) return 0;
  uint32_t value = length == 1 ? lead : lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    const uint8_t byte = uint8_t(text[at + i]);
    if ((byte & 0xC0) != 0x80) return 0;
    value = value << 6 | (byte & 0x3F);
  }
  static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
    return 0;
  *codePoint = value;
  return length;
}

bool isControl(uint32_t codePoint) {
  return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

}  // namespace

const std::string& checkedWord(const std::string& word) {
  if (word.empty()) throw CommandFailure{kExitError, "the word is empty"};
  size_t characters = 0;
  for (size_t at = 0; at < word.size(); ++characters) {
    uint32_t codePoint = 0;
    const size_t length = characterAt(word, at, &codePoint);
    if (length == 0) throw CommandFailure{kExitError, "the word is not UTF-8: " + printable(word)};
    if (isControl(codePoint))
      throw CommandFailure{kExitError, "the word holds a control character: " + printable(word)};
    at += length;
  }
  if (characters > kLongestWord)
    throw CommandFailure{kExitError, "the word is too long: " + std::to_string(characters) +
                                         " characters, at most " + std::to_string(kLongestWord)};
  return word;
}

std::string printable(const std::string& word) {
  // A long word is cut, at a character's start, so that the message stays one line.
  constexpr size_t kShownBytes = 80;
  size_t shown = word.size();
  if (shown > kShownBytes) {
    shown = kShownBytes;
    while (shown > 0 && (uint8_t(word[shown]) & 0xC0) == 0x80) --shown;
  }
  std::string out;
  for (size_t at = 0; at < shown;) {
    uint32_t codePoint = 0;
    size_t length = characterAt(word, at, &codePoint);
    if (length != 0 && !isControl(codePoint)) {
      out.append(word, at, length);
    } else {
      length = length == 0 ? 1 : length;
      for (size_t i = 0; i < length; ++i) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", unsigned(uint8_t(word[at + i])));
        out += escaped;
      }
    }
    at += length;
  }
  if (shown < word.size()) out += "... (" + std::to_string(word.size()) + " bytes)";
  return out;
}

}  // namespace orviadic
