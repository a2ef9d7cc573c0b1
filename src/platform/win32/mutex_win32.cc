#include <windows.h>

#include "platform/platform.h"

// The named mutex is a Win32 mutex object: the handle is the MutexHandle.

namespace orvia::platform {
namespace {

HANDLE handleOf(MutexHandle mutex) {
  return reinterpret_cast<HANDLE>(mutex);
}

}  // namespace

MutexHandle openOrCreateMutex(const char* name) {
  if (name == nullptr) return nullptr;
  HANDLE handle = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name);
  if (handle == nullptr) handle = CreateMutexA(nullptr, FALSE, name);
  return reinterpret_cast<MutexHandle>(handle);
}

// An abandoned mutex (its owner died holding it) is ours all the same.
void waitMutex(MutexHandle mutex) {
  if (mutex != nullptr) WaitForSingleObject(handleOf(mutex), INFINITE);
}

void releaseMutex(MutexHandle mutex) {
  if (mutex != nullptr) ReleaseMutex(handleOf(mutex));
}

void closeMutex(MutexHandle mutex) {
  if (mutex != nullptr) CloseHandle(handleOf(mutex));
}

}  // namespace orvia::platform
