#include "content/file_access.h"

#include "content/le_bytes.h"

namespace orvia::content {

FileHandle openFileRead(const char* path) {
  return platform::openFile(path, platform::FileAccess::kReadExisting);
}

FileHandle openFileReadWrite(const char* path) {
  return platform::openFile(path, platform::FileAccess::kReadWriteExisting);
}

FileHandle createFileReadWrite(const char* path) {
  return platform::openFile(path, platform::FileAccess::kCreateAlways);
}

uint32_t closeFile(FileHandle file) {
  if (file == kInvalidFile) return 0;
  return platform::closeFile(file) ? 1 : 0;
}

uint32_t readFileNext(FileHandle file, uint32_t count, void* buffer) {
  uint32_t done = 0;
  if (file == kInvalidFile || buffer == nullptr) return 0;
  return platform::readFile(file, buffer, count, &done) ? done : 0;
}

uint32_t writeFileNext(FileHandle file, uint32_t count, const void* buffer) {
  uint32_t done = 0;
  if (file == kInvalidFile || buffer == nullptr) return 0;
  return platform::writeFile(file, buffer, count, &done) ? done : 0;
}

uint32_t readFileAt(FileHandle file, uint32_t offset, uint32_t count, void* buffer) {
  if (!platform::seekFile(file, offset)) return 0;
  return readFileNext(file, count, buffer);
}

uint32_t writeFileAt(FileHandle file, uint32_t offset, uint32_t count, const void* buffer) {
  if (!platform::seekFile(file, offset)) return 0;
  return writeFileNext(file, count, buffer);
}

uint32_t truncateFileAt(FileHandle file, uint32_t offset) {
  if (!platform::seekFile(file, offset)) return 0;
  return platform::setEndOfFile(file) ? 1 : 0;
}

uint32_t currentFileSize(FileHandle file) {
  uint32_t size = 0;
  return platform::fileSize(file, &size) ? size : 0;
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
