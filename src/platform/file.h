// Files as the library, the record store and the compiler use them: positioned reads
// and writes, size, truncation, durability, whole-file locks between processes and
// read-only mappings, and the few operations on paths around them. One backend per
// system (posix/file_posix.cc, win32/file_win32.cc).
//
// Failures are reported as false or null with no reason: callers map them to their own
// results. Nothing here throws. A File is used by one thread at a time (on Windows a
// positioned call moves the handle's file pointer); separate Files, of one path or of
// several, may be used from separate threads at once. The path functions may be called
// from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvia::platform {

// The separator written at the end of a directory; "\\" and "/" are both read.
extern const char kDirectorySeparator;

enum class FileMode {
  kRead,             // existing file, read only
  kReadWrite,        // existing file
  kCreateReadWrite,  // created when missing, kept when present
  kCreateNew,        // created; fails when the file exists
  kCreateTruncate,   // created, or emptied when present
};

// A read-only view of the first size() bytes of a file, owned by whoever mapped it and
// released on destruction. It may outlive the File it came from. Past the file's first
// 256 bytes, which every data() shows as they are now, bytes may be read from the file
// only when fetched, and stay as they were read: a range is read through data() only
// after fetch() said yes to it, and only in a file that no longer changes there. One
// thread at a time.
class FileMapping {
 public:
  virtual ~FileMapping() = default;
  virtual const uint8_t* data() const = 0;
  virtual uint64_t size() const = 0;
  // Makes [offset, offset + n) of data() hold the file's bytes; false when the range
  // passes size() or cannot be read.
  virtual bool fetch(uint64_t offset, uint64_t n) const = 0;
};

// An open file. Destroying it releases its lock, if it holds one, and closes it.
class File {
 public:
  virtual ~File() = default;
  // Copies up to n bytes at offset into dst and sets *got; *got < n only at end of
  // file, 0 at or past it.
  virtual bool readAt(uint64_t offset, void* dst, size_t n, size_t* got) const = 0;
  // Writes all n bytes at offset, growing the file as needed; false when any is not
  // written.
  virtual bool writeAt(uint64_t offset, const void* src, size_t n) = 0;
  virtual bool size(uint64_t* out) const = 0;
  // Ends the file at size, cutting or growing it.
  virtual bool truncate(uint64_t size) = 0;
  // Makes written data durable.
  virtual bool sync() = 0;
  // Whole-file advisory locks between processes and between Files of one process;
  // the lock calls wait without time-out. They never block reads or writes.
  virtual bool lockExclusive() = 0;
  virtual bool lockShared() = 0;
  virtual bool unlock() = 0;
  // Maps [0, size); size 0 gives an empty mapping whose data() may be null. Null on
  // failure.
  virtual std::unique_ptr<FileMapping> map(uint64_t size) const = 0;
};

// Opens path, sharing reading and writing (and removal) with every other opener. Null
// for a null path, for a missing file in the modes that need one, for a directory and
// on any failure. The caller owns the File.
std::unique_ptr<File> openFile(const char* path, FileMode mode);

// True when path names an existing file or directory; false for a null path.
bool fileExists(const char* path);
// Takes the name away at once, even while Files keep the file open; false for a null
// path or one that names no file.
bool removeFile(const char* path);
// Sets *ends to what follows the name part of pathPrefix in the names of the files of its
// directory that begin with it (matched as the system matches names: on Windows without
// regard to case). False when the directory cannot be read.
bool listFileNameEnds(const char* pathPrefix, std::vector<std::string>* ends);
// Renames from over to, replacing to atomically, and makes the rename durable; false
// when from names no file. Files open on either keep the file they opened.
bool replaceFile(const char* from, const char* to);

}  // namespace orvia::platform
