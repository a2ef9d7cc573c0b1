#include "quoted_word.h"

namespace orviadic {

std::string quotedWord(const std::string& word) {
  constexpr size_t kShown = 40;
  if (word.size() <= kShown) return word;
  // Cut before a UTF-8 continuation byte, never inside a character.
  size_t cut = kShown;
  while (cut > 0 && (static_cast<unsigned char>(word[cut]) & 0xC0) == 0x80) --cut;
  return word.substr(0, cut) + "... (" + std::to_string(word.size()) + " bytes)";
}

}  // namespace orviadic
