// Reads one content record of a data file whole, header and body.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "content/file_access.h"
#include "dict/heap_buffer.h"

namespace orvia::content {

// Reads the record at offset of file into buffer, which grows to hold it. Fails with
// kTruncated (at offset) when the file ends inside the header or before the length the
// header gives, kDamaged for a length no longer than the header, and kOutOfMemory.
Status readRecordAt(FileHandle file, uint32_t offset, HeapBuffer& buffer);

}  // namespace orvia::content
