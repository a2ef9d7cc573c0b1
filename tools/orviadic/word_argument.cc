#include "word_argument.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "conventions.h"
#include "text/utf8.h"

namespace orviadic {
namespace {

// Keys of every language are shorter than 244 bytes, and no code page writes a character
// in fewer bytes than UTF-8 but for the Latin letters: a word of more characters than
// that can never be found.
constexpr size_t kLongestWord = 243;

bool isControl(uint32_t codePoint) {
  return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

}  // namespace

const std::string& checkedWord(const std::string& word) {
  if (word.empty()) throw CommandFailure{kExitError, "the word is empty"};
  size_t characters = 0;
  for (size_t at = 0; at < word.size(); ++characters) {
    uint32_t codePoint = 0;
    const size_t length = orvia::text::utf8Character(std::string_view(word).substr(at), &codePoint);
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
    size_t length = orvia::text::utf8Character(std::string_view(word).substr(at), &codePoint);
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
