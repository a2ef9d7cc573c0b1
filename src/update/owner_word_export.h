// Export of a dictionary's own words of the user: its records and memory notes, written
// into an exchange file (update/owner_word_format.h) of one section. No lock is taken: an
// export that runs while another process writes may miss the entry being written.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "content/file_access.h"
#include "update/owner_word_format.h"

namespace orvia::update {

// Creates (or empties) the file at path and writes d's section into it. kInvalidId unless
// d has top byte 0 and three non-zero low bytes, kWriteFailed for a path that cannot be
// created or written; a file left by a failed export is not removed.
Status exportOwnerWords(uint32_t d, const char* path);

// Writes d's section at header->totalSize, the end of what the file holds, then counts it
// in *header (one more section, its length added to the total). The companions' cause when
// one cannot be opened. A record whose key area or text cannot be read is written as an
// empty item.
Status writeOwnerWordSection(content::FileHandle file, OwnerWordFileHeader* header, uint32_t d);

}  // namespace orvia::update
