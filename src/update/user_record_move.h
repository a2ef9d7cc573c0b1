// When a merge brings a word that the user had added as a record, the user's text becomes
// a note on the merged word: the entry moves from the record companion to the memory
// companion, less its user-word marker, and the record leaves the record companion.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "content/file_access.h"
#include "dict/heap_buffer.h"
#include "lang/lang_ops.h"
#include "orviadb.h"

namespace orvia::update {

// The open record and memory companions of the merge's installed dictionary.
struct UserCompanions {
  DBHANDLE recordIndex = nullptr;
  content::FileHandle recordData = content::kInvalidFile;
  DBHANDLE memoryIndex = nullptr;
  content::FileHandle memoryData = content::kInvalidFile;
  uint32_t memoryId = 0;
  uint32_t markerCode = 0;  // the content language, which picks the marker line
  lang::CompareKeysFn compare = nullptr;
  uint32_t records = 0;  // left in the record companion; no lookup once it is 0
};

// Moves the user's record whose key equals the string area's first string, if there is
// one (*moved tells), reading it into block (kRecordBlockSize bytes) and its text into
// text, which grows as needed. The whole 32 bits of the record's contentRef name its
// entry. Nothing is undone when a step fails: an entry appended before a failed insert
// stays in the memory companion's file.
Status moveUserRecord(UserCompanions* companions, const char* area, uint8_t* block,
                      HeapBuffer* text, bool* moved);

}  // namespace orvia::update
