// Low-level files on Windows. Every handle shares reading, writing and deleting, so that
// readers never stand in the way of a writer replacing or removing a file. Byte-range
// locks on Windows are mandatory, so the advisory whole-file lock is a lock on one byte
// far past any real data: it excludes other lockers and never blocks a read.
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

#include "platform/os/os_file.h"

namespace orvia::os {
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

// The bytes of the file's prefix, which a copy reads again at every look.
constexpr size_t kLivePrefixSize = 256;

class CopiedMapping final : public Mapping {
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

class WinFile final : public OsFile {
 public:
  WinFile(HANDLE handle, bool writable) : handle_(handle), writable_(writable) {}
  ~WinFile() override {
    if (locked_) unlock();
    CloseHandle(handle_);
  }

  bool readAt(uint64_t offset, void* dst, size_t n, size_t* got) const override {
    size_t done = 0;
    while (done < n) {
      DWORD chunk = DWORD(n - done < kMaxChunk ? n - done : kMaxChunk), read = 0;
      OVERLAPPED at = overlappedAt(offset + done);
      if (!ReadFile(handle_, static_cast<char*>(dst) + done, chunk, &read, &at)) {
        if (GetLastError() == ERROR_HANDLE_EOF) break;
        return false;
      }
      if (read == 0) break;
      done += read;
    }
    *got = done;
    return true;
  }

  bool writeAt(uint64_t offset, const void* src, size_t n) override {
    size_t done = 0;
    while (done < n) {
      DWORD chunk = DWORD(n - done < kMaxChunk ? n - done : kMaxChunk), written = 0;
      OVERLAPPED at = overlappedAt(offset + done);
      if (!WriteFile(handle_, static_cast<const char*>(src) + done, chunk, &written, &at) ||
          written == 0)
        return false;
      done += written;
    }
    return true;
  }

  bool size(uint64_t* out) const override {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle_, &size)) return false;
    *out = uint64_t(size.QuadPart);
    return true;
  }

  bool truncate(uint64_t size) override {
    FILE_END_OF_FILE_INFO end;
    end.EndOfFile.QuadPart = LONGLONG(size);
    return SetFileInformationByHandle(handle_, FileEndOfFileInfo, &end, sizeof end) != 0;
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

  std::unique_ptr<Mapping> map(uint64_t size) const override {
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

  bool identity(uint64_t* device, uint64_t* inode) const override {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle_, &info)) return false;
    *device = info.dwVolumeSerialNumber;
    *inode = uint64_t(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    return true;
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

DWORD dispositionFor(OpenMode mode) {
  switch (mode) {
    case OpenMode::kRead:
    case OpenMode::kReadWrite:
      return OPEN_EXISTING;
    case OpenMode::kCreateReadWrite:
      return OPEN_ALWAYS;
    case OpenMode::kCreateNew:
      return CREATE_NEW;
    case OpenMode::kCreateTruncate:
      return CREATE_ALWAYS;
  }
  return OPEN_EXISTING;
}

}  // namespace

std::unique_ptr<OsFile> openOsFile(const std::string& path, OpenMode mode) {
  bool writable = mode != OpenMode::kRead;
  DWORD access = writable ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  HANDLE handle = CreateFileA(path.c_str(), access, kShareAll, nullptr, dispositionFor(mode),
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<WinFile>(handle, writable);
}

bool fileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// As on POSIX, the name goes at once even while other handles keep the file open: a
// deleted file that is still open keeps its name, unopenable, until the last handle
// closes, so it is first renamed out of the way (every handle of ours shares deletion).
bool removeFile(const std::string& path) {
  static std::atomic<uint32_t> counter{0};
  std::string doomed = path + ".removed." + std::to_string(GetCurrentProcessId()) + "." +
                       std::to_string(counter.fetch_add(1));
  if (MoveFileExA(path.c_str(), doomed.c_str(), 0)) {
    DeleteFileA(doomed.c_str());
    return true;
  }
  return DeleteFileA(path.c_str()) != 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool statFile(const std::string& path, FileStamp* out) {
  // Attribute access alone, and backup semantics so that folders open too.
  HANDLE handle = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  bool ok = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  if (!ok) return false;
  out->device = info.dwVolumeSerialNumber;
  out->inode = uint64_t(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
  out->size = uint64_t(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
  // FILETIME counts 100-nanosecond ticks.
  uint64_t ticks =
      uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32 | info.ftLastWriteTime.dwLowDateTime;
  out->mtimeNanos = int64_t(ticks) * 100;
  return true;
}

uint32_t processId() {
  return uint32_t(GetCurrentProcessId());
}

}  // namespace orvia::os
