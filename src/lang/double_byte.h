// The string operations of the double-byte languages: Simplified Chinese (code 2, GB2312
// in its EUC form), Traditional Chinese (code 3, Big5) and Korean (code 5, EUC-KR). A byte
// below 0x80 is an ASCII character; a byte of 0x80 or more leads a two-byte character
// whose trail byte follows. The encodings differ only in which pairs are characters and
// which pair is the ideographic space.
//
// A key of this family: the word's valid two-byte characters and ASCII characters in
// their order and case, without white space or ideographic spaces, holding at least one
// two-byte character; shorter than 244 bytes when usable; three zero bytes behind it.
//
// A string whose last byte before the terminator is a lead byte ends at that lead byte:
// no operation reads past a terminator nor before the start. Null strings read as empty.
// None of the functions keeps state or allocates.
#pragma once

#include <cstdint>

#include "lang/lang_ops.h"

namespace orvia::lang::double_byte {

// Usable keys are shorter than this; copying stops once a key reaches it, so a two-byte
// character that crosses it leaves 245 bytes.
inline constexpr uint32_t kKeyLimit = 244;

enum class Encoding { kGb2312, kBig5, kKsX1001 };

// Whether lead and trail form a character of the encoding (a zero trail never does).
bool isValidChar(Encoding encoding, uint8_t lead, uint8_t trail);
// Whether lead and trail form the encoding's ideographic (full-width) space.
bool isIdeographicSpace(Encoding encoding, uint8_t lead, uint8_t trail);

// Writes the key of word into key. Non-zero when the key is usable: every byte of 0x80 or
// more in the word led a valid pair, the key holds a two-byte character and is shorter
// than kKeyLimit. A key without a two-byte character is made empty by a zero first byte.
// Three zero bytes follow what was copied.
// REQUIRES: key has room for kKeyLimit + 4 bytes (callers give kKeyBufferSize).
template <Encoding E>
int makeSearchKey(const char* word, char* key);

// Byte offset in key at which its (n+1)-th valid two-byte character begins; the key's
// length when it has n or fewer; 0 for a null or empty key. Invalid pairs are stepped
// over uncounted, ASCII bytes too.
template <Encoding E>
uint32_t keyCharOffset(const char* key, uint32_t n);

// The collation of both Chinese codes. Two-byte characters decide first, by code value,
// and a key that ends while the other still holds one sorts first. Next the first ASCII
// difference, folded, or the first ASCII character standing against a two-byte one (its
// key sorts after); then a key with ASCII left over sorts after; then the first case
// difference; last the homograph numbers behind "@", which ends a key. An empty key
// sorts after all others. Only the sign of the result means anything.
int ORVIADB_API compareKeysChinese(const char* a, const char* b);

// The Korean collation: as the Chinese one, but "@" is an ordinary ASCII character and
// there is no homograph number.
int ORVIADB_API compareKeysKorean(const char* a, const char* b);

// Two-byte characters that agree from the start, ASCII bytes skipped on both sides;
// kMatchAll when the two agree to their ends. These encodings fold nothing, so it serves
// as both the folded and the significant match length.
uint32_t matchLenSignificant(const char* a, const char* b);
// Characters (one or two bytes) that agree from the start, ASCII letters folded;
// kMatchAll when both then end.
uint32_t matchLenNoCase(const char* a, const char* b);
// Characters that agree byte for byte from the start; kMatchAll when the keys are equal.
uint32_t matchLenExact(const char* a, const char* b);

extern template int makeSearchKey<Encoding::kGb2312>(const char*, char*);
extern template int makeSearchKey<Encoding::kBig5>(const char*, char*);
extern template int makeSearchKey<Encoding::kKsX1001>(const char*, char*);
extern template uint32_t keyCharOffset<Encoding::kGb2312>(const char*, uint32_t);
extern template uint32_t keyCharOffset<Encoding::kBig5>(const char*, uint32_t);
extern template uint32_t keyCharOffset<Encoding::kKsX1001>(const char*, uint32_t);

}  // namespace orvia::lang::double_byte
