// Copies one content record, byte for byte, from the new-word companion's data file to
// the end of the target's. Nothing inside the record is adjusted: a record that relies on
// its file's tables or continues elsewhere is not provided for.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "content/file_access.h"
#include "dict/heap_buffer.h"

namespace orvia::update {

// Reads the record's length from its header at source (the low 24 bits, header included),
// grows buffer to exactly that length when it is smaller, reads the whole record and
// writes it at *appendOffset of to, which then moves past it. kDamaged for a length of 0,
// kTruncated for a record running past its file, kWriteFailed for a short write (what
// was written stays), kOutOfMemory when the buffer cannot grow.
Status copyContentRecord(content::FileHandle from, uint32_t source, content::FileHandle to,
                         uint32_t* appendOffset, HeapBuffer* buffer);

}  // namespace orvia::update
