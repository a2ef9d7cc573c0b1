// The match lengths of Japanese, used to score the records around a sought key.
#include "lang/japanese.h"
#include "lang/japanese_chars.h"

namespace orvia::lang::japanese {
namespace {

CharKind skipNonSignificant(Cursor& c) {
  for (; !c.ended(); c.advance()) {
    const CharKind k = c.kind();
    if (isSignificant(k)) return k;
  }
  return CharKind::kNonSignificant;
}

bool sameBytes(const Cursor& a, const Cursor& b) {
  return a.lead() == b.lead() && a.trail() == b.trail();
}

// Two two-byte characters under folding: kana by base, a long-vowel mark as the vowel of
// the kana it is bound to.
bool agreeFolded(const Cursor& a, CharKind ka, const Cursor& b, CharKind kb) {
  const bool kanaA = ka == CharKind::kKana;
  const bool kanaB = kb == CharKind::kKana;
  if (isMark(ka) && isMark(kb)) return true;
  if (isMark(ka)) return ka == CharKind::kBoundMark && kanaB && a.markVowel() == b.base();
  if (isMark(kb)) return kb == CharKind::kBoundMark && kanaA && a.base() == b.markVowel();
  if (kanaA) return kanaB && a.base() == b.base();
  return sameBytes(a, b);  // b is no kana either: its bytes are a's
}

bool agreeNoCase(const Cursor& a, const Cursor& b) {
  const bool wideA = isLead(*a.at);
  const bool wideB = isLead(*b.at);
  if (wideA != wideB) return false;
  if (!wideA) return fold(*a.at) == fold(*b.at);
  return agreeFolded(a, a.kind(), b, b.kind());
}

}  // namespace

uint32_t matchLenFolded(const char* keyA, const char* keyB) {
  Cursor a(orEmpty(keyA));
  Cursor b(orEmpty(keyB));
  uint32_t count = 0;
  for (;; a.advance(), b.advance(), ++count) {
    const CharKind ka = skipNonSignificant(a);
    const CharKind kb = skipNonSignificant(b);
    if (a.ended() || b.ended() || !agreeFolded(a, ka, b, kb)) break;
  }
  return Walk::resultOf(a.at, b.at, count);
}

uint32_t matchLenSignificant(const char* keyA, const char* keyB) {
  Cursor a(orEmpty(keyA));
  Cursor b(orEmpty(keyB));
  uint32_t count = 0;
  for (;; a.advance(), b.advance(), ++count) {
    skipNonSignificant(a);
    skipNonSignificant(b);
    if (a.ended() || b.ended() || !sameBytes(a, b)) break;
  }
  return Walk::resultOf(a.at, b.at, count);
}

uint32_t matchLenNoCase(const char* keyA, const char* keyB) {
  Cursor a(orEmpty(keyA));
  Cursor b(orEmpty(keyB));
  uint32_t count = 0;
  for (; !a.ended() && !b.ended() && agreeNoCase(a, b); a.advance(), b.advance()) ++count;
  return Walk::resultOf(key_chars::skipHomographNumber(a.at), key_chars::skipHomographNumber(b.at),
                        count);
}

uint32_t matchLenExact(const char* keyA, const char* keyB) {
  return Walk::matchLenExact(keyA, keyB);
}

}  // namespace orvia::lang::japanese
