// The string operations of Japanese (code 4, Shift-JIS). A byte below 0x80 (ASCII) or from
// 0xA6 to 0xDF (half-width katakana) is a one-byte character; every other byte of 0x80 or
// more leads a two-byte character whose trail byte follows.
//
// Significant characters: kana, kanji, full-width digits and letters, and a long-vowel mark
// bound to the kana whose two bytes stand right before it. Folding maps a kana onto the
// base of its group (script, size and voicing dropped) and a bound long-vowel mark onto
// the vowel of its kana, so that 'カー' agrees with 'カア' and 'かあ'.
//
// A key: the word without white space or ideographic spaces, everything else in order and
// case, "@" and homograph number included; usable when it holds a significant character
// and is shorter than 244 bytes; three zero bytes behind it.
//
// A string whose last byte before the terminator is a lead byte ends at that lead byte. No
// operation reads past a terminator, nor before the start of its string when it looks at
// the two bytes before a long-vowel mark. Null strings read as empty. None of the functions
// keeps state or allocates.
#pragma once

#include <cstdint>

#include "lang/lang_ops.h"

namespace orvia::lang::japanese {

// Usable keys are shorter than this; copying stops once a key reaches it, so a two-byte
// character that crosses it leaves 245 bytes.
inline constexpr uint32_t kKeyLimit = 244;

// Writes the key of word into key. Non-zero when the key is usable: every lead byte in the
// word was 0x81 to 0xA5 or 0xE0 to 0xEA with a trail byte 0x40 to 0xFC other than 0x7F
// (else copying stops there), the key holds a significant character and is shorter than
// kKeyLimit. The key is left as written in every case, three zero bytes behind it.
// REQUIRES: key has room for kKeyLimit + 4 bytes (callers give kKeyBufferSize).
int makeSearchKey(const char* word, char* key);

// Byte offset in key at which its (n+1)-th significant character begins; the key's length
// when it has n or fewer; 0 for a null or empty key.
uint32_t keyCharOffset(const char* key, uint32_t n);

// The collation. Significant characters decide first: kana folded, bound long-vowel marks
// as their vowels, full-width characters before kana before kanji, the others by code. Then
// the first difference in the other characters or in where they stand; then the first
// kana variant (hiragana first, then by trail byte), a long-vowel mark before its vowel
// written out, or ASCII case; last the homograph numbers behind "@", which ends a key. An
// empty key sorts after all others. Only the sign of the result means anything.
//
// Not transitive where one key holds a bound and another a free long-vowel mark:
// 2D 82 A9 < 82 A9 81 5B < 82 A9 2D 81 5B < 2D 82 A9.
int ORVIADB_API compareKeys(const char* a, const char* b);

// Significant characters that agree from the start, the others skipped on both sides;
// kMatchAll when the two agree to their ends. Folded: kana by base, a bound mark as its
// vowel. Significant: byte for byte.
uint32_t matchLenFolded(const char* a, const char* b);
uint32_t matchLenSignificant(const char* a, const char* b);
// Characters that agree from the start, none skipped: ASCII folded, two-byte characters
// as matchLenFolded agrees them (a mark only while bound, against a kana); kMatchAll when
// both end together, a homograph number behind either disregarded.
uint32_t matchLenNoCase(const char* a, const char* b);
// Characters that agree byte for byte from the start; kMatchAll when the keys are equal.
uint32_t matchLenExact(const char* a, const char* b);

}  // namespace orvia::lang::japanese
