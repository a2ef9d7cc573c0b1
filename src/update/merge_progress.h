// Where a merge tells its progress: a window through the platform's messages (mode 1), a
// caller's procedure (mode 2), or nowhere. Reports are synchronous, on the merging thread,
// and are made only while the merge holds no lock.
#pragma once

#include <cstdint>

#include "orviadic.h"

namespace orvia::update {

class MergeProgress {
 public:
  MergeProgress() = default;
  // REQUIRES: in mode 1 a non-null target is readable for a NotifyTarget during the merge;
  // in mode 2 a non-null target is a NewWordProgressProc.
  MergeProgress(uint32_t mode, void* target) : mode_(mode), target_(target) {}

  // Mode 1 reads the window and message anew each time and sends only when both are
  // non-zero; mode 2 calls the procedure when there is one.
  void report(uint32_t stage, intptr_t value) const;

 private:
  uint32_t mode_ = 0;
  void* target_ = nullptr;
};

}  // namespace orvia::update
