#include <sys/mman.h>
#include <unistd.h>

#include "support/read_only_page.h"

namespace orvia::testing {

ReadOnlyPage::ReadOnlyPage() : size_(size_t(sysconf(_SC_PAGESIZE))) {
  void* page = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  page_ = page == MAP_FAILED ? nullptr : page;
}

ReadOnlyPage::~ReadOnlyPage() {
  if (page_ != nullptr) munmap(page_, size_);
}

}  // namespace orvia::testing
