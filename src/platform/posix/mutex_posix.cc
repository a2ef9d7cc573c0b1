#include <memory>
#include <new>
#include <string>

#include "platform/file.h"
#include "platform/platform.h"

// A named mutex is an flock on a lock file that every process derives from the name.
// flock belongs to the open file description, so two handles in one process exclude
// each other just as two processes do.

namespace orvia::platform {

struct PlatformMutex {
  std::unique_ptr<File> lockFile;
};
namespace {

std::string lockPathFor(const char* name) {
  std::string path = "/tmp/";
  for (const char* p = name; *p != '\0'; ++p) path += (*p == '/' || *p == '\\') ? '_' : *p;
  return path + ".lock";
}

}  // namespace

MutexHandle openOrCreateMutex(const char* name) {
  if (name == nullptr) return nullptr;
  auto file = openFile(lockPathFor(name).c_str(), FileMode::kCreateReadWrite);
  if (!file) return nullptr;
  return new (std::nothrow) PlatformMutex{std::move(file)};
}

void waitMutex(MutexHandle mutex) {
  if (mutex != nullptr) mutex->lockFile->lockExclusive();
}

void releaseMutex(MutexHandle mutex) {
  if (mutex != nullptr) mutex->lockFile->unlock();
}

void closeMutex(MutexHandle mutex) {
  delete mutex;
}

}  // namespace orvia::platform
