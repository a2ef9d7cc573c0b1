// The new-word list of a dictionary: the text file "XXXXXXXX.NEW" beside its other
// files, one key a line, written by each merge.
#pragma once

#include <cstdint>

#include "base/result.h"

namespace orvia::update {

// The full path of id's existing list into buffer. kInvalidId unless all four bytes of
// id are non-zero, kNotConfigured when the path cannot be resolved into size bytes,
// kFileMissing when no list is there (buffer then holds an empty string).
// REQUIRES: buffer writable for size > 0 bytes, its first byte already 0.
Status findNewWordList(uint32_t id, char* buffer, uint32_t size);

}  // namespace orvia::update
