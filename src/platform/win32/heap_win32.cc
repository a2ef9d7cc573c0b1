// The Win32 heaps themselves: the HeapHandle is the heap's HANDLE.
#include <windows.h>

#include "platform/heap_failures.h"
#include "platform/platform.h"

namespace orvia::platform {
namespace {

HANDLE handleOf(HeapHandle heap) {
  return reinterpret_cast<HANDLE>(heap);
}

}  // namespace

HeapHandle processHeap() {
  return failProcessHeapLookup() ? nullptr : reinterpret_cast<HeapHandle>(GetProcessHeap());
}

HeapHandle createHeap(size_t initialSize) {
  if (failThisAllocation()) return nullptr;
  return reinterpret_cast<HeapHandle>(HeapCreate(0, initialSize, 0));
}

bool destroyHeap(HeapHandle heap) {
  if (heap == nullptr || handleOf(heap) == GetProcessHeap()) return false;
  return HeapDestroy(handleOf(heap)) != 0;
}

void* heapAlloc(HeapHandle heap, size_t size) {
  if (heap == nullptr || failThisAllocation()) return nullptr;
  return HeapAlloc(handleOf(heap), HEAP_ZERO_MEMORY, size == 0 ? 1 : size);
}

void* heapReAlloc(HeapHandle heap, void* block, size_t size) {
  if (heap == nullptr || block == nullptr || failThisAllocation()) return nullptr;
  return HeapReAlloc(handleOf(heap), HEAP_ZERO_MEMORY, block, size == 0 ? 1 : size);
}

bool heapFree(HeapHandle heap, void* block) {
  return heap != nullptr && block != nullptr && HeapFree(handleOf(heap), 0, block) != 0;
}

}  // namespace orvia::platform
