// Browsing: stepping word handles through the index, and what a handle can tell.
// Every function here takes a word with its record copy and its dictionary.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "dict/word_handle.h"

namespace orvia::dict {

inline constexpr uint32_t kNoHomeRecord = 0xFFFFFFFFu;

// Number of records in the index; kStoreFailed when the store cannot tell.
Status wordCount(HDICT* dict, uint32_t* count);
// What a handle tells: 1 record number, 2 dictionary id, 3 home record, 4 level.
// kDamaged when the record copy cannot be read. REQUIRES: 1 <= what <= 4.
Status handleInfo(const HWORD* word, uint32_t what, uint32_t* out);
// The word's record number in the dictionary that holds its content, that dictionary's
// kind in bits 24-31; kNoHomeRecord when it cannot be found.
uint32_t findHomeRecord(const HWORD* word);
// Moves the handle one record back or forward, or to the nearest record of the given
// level (0: any); kEmpty with the handle unchanged at the ends. REQUIRES: level <= 255.
Status stepWord(HWORD* word, uint32_t level, bool forward);

}  // namespace orvia::dict
