// The failure counters the heaps' fault-injecting build asks (platform/heap_failures.h).
#include "support/heap_failures.h"

#include <atomic>

#include "platform/heap_failures.h"

namespace orvia {

static std::atomic<uint32_t> gFailCountdown{0};
static std::atomic<bool> gFailHeapLookup{false};

void testing::injectAllocationFailure(uint32_t nth) {
  gFailCountdown.store(nth);
}

bool testing::injectedAllocationFailed() {
  return gFailCountdown.load() == 0;
}

void testing::injectProcessHeapFailure(bool failHeapLookup) {
  gFailHeapLookup.store(failHeapLookup);
}

// Counts down to the failing allocation, and stays at zero after it.
bool platform::allocationShouldFail() {
  uint32_t current = gFailCountdown.load();
  while (current != 0 && !gFailCountdown.compare_exchange_weak(current, current - 1)) continue;
  return current == 1;
}

bool platform::processHeapLookupShouldFail() {
  return gFailHeapLookup.load();
}

}  // namespace orvia
