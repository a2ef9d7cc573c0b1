// The file-index table of a data file: entry k names the file that holds continuations
// whose reference has top byte k.
#pragma once

#include <cstdint>

#include "content/file_access.h"

namespace orvia::content {

inline constexpr uint32_t kMaxPathSize = 260;

// Turns a dictionary id and a file name into a full path (resolveDictFilePath's shape).
using DictPathResolver = int (*)(uint32_t dictId, char* out, uint32_t outSize,
                                 const char* fileName);

// Writes the full path named by entry k of file into path (kMaxPathSize bytes). False
// when k is not below the entry count, the entry is unterminated or has an empty name,
// or the resolver fails.
bool resolveFileIndexEntry(FileHandle file, uint32_t k, DictPathResolver resolve, char* path);

}  // namespace orvia::content
