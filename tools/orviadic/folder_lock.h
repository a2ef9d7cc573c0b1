// Serialises the compiles into one folder: each holds an exclusive lock on a file of the
// folder from before its first file until its last, so that the files in place at the
// end all come from the compile that reported success last.
#pragma once

#include <string>

namespace orviadic {

class FolderLock {
 public:
  // Waits for the lock, saying so on stderr when another compile holds it; throws
  // CommandFailure when the lock file cannot be made.
  explicit FolderLock(const std::string& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // The lock file's name, for callers that clear the folder.
  static constexpr char kFileName[] = ".orviadic-compile.lock";

 private:
  int descriptor_ = -1;
};

}  // namespace orviadic
