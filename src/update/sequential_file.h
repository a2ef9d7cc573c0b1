// An exchange file read or written from front to back, with the offset kept here: the file
// access layer takes an offset with every call.
#pragma once

#include <cstdint>

#include "base/bytes.h"
#include "content/file_access.h"

namespace orvia::update {

// Closes the file on every way out.
class OpenFile {
 public:
  explicit OpenFile(content::FileHandle file) : file_(file) {}
  ~OpenFile() { content::closeFile(file_); }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  content::FileHandle get() const { return file_; }
  bool valid() const { return file_ != content::kInvalidFile; }

 private:
  content::FileHandle file_;
};

// Each call moves all of its bytes or fails; the offset moves only on success.
class SequentialFile {
 public:
  SequentialFile(content::FileHandle file, uint32_t offset) : file_(file), offset_(offset) {}

  uint32_t offset() const { return offset_; }
  // The bytes left between the offset and the end of a file of size bytes.
  uint64_t remaining(uint32_t size) const { return size > offset_ ? size - offset_ : 0; }

  bool read(void* buffer, uint32_t count) {
    return move(count == 0 || content::readFileAt(file_, offset_, count, buffer) == count, count);
  }
  bool readU32(uint32_t* value) {
    uint8_t bytes[4];
    if (!read(bytes, 4)) return false;
    *value = loadU32Le(bytes);
    return true;
  }
  bool write(const void* buffer, uint32_t count) {
    return move(count == 0 || content::writeFileAt(file_, offset_, count, buffer) == count, count);
  }
  bool writeU32(uint32_t value) {
    uint8_t bytes[4];
    storeU32Le(bytes, value);
    return write(bytes, 4);
  }

 private:
  bool move(bool done, uint32_t count) {
    if (done) offset_ += count;
    return done;
  }

  content::FileHandle file_;
  uint32_t offset_;
};

}  // namespace orvia::update
