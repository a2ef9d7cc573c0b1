#include <windows.h>

#include "platform/platform.h"

namespace orvia::platform {

// The system probes accept null for a size of 0; the library's argument rules do not.
bool isReadable(const void* p, size_t n) {
  return p != nullptr && !IsBadReadPtr(p, n);
}
bool isWritable(void* p, size_t n) {
  return p != nullptr && !IsBadWritePtr(p, n);
}

// The system probes catch their own faults.
void installProbeFaultHandlers() {}

}  // namespace orvia::platform
