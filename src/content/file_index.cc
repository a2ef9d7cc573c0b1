#include "content/file_index.h"

#include <cstring>

#include "content/content_format.h"
#include "dict/le_bytes.h"

namespace orvia::content {

bool resolveFileIndexEntry(FileHandle file, uint32_t k, DictPathResolver resolve, char* path) {
  uint8_t count = 0;
  if (readFileAt(file, kFileIndexCountOffset, 1, &count) != 1 || k >= count) return false;
  uint8_t entry[kFileIndexEntrySize];
  if (readFileAt(file, kFileIndexTableOffset + k * kFileIndexEntrySize, kFileIndexEntrySize,
                 entry) != kFileIndexEntrySize) {
    return false;
  }
  if (entry[0] != 0) {
    const void* end = std::memchr(entry, 0, kFileIndexEntrySize);
    if (end == nullptr) return false;
    std::memcpy(path, entry, size_t(static_cast<const uint8_t*>(end) - entry) + 1);
    return true;
  }
  const char* name = reinterpret_cast<const char*>(entry + kFileIndexNameOffset);
  if (name[0] == 0 || std::memchr(name, 0, kFileIndexEntrySize - kFileIndexNameOffset) == nullptr) {
    return false;
  }
  return resolve(loadU32Le(entry + kFileIndexIdOffset), path, kMaxPathSize, name) != 0;
}

}  // namespace orvia::content
