// Shift-JIS characters as the Japanese operations walk them: their widths and kinds, and
// the kana table.
#pragma once

#include <cstdint>

#include "lang/key_chars.h"

namespace orvia::lang::japanese {

using key_chars::byteAt;
using key_chars::fold;
using key_chars::isWhiteSpace;
using key_chars::orEmpty;

// Half-width katakana (0xA6 to 0xDF) stand alone; 0x80 and 0xA0 to 0xA5 lead although no
// valid character begins with them.
inline bool isLead(char c) {
  const uint8_t b = static_cast<uint8_t>(c);
  return b >= 0x80 && (b < 0xA6 || b > 0xDF);
}

using Walk = key_chars::LeadByteWalk<isLead>;
inline bool atEnd(const char* s) {
  return Walk::atEnd(s);
}
inline int charWidth(const char* s) {
  return Walk::charWidth(s);
}

inline bool isKana(uint8_t lead, uint8_t trail) {
  return (lead == 0x82 && trail >= 0x9F && trail <= 0xF1) ||
         (lead == 0x83 && trail >= 0x40 && trail <= 0x96 && trail != 0x7F);
}
inline bool isLongVowelMark(uint8_t lead, uint8_t trail) {
  return lead == 0x81 && trail == 0x5B;
}
// Kanji and full-width digits and letters.
inline bool isOtherSignificant(uint8_t lead, uint8_t trail) {
  if (lead == 0x82) {
    return (trail >= 0x4F && trail <= 0x58) || (trail >= 0x60 && trail <= 0x79) ||
           (trail >= 0x81 && trail <= 0x9A);
  }
  return (lead >= 0x89 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEA) ||
         (lead == 0x88 && trail >= 0x9F);
}

// A long-vowel mark is bound when the two bytes before it form a kana, and free (not
// significant) otherwise: at the start of a string or after anything else.
enum class CharKind : uint8_t { kNonSignificant, kFreeMark, kBoundMark, kKana, kOtherSignificant };

inline bool isMark(CharKind k) {
  return k == CharKind::kFreeMark || k == CharKind::kBoundMark;
}
inline bool isSignificant(CharKind k) {
  return k != CharKind::kNonSignificant && k != CharKind::kFreeMark;
}

// The kind of the character at s in the string that begins at start; only a long-vowel
// mark looks back, and never before start. REQUIRES: !atEnd(s).
inline CharKind kindAt(const char* start, const char* s) {
  if (!isLead(*s)) return CharKind::kNonSignificant;
  const uint8_t lead = byteAt(s);
  const uint8_t trail = byteAt(s + 1);
  if (isLongVowelMark(lead, trail)) {
    const bool bound = s - start >= 2 && isKana(byteAt(s - 2), byteAt(s - 1));
    return bound ? CharKind::kBoundMark : CharKind::kFreeMark;
  }
  if (isKana(lead, trail)) return CharKind::kKana;
  if (isOtherSignificant(lead, trail)) return CharKind::kOtherSignificant;
  return CharKind::kNonSignificant;
}

struct KanaRow {
  uint8_t base;
  uint8_t vowel;
};
inline constexpr int kKanaPositions = 86;
extern const KanaRow kKanaTable[kKanaPositions];

// Katakana skip 0x7F, so those above it stand one byte further from their hiragana.
// REQUIRES: lead, trail is a kana.
inline int kanaPosition(uint8_t lead, uint8_t trail) {
  if (lead == 0x82) return trail - 0x9F;
  return trail < 0x80 ? trail - 0x40 : trail - 0x41;
}
inline uint8_t kanaBase(uint8_t lead, uint8_t trail) {
  return kKanaTable[kanaPosition(lead, trail)].base;
}
inline uint8_t kanaVowel(uint8_t lead, uint8_t trail) {
  return kKanaTable[kanaPosition(lead, trail)].vowel;
}

// A walk over one string, which keeps its start for the look back from a long-vowel mark.
struct Cursor {
  const char* start;
  const char* at;

  explicit Cursor(const char* s) : start(s), at(s) {}
  bool ended() const { return atEnd(at); }
  CharKind kind() const { return kindAt(start, at); }
  uint8_t lead() const { return byteAt(at); }
  uint8_t trail() const { return byteAt(at + 1); }
  uint8_t base() const { return kanaBase(lead(), trail()); }
  // REQUIRES: the character is a bound long-vowel mark.
  uint8_t markVowel() const { return kanaVowel(byteAt(at - 2), byteAt(at - 1)); }
  void advance() { at += charWidth(at); }
};

}  // namespace orvia::lang::japanese
