// User records: new words with their own text. Each is an entry of the record companion
// (kind 0x7F: an index and a user-entry file, both made by the installer) whose index
// record is also inserted into the dictionary's own index, so that searches find it.
// Texts are stored exactly as given; no marker line is added.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "dict/handles.h"

namespace orvia::edit {

// The longest word a user record takes: its key, made from the word, must stay under the
// 244 bytes an entry keeps.
inline constexpr uint32_t kMaxRecordWordLength = 243;

// Adds word (wordLength bytes, at most kMaxRecordWordLength) with content (contentLength bytes) to
// dict: kExists when dict already has the word, kNoUsableKey when it makes no key;
// then addRecordEntry under the write lock.
// REQUIRES: dict->dictId has top byte 0 and three non-zero low bytes; word and content
// readable for their lengths, both non-zero.
Status addUserRecord(HDICT* dict, const char* word, uint32_t wordLength, const char* content,
                     uint32_t contentLength);
// Deletes the user record at recordNumber of dict's index under the write lock.
// REQUIRES: as addUserRecord's for dict.
Status deleteUserRecord(HDICT* dict, uint32_t recordNumber);

// The workers, with the write lock held. key is what makeSearchKey wrote. Nothing is
// undone on failure: a failed second insert leaves the record in the record companion
// only, a failed second delete leaves it in the dictionary's own index.
Status addRecordEntry(HDICT* dict, const char* key, const char* content, uint32_t contentLength);
// kOwnWord when the record is one of the dictionary's own words.
Status deleteRecordEntry(HDICT* dict, uint32_t recordNumber);

}  // namespace orvia::edit
