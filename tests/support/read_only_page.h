// One page of memory the process may read but not write, for buffer-probe tests.
#pragma once

#include <cstddef>

namespace orvia::testing {

class ReadOnlyPage {
 public:
  ReadOnlyPage();
  ~ReadOnlyPage();
  ReadOnlyPage(const ReadOnlyPage&) = delete;
  ReadOnlyPage& operator=(const ReadOnlyPage&) = delete;

  // Null when the page could not be made.
  void* get() const { return page_; }

 private:
  void* page_ = nullptr;
  size_t size_ = 0;
};

}  // namespace orvia::testing
