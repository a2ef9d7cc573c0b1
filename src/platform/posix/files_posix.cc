#include <memory>

#include "platform/os/os_file.h"
#include "platform/platform.h"

// A file handle with a current position, as the library's callers expect.

namespace orvia::platform {

struct PlatformFile {
  std::unique_ptr<os::OsFile> file;
  uint32_t position = 0;
};

const char kDirectorySeparator = '/';

FileHandle openFile(const char* path, FileAccess access) {
  if (path == nullptr) return nullptr;
  os::OpenMode mode = access == FileAccess::kReadExisting        ? os::OpenMode::kRead
                      : access == FileAccess::kReadWriteExisting ? os::OpenMode::kReadWrite
                                                                 : os::OpenMode::kCreateTruncate;
  auto file = os::openOsFile(path, mode);
  if (!file) return nullptr;
  return new (std::nothrow) PlatformFile{std::move(file), 0};
}

bool closeFile(FileHandle file) {
  if (file == nullptr) return false;
  delete file;
  return true;
}

bool seekFile(FileHandle file, uint32_t offset) {
  if (file == nullptr) return false;
  file->position = offset;
  return true;
}

bool readFile(FileHandle file, void* buffer, uint32_t count, uint32_t* done) {
  if (file == nullptr) return false;
  size_t got = 0;
  if (!file->file->readAt(file->position, buffer, count, &got)) return false;
  file->position += uint32_t(got);
  *done = uint32_t(got);
  return true;
}

bool writeFile(FileHandle file, const void* buffer, uint32_t count, uint32_t* done) {
  if (file == nullptr) return false;
  // Offsets are 32-bit: a write that would pass 4 GiB fails rather than wrap.
  if (uint64_t(file->position) + count > 0xFFFFFFFFull) return false;
  if (!file->file->writeAt(file->position, buffer, count)) return false;
  file->position += count;
  *done = count;
  return true;
}

bool setEndOfFile(FileHandle file) {
  return file != nullptr && file->file->truncate(file->position);
}

bool fileSize(FileHandle file, uint32_t* size) {
  uint64_t full = 0;
  if (file == nullptr || !file->file->size(&full)) return false;
  *size = uint32_t(full);
  return true;
}

bool findFile(const char* path) {
  return path != nullptr && os::fileExists(path);
}

}  // namespace orvia::platform
