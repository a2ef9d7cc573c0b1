// The collation of the single-byte languages. It is the record store's compare callback,
// so every tie-break and its order decide where records sit in existing index files.
#include "lang/single_byte.h"

#include <initializer_list>

#include "lang/homograph_number.h"
#include "lang/single_byte_chars.h"

namespace orvia::lang::single_byte {
namespace {

// "@" ends a key here: the homograph number behind it is compared last.
bool isKeyEnd(char c) {
  return c == '\0' || c == '@';
}

enum class CharClass { kLetterLike, kDigit, kOther };

CharClass classOf(char c) {
  if (isSignificant(c)) return CharClass::kLetterLike;
  if (isDigit(c)) return CharClass::kDigit;
  return CharClass::kOther;
}

// Differences that only break ties; each keeps the first nonzero value it is given.
struct TieBreaks {
  uint32_t matched = 0;  // letter-like pairs that agreed so far
  int digitDiff = 0;
  int lateOtherDiff = 0;
  int caseDiff = 0;
  int earlyOtherDiff = 0;

  static void keepFirst(int& slot, int v) {
    if (slot == 0) slot = v;
  }
  // Punctuation behind a matched letter weighs more than case; before any, less.
  void recordOther(int v) { keepFirst(matched > 0 ? lateOtherDiff : earlyOtherDiff, v); }

  int decided() const {
    for (int v : {digitDiff, lateOtherDiff, caseDiff, earlyOtherDiff}) {
      if (v != 0) return v;
    }
    return 0;
  }
};

// One key ended while the other still holds rest (not blank, up to its next end).
// shorterFirst is the result that puts the ended key first; tie values keep their sign.
int decideByRest(const char* rest, const TieBreaks& t, int shorterFirst) {
  bool hasLetter = false;
  bool hasDigit = false;
  for (; !isKeyEnd(*rest); ++rest) {
    hasLetter = hasLetter || isLetter(*rest);
    hasDigit = hasDigit || isDigit(*rest);
  }
  if (t.digitDiff != 0) return hasLetter ? shorterFirst : t.digitDiff;
  if (hasLetter || hasDigit) return shorterFirst;
  const int other = t.matched > 0 ? t.lateOtherDiff : t.earlyOtherDiff;
  return other != 0 ? other : shorterFirst;
}

bool isBlank(const char* s) {
  return *skipWhiteSpace(orEmpty(s)) == '\0';
}

}  // namespace

int ORVIADB_API compareKeys(const char* a, const char* b) {
  if (a == nullptr) return isBlank(b) ? 0 : -1;
  if (b == nullptr) return isBlank(a) ? 0 : 1;
  a = skipWhiteSpace(a);
  b = skipWhiteSpace(b);
  TieBreaks t;
  for (;;) {
    if (isKeyEnd(*a)) {
      b = skipWhiteSpace(b);
      if (!isKeyEnd(*b)) return decideByRest(b, t, -1);
      break;
    }
    if (isKeyEnd(*b)) {
      a = skipWhiteSpace(a);
      if (!isKeyEnd(*a)) return decideByRest(a, t, 1);
      break;
    }
    const CharClass ka = classOf(*a);
    const CharClass kb = classOf(*b);
    if (ka == CharClass::kLetterLike && kb == CharClass::kLetterLike) {
      if (fold(*a) != fold(*b)) return fold(*a) - fold(*b);
      TieBreaks::keepFirst(t.caseDiff, *a - *b);
      ++t.matched;
      ++a;
      ++b;
    } else if (ka == CharClass::kOther && kb == CharClass::kOther) {
      t.recordOther(signedByte(*a) - signedByte(*b));
      ++a;
      ++b;
    } else if (kb == CharClass::kOther) {
      t.recordOther(-1);
      ++b;
    } else if (ka == CharClass::kOther) {
      t.recordOther(1);
      ++a;
    } else if (ka == CharClass::kDigit && kb == CharClass::kDigit) {
      TieBreaks::keepFirst(t.digitDiff, *a - *b);
      ++a;
      ++b;
    } else if (kb == CharClass::kDigit) {
      TieBreaks::keepFirst(t.digitDiff, -1);
      ++b;
    } else {
      TieBreaks::keepFirst(t.digitDiff, 1);
      ++a;
    }
  }
  const int decided = t.decided();
  return decided != 0 ? decided : compareHomographNumbers(a, b);
}

}  // namespace orvia::lang::single_byte
