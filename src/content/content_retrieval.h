// A found word's content in a dictionary the caller names: the word's own dictionary,
// the one its record points to, or a compatible one (a memory dictionary of notes, say)
// that holds a record of the same key.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "content/data_file_set.h"
#include "content/file_access.h"
#include "dict/word_handle.h"

namespace orvia::content {

// Every function here takes a word with its record copy and its dictionary.

// 1 when the dictionary holds a record whose key equals key byte for byte.
// REQUIRES: key != nullptr.
int keyExistsIn(HDICT* dictionary, const char* key);

// The content of the word's own record: its size (terminator excluded), or its text and
// a NUL written into buffer with *length set. ownDictId is the dictionary of the word
// the caller holds, which may differ from word's own when word is a temporary handle on
// a compatible dictionary: notes read from a memory-form dictionary through a word of
// any other kind end in "~!", and their size counts those two bytes. A size is never 0
// on success; a failed read leaves buffer[0] = 0.
// REQUIRES (reads): capacity > 0 and buffer writable for capacity bytes.
Status wordContentSize(const HWORD* word, uint32_t ownDictId, uint32_t* size);
Status wordContentRead(const HWORD* word, uint32_t ownDictId, char* buffer, uint32_t capacity,
                       uint32_t* length);

// The content of a record read from the content file it names, which the caller opened:
// no dictionary is chosen and no end marker added. A caller that walks many records
// passes the set it opened file through (a DataFileSet) and reads continuations and
// trees through it; with files null they are read for this call alone.
Status recordContentSize(FileHandle file, const dict::IndexRecordView& view, uint32_t* size,
                         DataFileSet* files = nullptr);
// REQUIRES: capacity > 0 and buffer writable for capacity bytes.
Status recordContentText(FileHandle file, const dict::IndexRecordView& view, char* buffer,
                         uint32_t capacity, uint32_t* length, DataFileSet* files = nullptr);

// The exported three. Each chooses the record first; no record applies for an id that is
// not compatible with the word's (kInvalidId), or a key the other dictionary lacks (kEmpty).
int contentExists(const HWORD* word, uint32_t dictId);
Status contentSize(const HWORD* word, uint32_t dictId, uint32_t* size);
// REQUIRES: capacity > 0, buffer writable for capacity bytes with buffer[0] = 0.
Status contentText(const HWORD* word, uint32_t dictId, char* buffer, uint32_t capacity,
                   uint32_t* length);

}  // namespace orvia::content
