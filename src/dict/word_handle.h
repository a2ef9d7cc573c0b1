// Word handles: a found word's own copy of its index record, tied to its dictionary.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "dict/handles.h"
#include "dict/index_record.h"

namespace orvia::dict {

// Reads the store's current record into a block of kRecordBlockSize bytes and parses it:
// kStoreFailed when the store cannot give it, kDamaged when its bytes are not an index record.
Status readCurrentRecord(DBHANDLE db, uint8_t* block, IndexRecordView* view);

// Goes to record n and gives target a fresh record copy of it (target->dict is set
// first); kEmpty when there is no record n.
Status gotoRecord(HDICT* dict, HWORD* target, uint32_t n);

// The parsed record copy of a handle; false when the copy is damaged.
// REQUIRES: word->record != nullptr.
bool wordRecord(const HWORD* word, IndexRecordView* view);

// A new handle with its own copy of the record. REQUIRES: word->record != nullptr.
Status duplicateWord(const HWORD* word, HWORD** out);
// Frees the record copy and the handle; on failure the handle keeps its copy.
Status freeWord(HWORD* word);

// Which text of a record a getter hands out: the key (headword, else search key) or the
// word (display word, else the key).
enum class WordText { kKey, kWord };
// Its length without terminator; 0 for a damaged copy. REQUIRES: word->record != nullptr.
uint32_t wordTextSize(const HWORD* word, WordText which);
// Copies it with its terminator into buffer when it fits in size bytes; kNoRoom with
// nothing written when it does not. REQUIRES: word->record != nullptr, buffer writable.
Status copyWordText(const HWORD* word, WordText which, char* buffer, uint32_t size);

}  // namespace orvia::dict
