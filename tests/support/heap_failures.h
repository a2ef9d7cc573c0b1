// Heap failures on purpose. Only for tests built with orvia_test(... HEAP_FAILURES),
// which link the heaps' fault-injecting build; the shipped heaps never fail on purpose.
#pragma once

#include <cstdint>

namespace orvia::testing {

// The Nth heap creation or allocation from now (1 = the next one) fails, in any heap.
// 0 turns injection off.
void injectAllocationFailure(uint32_t nth);
// True once the allocation asked for has failed (and injection is off again).
bool injectedAllocationFailed();
// While set, processHeap() gives null.
void injectProcessHeapFailure(bool failHeapLookup);

}  // namespace orvia::testing
