#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_set>

#include "platform/heap_failures.h"
#include "platform/platform.h"

// A private heap remembers its blocks so that destroying it frees them all. The process
// heap keeps no list: its blocks go straight to malloc.

namespace orvia::platform {

struct PlatformHeap {
  bool isProcessHeap = false;
  std::mutex mutex;
  std::unordered_set<void*> blocks;
};
namespace {

// Built on first use: the library's load step allocates before other static objects
// are constructed.
PlatformHeap& theProcessHeap() {
  static PlatformHeap heap{true, {}, {}};
  return heap;
}

}  // namespace

HeapHandle processHeap() {
  return failProcessHeapLookup() ? nullptr : &theProcessHeap();
}

HeapHandle createHeap(size_t) {
  if (failThisAllocation()) return nullptr;
  return new (std::nothrow) PlatformHeap();
}

bool destroyHeap(HeapHandle heap) {
  if (heap == nullptr || heap->isProcessHeap) return false;
  for (void* block : heap->blocks) std::free(block);
  delete heap;
  return true;
}

void* heapAlloc(HeapHandle heap, size_t size) {
  if (heap == nullptr || failThisAllocation()) return nullptr;
  void* block = std::calloc(1, size == 0 ? 1 : size);
  if (block == nullptr || heap->isProcessHeap) return block;
  std::lock_guard<std::mutex> lock(heap->mutex);
  heap->blocks.insert(block);
  return block;
}

void* heapReAlloc(HeapHandle heap, void* block, size_t size) {
  if (heap == nullptr || block == nullptr || failThisAllocation()) return nullptr;
  void* grown = std::realloc(block, size == 0 ? 1 : size);
  if (grown == nullptr || heap->isProcessHeap) return grown;
  std::lock_guard<std::mutex> lock(heap->mutex);
  heap->blocks.erase(block);
  heap->blocks.insert(grown);
  return grown;
}

bool heapFree(HeapHandle heap, void* block) {
  if (heap == nullptr || block == nullptr) return false;
  if (!heap->isProcessHeap) {
    std::lock_guard<std::mutex> lock(heap->mutex);
    if (heap->blocks.erase(block) == 0) return false;
  }
  std::free(block);
  return true;
}

}  // namespace orvia::platform
