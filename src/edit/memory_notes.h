// Memory notes: the user's own text attached to a word the dictionary has, kept in the
// dictionary's memory companion (kind 0xFF: an index and a user-entry file, both made
// by the installer). Notes are stored exactly as given; no marker line is added.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "dict/handles.h"
#include "edit/string_area.h"

namespace orvia::edit {

// Adds the word's note, or replaces its text in place when it has one: opens the
// memory companion, runs addMemoryEntry under the write lock, closes.
// REQUIRES: word->dict and word->record not null, word->dict->dictId valid, text
// readable for length > 0 bytes.
Status addMemoryNote(const HWORD* word, const char* text, uint32_t length);
// Deletes the word's note; kEmpty when it has none. REQUIRES as addMemoryNote's.
Status deleteMemoryNote(const HWORD* word);

// The workers, with the write lock held. strings is the word's string area, memDict the
// open memory companion. Nothing is undone on failure: blocks appended before a failed
// insert stay in the file, named by no index record.
Status addMemoryEntry(HDICT* memDict, const StringArea& strings, const char* text, uint32_t length);
// kEmpty when the memory companion holds no note for strings.
Status deleteMemoryEntry(HDICT* memDict, const StringArea& strings);

}  // namespace orvia::edit
