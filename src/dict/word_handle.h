// Word handles: a found word's own copy of its index record, tied to its dictionary.
#pragma once

#include <cstdint>

#include "dict/dictionary.h"
#include "dict/index_record.h"

// The exported handle. record is a 1024-byte process-heap block, owned; dict is not.
struct HWORD {
  HDICT* dict;
  uint8_t* record;
};

namespace orvia::dict {

// Reads the store's current record into a 1024-byte block and parses it.
bool readCurrentRecord(DBHANDLE db, uint8_t* block, IndexRecordView* view);

// Goes to record n and gives target a fresh record copy of it.
int gotoRecord(HDICT* dict, HWORD* target, uint32_t n);

// The parsed record copy of a handle; false for a null handle, no copy, or damage.
bool wordRecord(const HWORD* word, IndexRecordView* view);

HWORD* duplicateWord(const HWORD* word);
int freeWord(HWORD* word);
// Length of the record's key or word; 0 for a null handle or one without a record copy.
uint32_t wordKeySize(const HWORD* word);
uint32_t wordTextSize(const HWORD* word);
// Copies the key or word with its terminator when it fits in size bytes.
int copyWordKey(const HWORD* word, char* buffer, uint32_t size);
int copyWordText(const HWORD* word, char* buffer, uint32_t size);

}  // namespace orvia::dict
