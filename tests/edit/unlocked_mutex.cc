// The writers' mutex as a process sees it when it can neither open nor create it: null,
// so that writers run without the lock. Linked into a writer in place of the platform's
// named mutex, to show what the lock prevents.
#include "platform/platform.h"

namespace orvia::platform {

MutexHandle openOrCreateMutex(const char*) {
  return nullptr;
}
void waitMutex(MutexHandle) {}
void releaseMutex(MutexHandle) {}
void closeMutex(MutexHandle) {}

}  // namespace orvia::platform
