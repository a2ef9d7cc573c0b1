#include "content/file_access.h"

#include "base/bytes.h"
#include "platform/platform.h"

namespace orvia::content {
namespace {

platform::FileHandle os(FileHandle file) {
  return reinterpret_cast<platform::FileHandle>(file);
}
FileHandle wrap(platform::FileHandle file) {
  return reinterpret_cast<FileHandle>(file);
}

}  // namespace

FileHandle openFileRead(const char* path) {
  return wrap(platform::openFile(path, platform::FileAccess::kReadExisting));
}

FileHandle openFileReadWrite(const char* path) {
  return wrap(platform::openFile(path, platform::FileAccess::kReadWriteExisting));
}

FileHandle createFileReadWrite(const char* path) {
  return wrap(platform::openFile(path, platform::FileAccess::kCreateAlways));
}

uint32_t closeFile(FileHandle file) {
  if (file == kInvalidFile) return 0;
  return platform::closeFile(os(file)) ? 1 : 0;
}

uint32_t readFileNext(FileHandle file, uint32_t count, void* buffer) {
  uint32_t done = 0;
  if (file == kInvalidFile || buffer == nullptr) return 0;
  return platform::readFile(os(file), buffer, count, &done) ? done : 0;
}

uint32_t writeFileNext(FileHandle file, uint32_t count, const void* buffer) {
  uint32_t done = 0;
  if (file == kInvalidFile || buffer == nullptr) return 0;
  return platform::writeFile(os(file), buffer, count, &done) ? done : 0;
}

uint32_t readFileAt(FileHandle file, uint32_t offset, uint32_t count, void* buffer) {
  if (!platform::seekFile(os(file), offset)) return 0;
  return readFileNext(file, count, buffer);
}

uint32_t writeFileAt(FileHandle file, uint32_t offset, uint32_t count, const void* buffer) {
  if (!platform::seekFile(os(file), offset)) return 0;
  return writeFileNext(file, count, buffer);
}

uint32_t truncateFileAt(FileHandle file, uint32_t offset) {
  if (!platform::seekFile(os(file), offset)) return 0;
  return platform::setEndOfFile(os(file)) ? 1 : 0;
}

uint32_t currentFileSize(FileHandle file) {
  uint32_t size = 0;
  return platform::fileSize(os(file), &size) ? size : 0;
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
