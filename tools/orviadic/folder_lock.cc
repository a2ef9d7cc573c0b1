#include "folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "conventions.h"

namespace orviadic {

FolderLock::FolderLock(const std::string& folder) {
  const std::string path = (std::filesystem::path(folder) / kFileName).string();
  descriptor_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (descriptor_ < 0) throw CommandFailure{kExitError, "cannot create the lock file " + path};
  if (::flock(descriptor_, LOCK_EX | LOCK_NB) == 0) return;
  std::fprintf(stderr, "orviadic: waiting for another compile into %s\n", folder.c_str());
  int locked;
  while ((locked = ::flock(descriptor_, LOCK_EX)) != 0 && errno == EINTR) {
  }
  if (locked != 0) {
    ::close(descriptor_);
    throw CommandFailure{kExitError, "cannot lock " + path};
  }
}

FolderLock::~FolderLock() {
  // Closing the file releases the lock.
  ::close(descriptor_);
}

}  // namespace orviadic
