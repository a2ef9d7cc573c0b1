#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <new>
#include <string>

#include "platform/file.h"

namespace orvia::platform {
namespace {

class PosixMapping final : public FileMapping {
 public:
  PosixMapping(void* base, uint64_t size) : base_(base), size_(size) {}
  ~PosixMapping() override {
    if (base_ != nullptr) munmap(base_, size_);
  }
  const uint8_t* data() const override { return static_cast<const uint8_t*>(base_); }
  uint64_t size() const override { return size_; }
  // The kernel reads mapped pages on first touch.
  bool fetch(uint64_t offset, uint64_t n) const override {
    return offset <= size_ && n <= size_ - offset;
  }

 private:
  void* base_;
  uint64_t size_;
};

class PosixFile final : public File {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { close(fd_); }

  bool readAt(uint64_t offset, void* dst, size_t n, size_t* got) const override {
    size_t done = 0;
    while (done < n) {
      ssize_t r = pread(fd_, static_cast<char*>(dst) + done, n - done, off_t(offset + done));
      if (r < 0 && errno == EINTR) continue;
      if (r < 0) return false;
      if (r == 0) break;
      done += size_t(r);
    }
    *got = done;
    return true;
  }

  bool writeAt(uint64_t offset, const void* src, size_t n) override {
    size_t done = 0;
    while (done < n) {
      ssize_t r = pwrite(fd_, static_cast<const char*>(src) + done, n - done, off_t(offset + done));
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) return false;
      done += size_t(r);
    }
    return true;
  }

  bool size(uint64_t* out) const override {
    struct stat st;
    if (fstat(fd_, &st) != 0) return false;
    *out = uint64_t(st.st_size);
    return true;
  }

  bool truncate(uint64_t size) override { return ftruncate(fd_, off_t(size)) == 0; }
  bool sync() override { return fdatasync(fd_) == 0; }
  bool lockExclusive() override { return lockAs(LOCK_EX); }
  bool lockShared() override { return lockAs(LOCK_SH); }
  bool unlock() override { return lockAs(LOCK_UN); }

  std::unique_ptr<FileMapping> map(uint64_t size) const override {
    if (size == 0) return std::make_unique<PosixMapping>(nullptr, 0);
    if (size > uint64_t(SIZE_MAX)) return nullptr;
    void* base = mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED, fd_, 0);
    if (base == MAP_FAILED) return nullptr;
    return std::make_unique<PosixMapping>(base, size);
  }

 private:
  bool lockAs(int operation) {
    for (;;) {
      if (flock(fd_, operation) == 0) return true;
      if (errno != EINTR) return false;
    }
  }

  int fd_;
};

int flagsFor(FileMode mode) {
  switch (mode) {
    case FileMode::kRead:
      return O_RDONLY;
    case FileMode::kReadWrite:
      return O_RDWR;
    case FileMode::kCreateReadWrite:
      return O_RDWR | O_CREAT;
    case FileMode::kCreateNew:
      return O_RDWR | O_CREAT | O_EXCL;
    case FileMode::kCreateTruncate:
      return O_RDWR | O_CREAT | O_TRUNC;
  }
  return O_RDONLY;
}

bool syncDirectoryOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string dir = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
  int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = fsync(fd) == 0;
  close(fd);
  return ok;
}

}  // namespace

const char kDirectorySeparator = '/';

std::unique_ptr<File> openFile(const char* path, FileMode mode) {
  if (path == nullptr) return nullptr;
  int fd;
  do {
    fd = open(path, flagsFor(mode) | O_CLOEXEC, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return nullptr;
  struct stat st;
  // Directories open read-only on POSIX; they are never files of ours.
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return nullptr;
  }
  std::unique_ptr<File> file(new (std::nothrow) PosixFile(fd));
  if (file == nullptr) close(fd);
  return file;
}

bool fileExists(const char* path) {
  struct stat st;
  return path != nullptr && stat(path, &st) == 0;
}

bool removeFile(const char* path) {
  return path != nullptr && unlink(path) == 0;
}

bool listFileNameEnds(const char* pathPrefix, std::vector<std::string>* ends) {
  if (pathPrefix == nullptr) return false;
  std::string prefix = pathPrefix;
  size_t slash = prefix.find_last_of('/');
  std::string directory = slash == std::string::npos ? "." : prefix.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? prefix : prefix.substr(slash + 1);
  DIR* dir = opendir(directory.c_str());
  if (dir == nullptr) return false;
  ends->clear();
  while (const dirent* entry = readdir(dir)) {
    std::string found = entry->d_name;
    if (found.size() > name.size() && found.compare(0, name.size(), name) == 0)
      ends->push_back(found.substr(name.size()));
  }
  closedir(dir);
  return true;
}

bool replaceFile(const char* from, const char* to) {
  if (rename(from, to) != 0) return false;
  return syncDirectoryOf(to);
}

}  // namespace orvia::platform
