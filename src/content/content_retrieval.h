// A found word's content in a dictionary the caller names: the word's own dictionary,
// the one its record points to, or a compatible one (a memory dictionary of notes, say)
// that holds a record of the same key.
#pragma once

#include <cstdint>

#include "dict/word_handle.h"

namespace orvia::content {

// Every function here takes a word with its record copy and its dictionary.

// 1 when the dictionary holds a record whose key equals key byte for byte.
// REQUIRES: key != nullptr.
int keyExistsIn(HDICT* dictionary, const char* key);

// The content of the word's own record. ownDictId is the dictionary of the word the
// caller holds, which may differ from word's own when word is a temporary handle on a
// compatible dictionary: notes read from a memory-form dictionary through a word of
// any other kind end in "~!", and their size counts those two bytes.
uint32_t wordContentSize(const HWORD* word, uint32_t ownDictId);
// Writes the text and a NUL; its length, or 0 with buffer[0] = 0.
// REQUIRES: capacity > 0 and buffer writable for capacity bytes.
uint32_t wordContentRead(const HWORD* word, uint32_t ownDictId, char* buffer, uint32_t capacity);

// The exported three. Each chooses the record first and returns 0 when none applies.
int contentExists(const HWORD* word, uint32_t dictId);
uint32_t contentSize(const HWORD* word, uint32_t dictId);
// REQUIRES: capacity > 0, buffer writable for capacity bytes with buffer[0] = 0.
uint32_t contentText(const HWORD* word, uint32_t dictId, char* buffer, uint32_t capacity);

}  // namespace orvia::content
