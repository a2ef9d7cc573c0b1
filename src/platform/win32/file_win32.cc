// Files on Windows. Reads, writes, sizes and truncation go through the file pointer
// (SetFilePointer from the start, then ReadFile, WriteFile or SetEndOfFile), the calls
// the library has always made on its dictionary files. Every handle shares reading,
// writing and deleting, so that readers never stand in the way of a writer replacing or
// removing a file. Byte-range locks on Windows are mandatory, so the advisory whole-file
// lock is a lock on one byte far past any real data: it excludes other lockers and never
// blocks a read.
//
// A "mapping" is a private copy read at map time. Windows refuses to shorten a file
// while any process holds a section of it, and the record store cuts its log while other
// handles keep the file's head mapped. Past its prefix that head never changes once
// written; the prefix holds the change counter other processes bump, so the copy reads
// the prefix again each time it is looked at, as a real mapping would show it.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <new>
#include <string>

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

// The bytes of the file's prefix, which a copy reads again at every look.
constexpr size_t kLivePrefixSize = 256;

class CopiedMapping final : public FileMapping {
 public:
  // Takes ownership of file, a handle of its own on the mapped file.
  CopiedMapping(HANDLE file, std::unique_ptr<uint8_t[]> bytes, uint64_t size)
      : file_(file), bytes_(std::move(bytes)), size_(size) {}
  ~CopiedMapping() override {
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

 private:
  HANDLE file_;
  std::unique_ptr<uint8_t[]> bytes_;
  uint64_t size_;
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
    if (size == 0) return std::make_unique<CopiedMapping>(nullptr, nullptr, 0);
    if (size > uint64_t(SIZE_MAX)) return nullptr;
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[size_t(size)]);
    size_t got = 0;
    if (!bytes || !readAt(0, bytes.get(), size_t(size), &got) || got != size) return nullptr;
    HANDLE own = nullptr;
    HANDLE process = GetCurrentProcess();
    if (!DuplicateHandle(process, handle_, process, &own, GENERIC_READ, FALSE, 0)) return nullptr;
    return std::make_unique<CopiedMapping>(own, std::move(bytes), size);
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

bool replaceFile(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace orvia::platform
