// The nearest-word search: which record a looked-up word lands on.
#pragma once

#include <cstdint>

#include "dict/word_handle.h"

namespace orvia::dict {

// Fills target with the record whose key matches key best; 0 when the index cannot
// be read or nothing shares a significant character with key.
int findNearestRecord(HDICT* dict, HWORD* target, const char* key);
// 1 when the dictionary holds word itself (a homograph number on the stored key aside).
int wordExists(HDICT* dict, const char* word);

// The exported searches: a new handle on the nearest record, or on the first record
// when nothing matches; null when the index is empty or unreadable.
HWORD* searchWord(HDICT* dict, const char* word);
HWORD* searchRecord(HDICT* dict, uint32_t n);

}  // namespace orvia::dict
