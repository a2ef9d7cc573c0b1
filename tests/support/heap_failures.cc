// The failure counters the heaps' fault-injecting build asks (platform/heap_failures.h).
#include "support/heap_failures.h"

#include <atomic>

#include "platform/heap_failures.h"

namespace orvia {
namespace {

std::atomic<uint32_t> gFailCountdown{0};
std::atomic<bool> gFailHeapLookup{false};

}  // namespace

void testing::injectAllocationFailure(uint32_t nth) {
  gFailCountdown.store(nth);
}

void testing::injectProcessHeapFailure(bool failHeapLookup) {
  gFailHeapLookup.store(failHeapLookup);
}

bool platform::allocationShouldFail() {
  uint32_t current = gFailCountdown.load();
  while (current != 0) {
    if (gFailCountdown.compare_exchange_weak(current, current - 1)) return current == 1;
  }
  return false;
}

bool platform::processHeapLookupShouldFail() {
  return gFailHeapLookup.load();
}

}  // namespace orvia
