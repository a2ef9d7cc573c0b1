// Decoded size and text of a content record, continuation chain included. `file` is the
// open data file the record is in; continuations are read from it or from the files its
// file-index table names.
//
// Damaged records fail without reading past the record or the file or writing past
// capacity: composites nested deeper than kMaxNestingDepth, continuation chains that
// come back to a record already on the chain, and calls that would visit more than
// kMaxRecordsPerCall records all fail. A failure names its cause and the offset of the
// record where it was found (in whichever file of the chain that record lies).
#pragma once

#include <cstdint>

#include "base/result.h"
#include "content/file_access.h"
#include "content/file_index.h"

namespace orvia::content {

class DataFileSet;

inline constexpr uint32_t kMaxNestingDepth = 32;
inline constexpr uint32_t kMaxRecordsPerCall = 1u << 20;

// Why a read that gave no text failed, from the length the text would need without its
// terminator (0 when that cannot be had either) and the room the caller gave: a reader
// asks this only on its failure path.
inline Cause whyNoText(uint32_t needed, uint32_t room) {
  return needed != 0 && needed >= room ? Cause::kNoRoom : Cause::kDamaged;
}

// Sets *size to the size in bytes of the text of the record at offset, terminator
// excluded. A record that yields no text fails.
Status contentSizeAt(FileHandle file, uint32_t offset, uint32_t* size);
// Writes the text and a NUL into out (capacity > 0 bytes) and sets *length to the text's
// length. Partial text may stay in out after a failure.
Status contentTextAt(FileHandle file, uint32_t offset, char* out, uint32_t capacity,
                     uint32_t* length);

// The same, with the resolution of file-index entries that name a dictionary id and a
// file name given (the forms above use the configuration's resolveDictFilePath).
Status contentSizeAt(FileHandle file, uint32_t offset, DictPathResolver resolve, uint32_t* size);
Status contentTextAt(FileHandle file, uint32_t offset, char* out, uint32_t capacity,
                     DictPathResolver resolve, uint32_t* length);

// The same, through the files of a walk over many records: file and the further files
// are the set's, which resolves file-index entries with its own resolver.
Status contentSizeAt(DataFileSet& files, FileHandle file, uint32_t offset, uint32_t* size);
Status contentTextAt(DataFileSet& files, FileHandle file, uint32_t offset, char* out,
                     uint32_t capacity, uint32_t* length);

}  // namespace orvia::content
