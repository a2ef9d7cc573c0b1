// Pointer probes without faulting: the kernel copies through the memory on our behalf
// and reports EFAULT for any byte that is unmapped or lacks the access asked for.
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/platform.h"

namespace orvia::platform {
namespace {

constexpr size_t kChunk = 4096;

// Reads [p, p + n) through process_vm_readv into a scratch buffer.
bool probeRead(const void* p, size_t n) {
  char scratch[kChunk];
  const char* at = static_cast<const char*>(p);
  while (n > 0) {
    size_t step = n < kChunk ? n : kChunk;
    struct iovec local = {scratch, step};
    struct iovec remote = {const_cast<char*>(at), step};
    ssize_t done = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
    if (done != ssize_t(step)) return false;
    at += step;
    n -= step;
  }
  return true;
}

// Writes each byte's own value back through process_vm_writev: memory that is not
// writable fails, and the caller's bytes stay as they were.
bool probeWrite(void* p, size_t n) {
  char scratch[kChunk];
  char* at = static_cast<char*>(p);
  while (n > 0) {
    size_t step = n < kChunk ? n : kChunk;
    struct iovec local = {scratch, step};
    struct iovec remote = {at, step};
    if (process_vm_readv(getpid(), &local, 1, &remote, 1, 0) != ssize_t(step)) return false;
    if (process_vm_writev(getpid(), &local, 1, &remote, 1, 0) != ssize_t(step)) return false;
    at += step;
    n -= step;
  }
  return true;
}

}  // namespace

bool isReadable(const void* p, size_t n) {
  return p != nullptr && (n == 0 || probeRead(p, n));
}
bool isWritable(void* p, size_t n) {
  return p != nullptr && (n == 0 || probeWrite(p, n));
}

}  // namespace orvia::platform
