// The writers' lock: one named system mutex shared by every process that loads the
// library, around each change to user entries and their indexes.
#pragma once

#include "platform/platform.h"

namespace orvia::edit {

inline constexpr char kWriteMutexName[] = "Orvia Dictionary API Write Mutex";

// Holds the write mutex from construction to destruction. When the mutex can be neither
// opened nor created the holder runs without it: a writer that cannot lock still writes.
class WriteLock {
 public:
  WriteLock() : mutex_(platform::openOrCreateMutex(kWriteMutexName)) {
    if (mutex_ != nullptr) platform::waitMutex(mutex_);
  }
  ~WriteLock() {
    if (mutex_ == nullptr) return;
    platform::releaseMutex(mutex_);
    platform::closeMutex(mutex_);
  }
  WriteLock(const WriteLock&) = delete;
  WriteLock& operator=(const WriteLock&) = delete;

 private:
  platform::MutexHandle mutex_;
};

// Runs worker under the write lock and returns its result. Waits without time-out.
template <typename Worker>
auto runUnderWriteLock(Worker worker) {
  WriteLock lock;
  return worker();
}

}  // namespace orvia::edit
