// The Win32 heaps themselves: the HeapHandle is the heap's HANDLE.
#include <windows.h>

#include <atomic>

#include "platform/platform.h"

namespace orvia::platform {
namespace {

HANDLE handleOf(HeapHandle heap) {
  return reinterpret_cast<HANDLE>(heap);
}

std::atomic<uint32_t> gFailCountdown{0};
std::atomic<bool> gFailHeapLookup{false};

// True when this allocation is the one a test asked to fail.
bool injectedFailure() {
  uint32_t current = gFailCountdown.load();
  while (current != 0) {
    if (gFailCountdown.compare_exchange_weak(current, current - 1)) return current == 1;
  }
  return false;
}

}  // namespace

void injectAllocationFailure(uint32_t nth) {
  gFailCountdown.store(nth);
}
void injectProcessHeapFailure(bool failHeapLookup) {
  gFailHeapLookup.store(failHeapLookup);
}

HeapHandle processHeap() {
  return gFailHeapLookup.load() ? nullptr : reinterpret_cast<HeapHandle>(GetProcessHeap());
}

HeapHandle createHeap(size_t initialSize) {
  if (injectedFailure()) return nullptr;
  return reinterpret_cast<HeapHandle>(HeapCreate(0, initialSize, 0));
}

bool destroyHeap(HeapHandle heap) {
  if (heap == nullptr || handleOf(heap) == GetProcessHeap()) return false;
  return HeapDestroy(handleOf(heap)) != 0;
}

void* heapAlloc(HeapHandle heap, size_t size) {
  if (heap == nullptr || injectedFailure()) return nullptr;
  return HeapAlloc(handleOf(heap), HEAP_ZERO_MEMORY, size == 0 ? 1 : size);
}

void* heapReAlloc(HeapHandle heap, void* block, size_t size) {
  if (heap == nullptr || block == nullptr || injectedFailure()) return nullptr;
  return HeapReAlloc(handleOf(heap), HEAP_ZERO_MEMORY, block, size == 0 ? 1 : size);
}

bool heapFree(HeapHandle heap, void* block) {
  return heap != nullptr && block != nullptr && HeapFree(handleOf(heap), 0, block) != 0;
}

}  // namespace orvia::platform
