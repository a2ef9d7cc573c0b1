// The writers' mutex as a merge uses it: opened once, held around each merged record
// only, so that other writers run between records, and released on every way out.
#pragma once

#include "edit/write_lock.h"
#include "platform/platform.h"

namespace orvia::update {

class MergeLock {
 public:
  // When the mutex can be neither opened nor created the merge runs without it.
  MergeLock() : mutex_(platform::openOrCreateMutex(edit::kWriteMutexName)) {}
  ~MergeLock() {
    if (mutex_ == nullptr) return;
    release();
    platform::closeMutex(mutex_);
  }
  MergeLock(const MergeLock&) = delete;
  MergeLock& operator=(const MergeLock&) = delete;

  // Waits without time-out.
  void take() {
    if (mutex_ == nullptr || held_) return;
    platform::waitMutex(mutex_);
    held_ = true;
  }
  void release() {
    if (!held_) return;
    platform::releaseMutex(mutex_);
    held_ = false;
  }

 private:
  platform::MutexHandle mutex_;
  bool held_ = false;
};

}  // namespace orvia::update
