// The string operations of English and the other single-byte languages (codes 1 and 6
// to 9). Text is read as single bytes of ASCII; every byte of 0x80 or more is read as a
// negative value and is neither a letter, a digit nor white space.
//
// A key of this family: text without leading or trailing space, runs of white space
// reduced to one space, no byte of 0x80 or more, optionally followed by "@" and a decimal
// homograph number; shorter than 244 bytes when usable.
//
// Significant characters (those that keyCharOffset and the two folded/significant match
// lengths count) are letters and white space. Folding maps "A" to "Z" onto "a" to "z" and
// nothing else. None of the functions keeps state or allocates; a null key reads as an
// empty one except where noted.
#pragma once

#include <cstdint>

#include "lang/lang_ops.h"

namespace orvia::lang::single_byte {

// Usable keys are shorter than this; copying stops when a key reaches it.
inline constexpr uint32_t kKeyLimit = 244;
// Written behind the three zero bytes that follow a key; records added to a code-1
// dictionary keep it as their vcode.
inline constexpr uint8_t kKeyTrailerByte = 0xB8;

// Writes the key of word into key. Non-zero when the key is usable: not empty, shorter
// than kKeyLimit, and the word held no byte of 0x80 or more and no malformed homograph
// number. Unless the word is empty or blank (then only one zero byte is written), the key
// is followed by three zero bytes and kKeyTrailerByte.
// REQUIRES: key has room for kKeyLimit + 4 bytes (callers give kKeyBufferSize).
int makeSearchKey(const char* word, char* key);

// Byte offset in key at which its (n+1)-th significant character begins; the key's length
// when it has n or fewer; 0 for a null or empty key.
uint32_t keyCharOffset(const char* key, uint32_t n);

// The collation of every index of these languages: letters and spaces, folded, decide
// first; then a key whose rest holds letters or digits sorts after; then, in this order,
// the first digit difference, the first punctuation difference behind a matched letter,
// the first case difference, the first punctuation difference before any, and last the
// homograph numbers. Only the sign of the result means anything. A null key equals a
// blank one and sorts before any other.
int ORVIADB_API compareKeys(const char* a, const char* b);

// Significant characters that agree from the start, other bytes skipped on both sides,
// letters folded; kMatchAll when the two agree to their ends.
uint32_t matchLenFolded(const char* a, const char* b);
// As matchLenFolded, without folding.
uint32_t matchLenSignificant(const char* a, const char* b);
// Bytes that agree from the start, letters folded; kMatchAll when both then end, trailing
// white space and a trailing homograph number ("@", digits, white space) disregarded.
uint32_t matchLenNoCase(const char* a, const char* b);
// Bytes that agree exactly from the start; kMatchAll when the two keys are equal.
uint32_t matchLenExact(const char* a, const char* b);

}  // namespace orvia::lang::single_byte
