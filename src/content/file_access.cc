#include "content/file_access.h"

#include "base/bytes.h"

namespace orvia::content {

FileHandle openFileRead(const char* path) {
  return platform::openFile(path, platform::FileMode::kRead).release();
}

FileHandle openFileReadWrite(const char* path) {
  return platform::openFile(path, platform::FileMode::kReadWrite).release();
}

FileHandle createFileReadWrite(const char* path) {
  return platform::openFile(path, platform::FileMode::kCreateTruncate).release();
}

uint32_t closeFile(FileHandle file) {
  if (file == kInvalidFile) return 0;
  delete file;
  return 1;
}

uint32_t readFileAt(FileHandle file, uint32_t offset, uint32_t count, void* buffer) {
  size_t got = 0;
  if (file == kInvalidFile || buffer == nullptr || !file->readAt(offset, buffer, count, &got)) {
    return 0;
  }
  return uint32_t(got);
}

uint32_t writeFileAt(FileHandle file, uint32_t offset, uint32_t count, const void* buffer) {
  // Offsets are 32-bit: a write that would pass 4 GiB fails rather than wrap.
  if (file == kInvalidFile || buffer == nullptr || uint64_t(offset) + count > 0xFFFFFFFFu) {
    return 0;
  }
  return file->writeAt(offset, buffer, count) ? count : 0;
}

uint32_t truncateFileAt(FileHandle file, uint32_t offset) {
  return file != kInvalidFile && file->truncate(offset) ? 1 : 0;
}

uint32_t currentFileSize(FileHandle file) {
  uint64_t size = 0;
  return file != kInvalidFile && file->size(&size) ? uint32_t(size) : 0;
}

bool readU32At(FileHandle file, uint32_t offset, uint32_t* value) {
  uint8_t bytes[4];
  if (readFileAt(file, offset, 4, bytes) != 4) return false;
  *value = loadU32Le(bytes);
  return true;
}

bool writeU32At(FileHandle file, uint32_t offset, uint32_t value) {
  uint8_t bytes[4];
  storeU32Le(bytes, value);
  return writeFileAt(file, offset, 4, bytes) == 4;
}

}  // namespace orvia::content
