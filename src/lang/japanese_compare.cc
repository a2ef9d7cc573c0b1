// The Japanese collation. It is the record store's compare callback, so every tie-break
// and its order decide where records sit in index files.
#include "lang/homograph_number.h"
#include "lang/japanese.h"
#include "lang/japanese_chars.h"

namespace orvia::lang::japanese {
namespace {

// Differences that only break ties. byteDiff holds the first difference in the
// non-significant characters or in where they stand; minorDiff, while byteDiff is 0, the
// first kana variant or ASCII case difference. Once byteDiff is set minorDiff is never
// read again, so a later skip difference need not be kept.
struct TieBreaks {
  int byteDiff = 0;
  int minorDiff = 0;

  void noteFirst(int v) {
    if (byteDiff == 0) byteDiff = v;
  }
  void noteVariant(int v) {
    if (byteDiff == 0 && minorDiff == 0) minorDiff = v;
  }
  // A free mark against a non-significant character orders by their bytes.
  void noteAgainstFreeMark(uint8_t lead, uint8_t trail, int sign) {
    if (byteDiff != 0) return;
    byteDiff = sign * (lead != 0x81 ? lead - 0x81 : trail - 0x5B);
  }
  void noteNonSignificant(const char* a, const char* b) {
    if (byteDiff != 0) return;
    const uint8_t ca = byteAt(a);
    const uint8_t cb = byteAt(b);
    if (ca >= 0x80 && cb >= 0x80) {
      byteDiff = ca - cb;
      if (byteDiff == 0 && isLead(*a)) byteDiff = byteAt(a + 1) - byteAt(b + 1);
    } else if (ca >= 0x80 || cb >= 0x80) {
      byteDiff = ca >= 0x80 ? 1 : -1;  // ASCII first
    } else {
      byteDiff = fold(*a) - fold(*b);
      if (byteDiff == 0 && minorDiff == 0) minorDiff = ca - cb;
    }
  }
};

bool ended(const Cursor& c) {
  return c.ended() || *c.at == '@';
}

// Whether the rest of a key from c up to its end holds a kana or a kanji or full-width
// character.
bool restHoldsKanaOrOther(Cursor c) {
  for (; !ended(c); c.advance()) {
    const CharKind k = c.kind();
    if (k == CharKind::kKana || k == CharKind::kOtherSignificant) return true;
  }
  return false;
}

// The result once a has ended and b has not; the mirror takes sign 1 for b's end.
int whenOneEnded(const Cursor& rest, const TieBreaks& t, int shorterFirst) {
  if (rest.kind() == CharKind::kBoundMark || restHoldsKanaOrOther(rest)) return shorterFirst;
  return t.byteDiff != 0 ? t.byteDiff : shorterFirst;
}

// Two significant characters, not both long-vowel marks: the result, or 0 when they agree
// and the walk goes on.
int compareSignificant(const Cursor& a, CharKind ka, const Cursor& b, CharKind kb, TieBreaks& t) {
  const bool otherA = ka == CharKind::kOtherSignificant;
  const bool otherB = kb == CharKind::kOtherSignificant;
  if (otherA && otherB) return a.lead() != b.lead() ? a.lead() - b.lead() : a.trail() - b.trail();
  // Full-width digits and letters (lead 0x82) sort before kana, kanji after.
  if (otherA) return a.lead() > 0x82 ? 1 : -1;
  if (otherB) return b.lead() > 0x82 ? -1 : 1;
  if (ka == CharKind::kBoundMark) {
    if (a.markVowel() != b.base()) return a.markVowel() - b.base();
    t.noteVariant(-1);
  } else if (kb == CharKind::kBoundMark) {
    if (a.base() != b.markVowel()) return a.base() - b.markVowel();
    t.noteVariant(1);
  } else {
    if (a.base() != b.base()) return a.base() - b.base();
    t.noteVariant(a.lead() != b.lead() ? a.lead() - b.lead() : a.trail() - b.trail());
  }
  return 0;
}

}  // namespace

int ORVIADB_API compareKeys(const char* keyA, const char* keyB) {
  const bool emptyA = keyA == nullptr || *keyA == '\0';
  const bool emptyB = keyB == nullptr || *keyB == '\0';
  if (emptyA || emptyB) return emptyA - emptyB;  // empty keys sort after all others
  Cursor a(keyA);
  Cursor b(keyB);
  TieBreaks t;
  for (;;) {
    if (ended(a)) {
      if (ended(b)) break;
      return whenOneEnded(b, t, -1);
    }
    if (ended(b)) return whenOneEnded(a, t, 1);
    const CharKind ka = a.kind();
    const CharKind kb = b.kind();
    const bool sigA = isSignificant(ka);
    const bool sigB = isSignificant(kb);
    if (isMark(ka) && isMark(kb)) {
      a.advance();
      b.advance();
    } else if (ka == CharKind::kFreeMark) {
      if (sigB) {
        t.noteFirst(1);
      } else {
        t.noteAgainstFreeMark(b.lead(), b.trail(), -1);
        b.advance();
      }
      a.advance();
    } else if (kb == CharKind::kFreeMark) {
      if (sigA) {
        t.noteFirst(-1);
      } else {
        t.noteAgainstFreeMark(a.lead(), a.trail(), 1);
        a.advance();
      }
      b.advance();
    } else if (!sigA && !sigB) {
      t.noteNonSignificant(a.at, b.at);
      a.advance();
      b.advance();
    } else if (!sigB) {
      t.noteFirst(-1);
      b.advance();
    } else if (!sigA) {
      t.noteFirst(1);
      a.advance();
    } else {
      if (int result = compareSignificant(a, ka, b, kb, t); result != 0) return result;
      a.advance();
      b.advance();
    }
  }
  if (t.byteDiff != 0) return t.byteDiff;
  if (t.minorDiff != 0) return t.minorDiff;
  return compareHomographNumbers(a.at, b.at);
}

}  // namespace orvia::lang::japanese
