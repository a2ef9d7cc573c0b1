// Key making and character offsets of Japanese.
#include "lang/japanese.h"

#include "lang/japanese_chars.h"

namespace orvia::lang::japanese {
namespace {

bool isIdeographicSpace(uint8_t lead, uint8_t trail) {
  return lead == 0x81 && trail == 0x40;
}

// Leads and trails that Shift-JIS assigns; a zero trail is never one.
bool isValidPair(uint8_t lead, uint8_t trail) {
  const bool validLead = (lead >= 0x81 && lead <= 0xA5) || (lead >= 0xE0 && lead <= 0xEA);
  return validLead && trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
}

}  // namespace

int makeSearchKey(const char* word, char* key) {
  if (key == nullptr) return 0;
  const char* const start = orEmpty(word);
  const char* w = start;
  uint32_t length = 0;
  uint32_t significant = 0;
  bool wellFormed = true;
  while (*w != '\0' && length < kKeyLimit) {
    if (isWhiteSpace(*w)) {
      ++w;
    } else if (!isLead(*w)) {
      key[length++] = *w++;
    } else if (isIdeographicSpace(byteAt(w), byteAt(w + 1))) {
      w += 2;
    } else if (isValidPair(byteAt(w), byteAt(w + 1))) {
      // A mark counts when bound in the word as typed, blanks included.
      if (isSignificant(kindAt(start, w))) ++significant;
      key[length++] = *w++;
      key[length++] = *w++;
    } else {
      wellFormed = false;
      break;
    }
  }
  // Three zero bytes, so that a reader of a pair at the end stays inside what was written.
  key[length] = key[length + 1] = key[length + 2] = '\0';
  return wellFormed && significant > 0 && length < kKeyLimit ? 1 : 0;
}

uint32_t keyCharOffset(const char* key, uint32_t n) {
  if (key == nullptr) return 0;
  Cursor c(key);
  uint32_t counted = 0;
  for (; !c.ended(); c.advance()) {
    if (!isSignificant(c.kind())) continue;
    if (counted == n) break;
    ++counted;
  }
  return static_cast<uint32_t>(c.at - key);
}

}  // namespace orvia::lang::japanese
