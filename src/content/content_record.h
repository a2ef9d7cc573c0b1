// Decoded size and text of a content record, continuation chain included. A record in
// memory is always whole: its 8 header bytes and as many as its header's length says. `file` is the
// open data file the record came from; continuations are read from it or from the files its
// file-index table names.
//
// All operations return 0 on failure. Damaged records fail without reading past the
// record or the file or writing past capacity: composites nested deeper than
// kMaxNestingDepth, continuation chains that come back to a record already on the
// chain, and calls that would visit more than kMaxRecordsPerCall records all fail.
#pragma once

#include <cstdint>

#include "content/file_access.h"
#include "content/file_index.h"

namespace orvia::content {

inline constexpr uint32_t kMaxNestingDepth = 32;
inline constexpr uint32_t kMaxRecordsPerCall = 1u << 20;

// Size in bytes, terminator excluded.
uint32_t readContentSize(FileHandle file, const uint8_t* record);
// Writes the text and a NUL into out (capacity bytes); returns the length. Partial text
// may stay in out after a failure.
uint32_t readContentText(FileHandle file, const uint8_t* record, char* out, uint32_t capacity);
// The same for the record that starts at offset in file.
uint32_t contentSizeAt(FileHandle file, uint32_t offset);
uint32_t contentTextAt(FileHandle file, uint32_t offset, char* out, uint32_t capacity);

// The same, with the resolution of file-index entries that name a dictionary id and a
// file name given (the forms above use the configuration's resolveDictFilePath).
uint32_t readContentSize(FileHandle file, const uint8_t* record, DictPathResolver resolve);
uint32_t readContentText(FileHandle file, const uint8_t* record, char* out, uint32_t capacity,
                         DictPathResolver resolve);
uint32_t contentSizeAt(FileHandle file, uint32_t offset, DictPathResolver resolve);
uint32_t contentTextAt(FileHandle file, uint32_t offset, char* out, uint32_t capacity,
                       DictPathResolver resolve);

}  // namespace orvia::content
