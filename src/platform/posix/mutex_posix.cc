#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <string>

#include "platform/platform.h"

// A named mutex is an flock on a lock file in /tmp that every process derives from the
// name. flock belongs to the open file description, so two handles in one process exclude
// each other just as two processes do, and the kernel lets go when a holder dies.
//
// The file is shared by every user of the machine. It is never opened through a symbolic
// link, which another user could plant to make us create or lock a file of theirs, and it
// is made readable and writable by everyone whatever the umask: a writer that cannot open
// it runs without the lock.

namespace orvia::platform {

struct PlatformMutex {
  int fd;
};
namespace {

constexpr mode_t kEveryoneReadWrite = 0666;

std::string lockPathFor(const char* name) {
  std::string path = "/tmp/";
  for (const char* p = name; *p != '\0'; ++p) path += (*p == '/' || *p == '\\') ? '_' : *p;
  return path + ".lock";
}

// Opens the lock file, creating it when missing. An existing file is opened without
// O_CREAT: in a sticky folder the kernel may refuse O_CREAT on another user's file.
int openLockFile(const std::string& path) {
  constexpr int kFlags = O_RDWR | O_NOFOLLOW | O_CLOEXEC;
  for (int attempt = 0; attempt < 3; ++attempt) {
    int fd = open(path.c_str(), kFlags);
    if (fd >= 0 || errno != ENOENT) return fd;
    fd = open(path.c_str(), kFlags | O_CREAT | O_EXCL, kEveryoneReadWrite);
    if (fd >= 0) {
      fchmod(fd, kEveryoneReadWrite);
      return fd;
    }
    if (errno != EEXIST) return -1;  // another process created it meanwhile: open it
  }
  return -1;
}

}  // namespace

MutexHandle openOrCreateMutex(const char* name) {
  if (name == nullptr) return nullptr;
  const int fd = openLockFile(lockPathFor(name));
  if (fd < 0) return nullptr;
  auto* mutex = new (std::nothrow) PlatformMutex{fd};
  if (mutex == nullptr) close(fd);
  return mutex;
}

void waitMutex(MutexHandle mutex) {
  if (mutex == nullptr) return;
  while (flock(mutex->fd, LOCK_EX) != 0 && errno == EINTR) {
  }
}

void releaseMutex(MutexHandle mutex) {
  if (mutex != nullptr) flock(mutex->fd, LOCK_UN);
}

void closeMutex(MutexHandle mutex) {
  if (mutex == nullptr) return;
  close(mutex->fd);
  delete mutex;
}

}  // namespace orvia::platform
