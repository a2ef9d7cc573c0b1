// The language operation table: seven string operations for each of the ten language
// codes. Everything that looks at the characters of a key goes through it.
#pragma once

#include <cstdint>

#include "orviadb.h"

namespace orvia::lang {

// Counts and offsets are unsigned; kMatchAll means "equal to their ends".
inline constexpr uint32_t kMatchAll = 0xFFFFFFFFu;
// Callers give makeSearchKey a key buffer of this size.
inline constexpr uint32_t kKeyBufferSize = 1000;

// Writes the key of word into key; non-zero when the key is usable.
using MakeSearchKeyFn = int (*)(const char* word, char* key);
// Byte offset at which the (n+1)-th significant character of key begins.
using KeyCharOffsetFn = uint32_t (*)(const char* key, uint32_t n);
// The collation; also the record store's compare callback, so it has its convention.
using CompareKeysFn = DbCompareFn;
// Agreement of two keys from the start, or kMatchAll.
using MatchLenFn = uint32_t (*)(const char* a, const char* b);

// One column of the table: the seven operations of one language code.
struct LanguageOps {
  MakeSearchKeyFn makeSearchKey;
  KeyCharOffsetFn keyCharOffset;
  CompareKeysFn compareKeys;
  MatchLenFn matchLenFolded;
  MatchLenFn matchLenSignificant;
  MatchLenFn matchLenNoCase;
  MatchLenFn matchLenExact;
};

// The language code of a dictionary id: its low byte, or 0 unless the three low bytes
// are all non-zero.
uint32_t languageOf(uint32_t dictId);

// The operations of a code; codes of 10 or more select the code-0 stubs. The table is
// static: the reference stays valid for the life of the process.
const LanguageOps& languageOps(uint32_t code);

// One selector per operation, over the same table. Never null.
MakeSearchKeyFn getMakeSearchKeyFn(uint32_t code);
KeyCharOffsetFn getKeyCharOffsetFn(uint32_t code);
CompareKeysFn getCompareKeysFn(uint32_t code);
MatchLenFn getMatchLenFoldedFn(uint32_t code);
MatchLenFn getMatchLenSignificantFn(uint32_t code);
MatchLenFn getMatchLenNoCaseFn(uint32_t code);
MatchLenFn getMatchLenExactFn(uint32_t code);

}  // namespace orvia::lang
