#include <sys/mman.h>
#include <unistd.h>

#include "support/read_only_page.h"

namespace orvia::testing {

GuardedPages::GuardedPages(PageAccess second) : pageSize_(size_t(sysconf(_SC_PAGESIZE))) {
  void* pages =
      mmap(nullptr, 2 * pageSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pages != MAP_FAILED) base_ = static_cast<char*>(pages);
  if (!protectSecond(second)) base_ = nullptr;
}

GuardedPages::~GuardedPages() {
  if (base_ != nullptr) munmap(base_, 2 * pageSize_);
}

bool GuardedPages::protectSecond(PageAccess access) {
  const int protection[] = {PROT_NONE, PROT_READ, PROT_READ | PROT_WRITE};
  return base_ != nullptr && mprotect(second(), pageSize_, protection[int(access)]) == 0;
}

}  // namespace orvia::testing
