// Pointer probes without system calls: one byte of every page the range touches is read
// (or atomically rewritten with its own value) under a fault handler that jumps back
// out of the probe. Access is granted page by page, so that byte stands for its page.
// Faults outside a probe go to whatever handler was installed before ours.
#include <signal.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdint>
#include <mutex>

#include "platform/platform.h"

namespace orvia::platform {
namespace {

// Initial-exec, so the fault handler reads it without a lazy allocation.
__attribute__((tls_model("initial-exec"))) thread_local sigjmp_buf* tProbeJump = nullptr;

struct sigaction gPreviousSegv, gPreviousBus;

void onFault(int signal, siginfo_t* info, void* context) {
  if (sigjmp_buf* jump = tProbeJump) {
    tProbeJump = nullptr;
    siglongjmp(*jump, 1);
  }
  const struct sigaction& previous = signal == SIGSEGV ? gPreviousSegv : gPreviousBus;
  if (previous.sa_flags & SA_SIGINFO) {
    if (previous.sa_sigaction != nullptr) previous.sa_sigaction(signal, info, context);
  } else if (previous.sa_handler == SIG_DFL || previous.sa_handler == SIG_IGN) {
    // Returning re-runs the faulting instruction, which now takes the default action.
    sigaction(signal, &previous, nullptr);
  } else {
    previous.sa_handler(signal);
  }
}

void installFor(int signal, struct sigaction* previous) {
  struct sigaction current;
  if (sigaction(signal, nullptr, &current) != 0) return;
  if ((current.sa_flags & SA_SIGINFO) && current.sa_sigaction == onFault) return;
  struct sigaction action = {};
  action.sa_sigaction = onFault;
  // No deferral: the jump out of the handler leaves the signal mask as it was.
  action.sa_flags = SA_SIGINFO | SA_NODEFER | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  *previous = current;
  sigaction(signal, &action, nullptr);
}

uintptr_t pageSize() {
  static const uintptr_t size = uintptr_t(sysconf(_SC_PAGESIZE));
  return size;
}

// Touches one byte in every page of [begin, last]; faults jump out of the caller's probe.
__attribute__((noinline)) void touchPages(uintptr_t begin, uintptr_t last, bool write) {
  const uintptr_t page = pageSize();
  for (uintptr_t at = begin;;) {
    // The page walk is address arithmetic by nature; the byte is only touched.
    auto* byte = reinterpret_cast<volatile uint8_t*>(at);  // NOLINT(performance-no-int-to-ptr)
    if (write) {
      __atomic_fetch_or(byte, uint8_t(0), __ATOMIC_RELAXED);
    } else {
      (void)*byte;
    }
    uintptr_t next = (at & ~(page - 1)) + page;
    if (next == 0 || next > last) return;
    at = next;
  }
}

bool probe(const void* p, size_t n, bool write) {
  static std::once_flag installed;
  std::call_once(installed, installProbeFaultHandlers);
  uintptr_t begin = reinterpret_cast<uintptr_t>(p);
  if (n - 1 > UINTPTR_MAX - begin) return false;  // the range wraps around
  volatile bool reached = false;
  sigjmp_buf jump;
  if (sigsetjmp(jump, 0) == 0) {
    tProbeJump = &jump;
    touchPages(begin, begin + (n - 1), write);
    reached = true;
  }
  tProbeJump = nullptr;
  return reached;
}

}  // namespace

void installProbeFaultHandlers() {
  installFor(SIGSEGV, &gPreviousSegv);
  installFor(SIGBUS, &gPreviousBus);
}

bool isReadable(const void* p, size_t n) {
  return p != nullptr && (n == 0 || probe(p, n, false));
}
bool isWritable(void* p, size_t n) {
  return p != nullptr && (n == 0 || probe(p, n, true));
}

}  // namespace orvia::platform
