// Memory the process may not write, or not touch at all, for the pointer probes and the
// tests of buffers they refuse.
#pragma once

#include <cstddef>

namespace orvia::testing {

enum class PageAccess { kNone, kRead, kReadWrite };

// Two adjacent pages: the first readable and writable, the second as asked.
class GuardedPages {
 public:
  explicit GuardedPages(PageAccess second);
  ~GuardedPages();
  GuardedPages(const GuardedPages&) = delete;
  GuardedPages& operator=(const GuardedPages&) = delete;

  bool protectSecond(PageAccess access);
  // Null when the pages could not be made.
  char* first() const { return base_; }
  char* second() const { return base_ == nullptr ? nullptr : base_ + pageSize_; }
  size_t pageSize() const { return pageSize_; }

 private:
  char* base_ = nullptr;
  size_t pageSize_ = 0;
};

// One page of memory the process may read but not write.
class ReadOnlyPage : GuardedPages {
 public:
  ReadOnlyPage() : GuardedPages(PageAccess::kRead) {}
  void* get() const { return second(); }
};

}  // namespace orvia::testing
