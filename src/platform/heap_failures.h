// The allocation failures tests ask for, kept apart from either OS's heaps.
#pragma once

namespace orvia::platform {

// True when this heap creation or allocation is the one a test asked to fail.
bool allocationShouldFail();
// True while a test asks the process heap's lookup to fail.
bool processHeapLookupShouldFail();

}  // namespace orvia::platform
