// Heap failures on purpose, so that tests can reach every caller's clean-up path.
//
// The shipped heaps are compiled without them: the heaps' questions below are answered
// "no" at compile time, so those heaps hold no counters and make no calls for them. The
// heaps' second build, which only the fault-injection tests link, defines
// ORVIADIC_HEAP_FAILURES and asks the failure counters of tests/support/heap_failures.cc.
#pragma once

namespace orvia::platform {

#ifdef ORVIADIC_HEAP_FAILURES
inline constexpr bool kHeapFailures = true;
#else
inline constexpr bool kHeapFailures = false;
#endif

// Defined only where ORVIADIC_HEAP_FAILURES is: true when this heap creation or
// allocation is the one a test asked to fail, and while a test asks the process heap's
// lookup to fail.
bool allocationShouldFail();
bool processHeapLookupShouldFail();

// What the heaps ask; a constant no unless ORVIADIC_HEAP_FAILURES.
inline bool failThisAllocation() {
  if constexpr (kHeapFailures) return allocationShouldFail();
  return false;
}
inline bool failProcessHeapLookup() {
  if constexpr (kHeapFailures) return processHeapLookupShouldFail();
  return false;
}

}  // namespace orvia::platform
