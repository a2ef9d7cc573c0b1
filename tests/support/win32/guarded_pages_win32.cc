#include <windows.h>

#include "support/read_only_page.h"

namespace orvia::testing {

GuardedPages::GuardedPages(PageAccess second) {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  pageSize_ = info.dwPageSize;
  base_ = static_cast<char*>(VirtualAlloc(nullptr, 2 * pageSize_, MEM_COMMIT, PAGE_READWRITE));
  if (!protectSecond(second)) base_ = nullptr;
}

GuardedPages::~GuardedPages() {
  if (base_ != nullptr) VirtualFree(base_, 0, MEM_RELEASE);
}

bool GuardedPages::protectSecond(PageAccess access) {
  const DWORD protection[] = {PAGE_NOACCESS, PAGE_READONLY, PAGE_READWRITE};
  DWORD old = 0;
  return base_ != nullptr && VirtualProtect(second(), pageSize_, protection[int(access)], &old);
}

}  // namespace orvia::testing
