#include <windows.h>

#include "support/read_only_page.h"

namespace orvia::testing {

ReadOnlyPage::ReadOnlyPage() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  size_ = info.dwPageSize;
  page_ = VirtualAlloc(nullptr, size_, MEM_COMMIT | MEM_RESERVE, PAGE_READONLY);
}

ReadOnlyPage::~ReadOnlyPage() {
  if (page_ != nullptr) VirtualFree(page_, 0, MEM_RELEASE);
}

}  // namespace orvia::testing
