// Key making and character offsets of the double-byte languages: one algorithm, three
// sets of character tests.
#include "lang/double_byte.h"

#include "lang/double_byte_chars.h"

namespace orvia::lang::double_byte {
namespace {

bool inRange(uint8_t b, uint8_t first, uint8_t last) {
  return b >= first && b <= last;
}

// GB2312 rows 10 to 15 (leads 0xAA to 0xAF) are unassigned, and leads of 0xF8 and above
// lie past the last row.
bool isGb2312Char(uint8_t lead, uint8_t trail) {
  return (inRange(lead, 0xA1, 0xA9) || inRange(lead, 0xB0, 0xF7)) && inRange(trail, 0xA1, 0xFE);
}

// Three leads end part-way through their trail range: the last assigned trail of each.
bool isBig5Char(uint8_t lead, uint8_t trail) {
  if (!inRange(lead, 0xA1, 0xF9)) return false;
  if (!inRange(trail, 0x40, 0x7E) && !inRange(trail, 0xA1, 0xFE)) return false;
  switch (lead) {
    case 0xA3:
      return trail < 0xC0;
    case 0xC8:
      return trail < 0xD5;
    case 0xF9:
      return trail < 0xDD;
    default:
      return true;
  }
}

bool isKsX1001Char(uint8_t lead, uint8_t trail) {
  return inRange(lead, 0xA1, 0xFE) && inRange(trail, 0xA1, 0xFE);
}

}  // namespace

bool isValidChar(Encoding encoding, uint8_t lead, uint8_t trail) {
  switch (encoding) {
    case Encoding::kGb2312:
      return isGb2312Char(lead, trail);
    case Encoding::kBig5:
      return isBig5Char(lead, trail);
    case Encoding::kKsX1001:
      return isKsX1001Char(lead, trail);
  }
  return false;
}

bool isIdeographicSpace(Encoding encoding, uint8_t lead, uint8_t trail) {
  return lead == 0xA1 && trail == (encoding == Encoding::kBig5 ? 0x40 : 0xA1);
}

template <Encoding E>
int makeSearchKey(const char* word, char* key) {
  if (key == nullptr) return 0;
  const char* w = orEmpty(word);
  uint32_t length = 0;
  uint32_t charCount = 0;
  bool wellFormed = true;
  while (*w != '\0' && length < kKeyLimit) {
    if (isWhiteSpace(*w)) {
      ++w;
    } else if (!isLead(*w)) {
      key[length++] = *w++;
    } else if (isIdeographicSpace(E, byteAt(w), byteAt(w + 1))) {
      w += 2;
    } else if (isValidChar(E, byteAt(w), byteAt(w + 1))) {
      key[length++] = *w++;
      key[length++] = *w++;
      ++charCount;
    } else {
      wellFormed = false;
      break;
    }
  }
  // Three zero bytes, so that a reader of a pair at the end stays inside what was written.
  key[length] = key[length + 1] = key[length + 2] = '\0';
  if (charCount == 0) key[0] = '\0';
  return wellFormed && charCount > 0 && length < kKeyLimit ? 1 : 0;
}

template <Encoding E>
uint32_t keyCharOffset(const char* key, uint32_t n) {
  if (key == nullptr) return 0;
  uint32_t offset = 0;
  uint32_t counted = 0;
  while (!atEnd(key + offset)) {
    if (!isLead(key[offset])) {
      ++offset;
      continue;
    }
    if (isValidChar(E, byteAt(key + offset), byteAt(key + offset + 1))) {
      if (counted == n) return offset;
      ++counted;
    }
    offset += 2;
  }
  return offset;
}

template int makeSearchKey<Encoding::kGb2312>(const char*, char*);
template int makeSearchKey<Encoding::kBig5>(const char*, char*);
template int makeSearchKey<Encoding::kKsX1001>(const char*, char*);
template uint32_t keyCharOffset<Encoding::kGb2312>(const char*, uint32_t);
template uint32_t keyCharOffset<Encoding::kBig5>(const char*, uint32_t);
template uint32_t keyCharOffset<Encoding::kKsX1001>(const char*, uint32_t);

}  // namespace orvia::lang::double_byte
