// Files on Windows. Reads, writes, sizes and truncation go through the file pointer
// (SetFilePointer from the start, then ReadFile, WriteFile or SetEndOfFile), the calls
// the library has always made on its dictionary files. Every handle shares reading,
// writing and deleting, so that readers never stand in the way of a writer replacing or
// removing a file. Byte-range locks on Windows are mandatory, so the advisory whole-file
// lock is a lock on one byte far past any real data: it excludes other lockers and never
// blocks a read.
//
// A "mapping" reads the file into memory instead of mapping it. Windows refuses to
// shorten a file while any process holds a section of it (Wine refuses even beyond the
// section), and the record store cuts its log while other handles keep the file's head
// mapped. The bytes are read when first fetched, in chunks, so that a mapping costs the
// same at any file size. Past its prefix that head never changes once written; the prefix
// holds the change counter other processes bump, so it is read again each time it is
// looked at, as a real mapping would show it.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "platform/file.h"

namespace orvia::platform {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFFu;
// ReadFile and WriteFile take 32-bit counts.
constexpr size_t kMaxChunk = 1u << 30;

OVERLAPPED overlappedAt(uint64_t offset) {
  OVERLAPPED at = {};
  at.Offset = DWORD(offset & 0xFFFFFFFFu);
  at.OffsetHigh = DWORD(offset >> 32);
  return at;
}

// A zero high part makes the low part unsigned, so 32-bit offsets reach 4 GiB.
bool seekTo(HANDLE handle, uint64_t offset) {
  LONG high = LONG(offset >> 32);
  SetLastError(NO_ERROR);
  DWORD low = SetFilePointer(handle, LONG(DWORD(offset)), &high, FILE_BEGIN);
  return low != INVALID_SET_FILE_POINTER || GetLastError() == NO_ERROR;
}

// The bytes of the file's prefix, which a mapping reads again at every look.
constexpr size_t kLivePrefixSize = 256;
// What one fetch reads at least: enough for a record and its neighbours.
constexpr uint64_t kFetchChunkSize = 16 * 1024;

// Positioned read of all n bytes; false when the file ends before them.
bool readFully(HANDLE handle, uint64_t offset, uint8_t* dst, size_t n) {
  size_t done = 0;
  while (done < n) {
    DWORD chunk = DWORD(n - done < kMaxChunk ? n - done : kMaxChunk), read = 0;
    OVERLAPPED at = overlappedAt(offset + done);
    if (!ReadFile(handle, dst + done, chunk, &read, &at) || read == 0) return false;
    done += read;
  }
  return true;
}

class ReadMapping final : public FileMapping {
 public:
  // Takes ownership of file, a handle of its own on the mapped file.
  ReadMapping(HANDLE file, std::unique_ptr<uint8_t[]> bytes, uint64_t size)
      : file_(file),
        bytes_(std::move(bytes)),
        size_(size),
        fetched_(size_t((size + kFetchChunkSize - 1) / kFetchChunkSize)) {}
  ~ReadMapping() override {
    if (file_ != nullptr) CloseHandle(file_);
  }
  // A failed read leaves the bytes of the last look.
  const uint8_t* data() const override {
    if (file_ != nullptr) {
      DWORD read = 0;
      OVERLAPPED at = overlappedAt(0);
      DWORD prefix = DWORD(size_ < kLivePrefixSize ? size_ : kLivePrefixSize);
      ReadFile(file_, bytes_.get(), prefix, &read, &at);
    }
    return bytes_.get();
  }
  uint64_t size() const override { return size_; }

  // Each run of chunks not yet read is read at once.
  bool fetch(uint64_t offset, uint64_t n) const override {
    if (offset > size_ || n > size_ - offset) return false;
    if (n == 0) return true;
    size_t chunk = size_t(offset / kFetchChunkSize);
    const size_t last = size_t((offset + n - 1) / kFetchChunkSize);
    while (chunk <= last) {
      if (fetched_[chunk]) {
        ++chunk;
        continue;
      }
      size_t end = chunk;
      while (end <= last && !fetched_[end]) ++end;
      uint64_t from = chunk * kFetchChunkSize;
      uint64_t to = end * kFetchChunkSize < size_ ? end * kFetchChunkSize : size_;
      if (!readFully(file_, from, bytes_.get() + from, size_t(to - from))) return false;
      for (; chunk < end; ++chunk) fetched_[chunk] = true;
    }
    return true;
  }

 private:
  HANDLE file_;
  std::unique_ptr<uint8_t[]> bytes_;
  uint64_t size_;
  mutable std::vector<bool> fetched_;
};

class WinFile final : public File {
 public:
  WinFile(HANDLE handle, bool writable) : handle_(handle), writable_(writable) {}
  ~WinFile() override {
    if (locked_) unlock();
    CloseHandle(handle_);
  }

  bool readAt(uint64_t offset, void* dst, size_t n, size_t* got) const override {
    if (!seekTo(handle_, offset)) return false;
    size_t done = 0;
    while (done < n) {
      DWORD chunk = DWORD(n - done < kMaxChunk ? n - done : kMaxChunk), read = 0;
      if (!ReadFile(handle_, static_cast<char*>(dst) + done, chunk, &read, nullptr)) return false;
      if (read == 0) break;
      done += read;
    }
    *got = done;
    return true;
  }

