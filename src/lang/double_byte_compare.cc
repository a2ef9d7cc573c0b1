// The collations of the double-byte languages. Each is the record store's compare
// callback, so every tie-break and its order decide where records sit in index files.
#include "lang/double_byte.h"
#include "lang/double_byte_chars.h"
#include "lang/homograph_number.h"

namespace orvia::lang::double_byte {
namespace {

// Differences that only break ties. A mixed difference (ASCII against a two-byte
// character) fills the first free of the two; an ASCII difference only the first, its
// case difference only the second.
struct TieBreaks {
  int byteDiff = 0;
  int minorDiff = 0;

  void noteMixed(int v) {
    if (byteDiff == 0) {
      byteDiff = v;
    } else if (minorDiff == 0) {
      minorDiff = v;
    }
  }
  void noteAscii(char ca, char cb) {
    if (byteDiff != 0) return;
    byteDiff = fold(ca) - fold(cb);
    if (byteDiff == 0 && minorDiff == 0) minorDiff = ca - cb;
  }
};

// Whether the rest of a key up to its end holds a two-byte character. The first lead
// byte answers, so a trail byte is never mistaken for an end.
template <bool kAtEndsKey>
bool restHoldsTwoByteChar(const char* s) {
  for (; !atEnd(s) && !(kAtEndsKey && *s == '@'); ++s) {
    if (isLead(*s)) return true;
  }
  return false;
}

// kAtEndsKey: "@" ends a key and the homograph numbers behind it are compared last.
template <bool kAtEndsKey>
int compareKeys(const char* a, const char* b) {
  const bool emptyA = a == nullptr || *a == '\0';
  const bool emptyB = b == nullptr || *b == '\0';
  if (emptyA || emptyB) return emptyA - emptyB;  // empty keys sort after all others
  auto ended = [](const char* s) { return atEnd(s) || (kAtEndsKey && *s == '@'); };
  TieBreaks t;
  for (;;) {
    if (ended(a)) {
      if (ended(b)) break;
      return restHoldsTwoByteChar<kAtEndsKey>(b) || t.byteDiff == 0 ? -1 : t.byteDiff;
    }
    if (ended(b)) {
      return restHoldsTwoByteChar<kAtEndsKey>(a) || t.byteDiff == 0 ? 1 : t.byteDiff;
    }
    if (isLead(*a) && isLead(*b)) {
      if (a[0] != b[0]) return byteAt(a) - byteAt(b);
      if (a[1] != b[1]) return byteAt(a + 1) - byteAt(b + 1);
      a += 2;
      b += 2;
    } else if (isLead(*a)) {
      t.noteMixed(-1);
      ++b;
    } else if (isLead(*b)) {
      t.noteMixed(1);
      ++a;
    } else {
      t.noteAscii(*a, *b);
      ++a;
      ++b;
    }
  }
  if (t.byteDiff != 0) return t.byteDiff;
  if (t.minorDiff != 0 || !kAtEndsKey) return t.minorDiff;
  return compareHomographNumbers(a, b);
}

}  // namespace

int ORVIADB_API compareKeysChinese(const char* a, const char* b) {
  return compareKeys<true>(a, b);
}

int ORVIADB_API compareKeysKorean(const char* a, const char* b) {
  return compareKeys<false>(a, b);
}

}  // namespace orvia::lang::double_byte
