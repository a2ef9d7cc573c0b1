#include "content/file_index.h"

#include <cstring>

#include "base/bytes.h"
#include "content/content_format.h"

namespace orvia::content {

bool resolveFileIndexEntry(FileHandle file, uint32_t k, DictPathResolver resolve, char* path) {
  uint8_t count = 0;
  if (readFileAt(file, kFileIndexCountOffset, 1, &count) != 1 || k >= count) return false;
  uint8_t entry[kFileIndexEntrySize];
  if (readFileAt(file, kFileIndexTableOffset + k * kFileIndexEntrySize, kFileIndexEntrySize,
                 entry) != kFileIndexEntrySize) {
    return false;
  }
  const char* name;
  size_t length;
  if (entry[0] != 0) {
    ByteReader fullPath(entry, entry + kFileIndexEntrySize);
    if (!fullPath.readString(&name, &length)) return false;
    std::memcpy(path, name, length + 1);
    return true;
  }
  ByteReader fileName(entry + kFileIndexNameOffset, entry + kFileIndexEntrySize);
  if (!fileName.readString(&name, &length) || length == 0) return false;
  return resolve(loadU32Le(entry + kFileIndexIdOffset), path, kMaxPathSize, name) != 0;
}

}  // namespace orvia::content