  bool writeAt(uint64_t offset, const void* src, size_t n) override {
    if (!seekTo(handle_, offset)) return false;
    size_t done = 0;
    while (done < n) {
      DWORD chunk = DWORD(n - done < kMaxChunk ? n - done : kMaxChunk), written = 0;
      if (!WriteFile(handle_, static_cast<const char*>(src) + done, chunk, &written, nullptr) ||
          written == 0)
        return false;
      done += written;
    }
    return true;
  }

  bool size(uint64_t* out) const override {
    DWORD high = 0;
    SetLastError(NO_ERROR);
    DWORD low = GetFileSize(handle_, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
    *out = uint64_t(high) << 32 | low;
    return true;
  }

  bool truncate(uint64_t size) override {
    return seekTo(handle_, size) && SetEndOfFile(handle_) != 0;
  }

  bool sync() override { return !writable_ || FlushFileBuffers(handle_) != 0; }
  bool lockExclusive() override { return lockAs(LOCKFILE_EXCLUSIVE_LOCK); }
  bool lockShared() override { return lockAs(0); }
  bool unlock() override {
    OVERLAPPED at = overlappedAt(uint64_t(kLockOffsetHigh) << 32);
    bool ok = UnlockFileEx(handle_, 0, 1, 0, &at) != 0;
    locked_ = false;
    return ok;
  }

  std::unique_ptr<FileMapping> map(uint64_t size) const override {
    if (size == 0) return std::make_unique<ReadMapping>(nullptr, nullptr, 0);
    if (size > uint64_t(SIZE_MAX)) return nullptr;
    // Untouched, the block takes address space but no memory: fetches fill it.
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[size_t(size)]);
    uint64_t fileSize = 0;
    if (!bytes || !this->size(&fileSize) || fileSize < size) return nullptr;
    HANDLE own = nullptr;
    HANDLE process = GetCurrentProcess();
    if (!DuplicateHandle(process, handle_, process, &own, GENERIC_READ, FALSE, 0)) return nullptr;
    return std::make_unique<ReadMapping>(own, std::move(bytes), size);
  }

 private:
  bool lockAs(DWORD flags) {
    OVERLAPPED at = overlappedAt(uint64_t(kLockOffsetHigh) << 32);
    if (!LockFileEx(handle_, flags, 0, 1, 0, &at)) return false;
    locked_ = true;
    return true;
  }

  HANDLE handle_;
  bool writable_;
  bool locked_ = false;
};

DWORD dispositionFor(FileMode mode) {
  switch (mode) {
    case FileMode::kRead:
    case FileMode::kReadWrite:
      return OPEN_EXISTING;
    case FileMode::kCreateReadWrite:
      return OPEN_ALWAYS;
    case FileMode::kCreateNew:
      return CREATE_NEW;
    case FileMode::kCreateTruncate:
      return CREATE_ALWAYS;
  }
  return OPEN_EXISTING;
}

}  // namespace

const char kDirectorySeparator = '\\';

std::unique_ptr<File> openFile(const char* path, FileMode mode) {
  if (path == nullptr) return nullptr;
  bool writable = mode != FileMode::kRead;
  DWORD access = writable ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  HANDLE handle = CreateFileA(path, access, kShareAll, nullptr, dispositionFor(mode),
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  std::unique_ptr<File> file(new (std::nothrow) WinFile(handle, writable));
  if (file == nullptr) CloseHandle(handle);
  return file;
}

bool fileExists(const char* path) {
  if (path == nullptr) return false;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

// As on POSIX, the name goes at once even while other handles keep the file open: a
// deleted file that is still open keeps its name, unopenable, until the last handle
// closes, so it is first renamed out of the way (every handle of ours shares deletion).
bool removeFile(const char* path) {
  if (path == nullptr) return false;
  static std::atomic<uint32_t> counter{0};
  std::string doomed = std::string(path) + ".removed." + std::to_string(GetCurrentProcessId()) +
                       "." + std::to_string(counter.fetch_add(1));
  if (MoveFileExA(path, doomed.c_str(), 0)) {
    DeleteFileA(doomed.c_str());
    return true;
  }
  return DeleteFileA(path) != 0;
}

bool listFileNameEnds(const char* pathPrefix, std::vector<std::string>* ends) {
  if (pathPrefix == nullptr) return false;
  std::string prefix = pathPrefix;
  size_t separator = prefix.find_last_of("\\/:");
  size_t nameSize = prefix.size() - (separator == std::string::npos ? 0 : separator + 1);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((prefix + "*").c_str(), &found);
  ends->clear();
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    // The pattern also matches short names; the long name is the one that counts.
    const char* name = found.cFileName;
    if (std::strlen(name) > nameSize &&
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name, int(nameSize),
                       prefix.c_str() + prefix.size() - nameSize, int(nameSize)) == CSTR_EQUAL)
      ends->push_back(name + nameSize);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return true;
}

bool replaceFile(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace orvia::platform
