#include "platform/heap_failures.h"

#include <atomic>
#include <cstdint>

#include "platform/platform.h"

namespace orvia::platform {
namespace {

std::atomic<uint32_t> gFailCountdown{0};
std::atomic<bool> gFailHeapLookup{false};

}  // namespace

void injectAllocationFailure(uint32_t nth) {
  gFailCountdown.store(nth);
}
void injectProcessHeapFailure(bool failHeapLookup) {
  gFailHeapLookup.store(failHeapLookup);
}

bool allocationShouldFail() {
  uint32_t current = gFailCountdown.load();
  while (current != 0) {
    if (gFailCountdown.compare_exchange_weak(current, current - 1)) return current == 1;
  }
  return false;
}

bool processHeapLookupShouldFail() {
  return gFailHeapLookup.load();
}

}  // namespace orvia::platform
