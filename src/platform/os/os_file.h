// Low-level file services shared by the record store and the library: positioned I/O
// with 64-bit offsets, durability, whole-file advisory locks, read-only mappings and
// atomic replacement. The only OS knowledge below the record store.
//
// Failures are reported as false (or null) with no reason: callers map them to their
// own results. Nothing here throws. An OsFile may be used from several threads when
// each call is independent (pread/pwrite); locking and mapping are per object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace orvia::os {

enum class OpenMode {
  kRead,             // existing file, read only
  kReadWrite,        // existing file
  kCreateReadWrite,  // created when missing, kept when present
  kCreateNew,        // created; fails when the file exists
  kCreateTruncate,   // created, or emptied when present
};

// A read-only mapping of the first size bytes of a file; unmapped on destruction.
class Mapping {
 public:
  virtual ~Mapping() = default;
  virtual const uint8_t* data() const = 0;
  virtual uint64_t size() const = 0;
};

class OsFile {
 public:
  virtual ~OsFile() = default;
  // Copies up to n bytes at offset into dst; *got < n only at end of file.
  virtual bool readAt(uint64_t offset, void* dst, size_t n, size_t* got) const = 0;
  // Writes all n bytes at offset.
  virtual bool writeAt(uint64_t offset, const void* src, size_t n) = 0;
  virtual bool size(uint64_t* out) const = 0;
  virtual bool truncate(uint64_t size) = 0;
  // Makes written data durable.
  virtual bool sync() = 0;
  // Whole-file advisory locks between processes; lock waits without time-out.
  virtual bool lockExclusive() = 0;
  virtual bool lockShared() = 0;
  virtual bool unlock() = 0;
  // Maps [0, size); size 0 gives an empty mapping whose data() may be null.
  virtual std::unique_ptr<Mapping> map(uint64_t size) const = 0;
  // Identity that changes when the path is replaced: for "changed since last look".
  virtual bool identity(uint64_t* device, uint64_t* inode) const = 0;
};

std::unique_ptr<OsFile> openOsFile(const std::string& path, OpenMode mode);

bool fileExists(const std::string& path);
bool removeFile(const std::string& path);
// Renames from over to, replacing to atomically, and makes the rename durable.
bool replaceFile(const std::string& from, const std::string& to);
// Size, modification time and identity of a path, for cheap change detection.
struct FileStamp {
  uint64_t device = 0, inode = 0, size = 0;
  int64_t mtimeNanos = 0;
  bool operator==(const FileStamp& o) const {
    return device == o.device && inode == o.inode && size == o.size && mtimeNanos == o.mtimeNanos;
  }
  bool operator!=(const FileStamp& o) const { return !(*this == o); }
};
bool statFile(const std::string& path, FileStamp* out);
// Process id, for unique temporary names.
uint32_t processId();

}  // namespace orvia::os
