// Browsing: stepping word handles through the index, and what a handle can tell.
#pragma once

#include <cstdint>

#include "dict/word_handle.h"

namespace orvia::dict {

inline constexpr uint32_t kNoHomeRecord = 0xFFFFFFFFu;

// Number of records in the index; 0 on failure.
uint32_t wordCount(HDICT* dict);
// dicGetHandleInfo: what 1 record number, 2 dictionary id, 3 home record, 4 level.
int handleInfo(HWORD* word, uint32_t what, uint32_t* out);
// The word's record number in the dictionary that holds its content, that dictionary's
// kind in bits 24-31; kNoHomeRecord when it cannot be found.
uint32_t findHomeRecord(const HWORD* word);
// Moves the handle one record back or forward, or to the nearest record of the given
// level (0: any); 0 with the handle unchanged at the ends.
int stepWord(HWORD* word, uint32_t level, bool forward);

}  // namespace orvia::dict
