// Copies a range of one file to the start of another through one small buffer, so that
// an image of any size moves in constant memory.
#pragma once

#include <cstdint>

#include "content/file_access.h"

namespace orvia::update {

inline constexpr uint32_t kCopyChunkSize = 2048;

// Copies [offset, offset + length) of source to destination from offset 0 and ends the
// destination there: non-zero on success. A range past the end of source, a short read
// or a short write gives 0; the destination then keeps what was written, uncut.
uint32_t copyFileRange(content::FileHandle destination, content::FileHandle source, uint32_t offset,
                       uint32_t length);

}  // namespace orvia::update
