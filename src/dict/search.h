// The nearest-word search: which record a looked-up word lands on.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "dict/word_handle.h"

namespace orvia::dict {

// Fills target with the record whose key matches key best (target->dict is set first).
// kEmpty when key is empty or nothing shares a significant character with it; otherwise
// the cause of the failed read or allocation. REQUIRES: key != nullptr.
Status findNearestRecord(HDICT* dict, HWORD* target, const char* key);
// True when the dictionary holds word itself (a homograph number on the stored key
// aside); false for words of 244 bytes or more. REQUIRES: word != nullptr.
bool wordExists(HDICT* dict, const char* word);

// A new handle on the nearest record, or on the first record when nothing matches; the
// first record's cause when there is none. *out is set only on success.
Status searchWord(HDICT* dict, const char* word, HWORD** out);
// A new handle on record n, or on the first record when there is none.
Status searchRecord(HDICT* dict, uint32_t n, HWORD** out);

}  // namespace orvia::dict
