// A private heap made for one call; destroying it frees every block taken from it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

namespace orvia::edit {

class PrivateHeap {
 public:
  explicit PrivateHeap(size_t initialSize) : heap_(platform::createHeap(initialSize)) {}
  ~PrivateHeap() {
    if (heap_ != nullptr) platform::destroyHeap(heap_);
  }
  PrivateHeap(const PrivateHeap&) = delete;
  PrivateHeap& operator=(const PrivateHeap&) = delete;

  // A zero-filled block; null when the heap could not be made or the block not had.
  uint8_t* allocate(size_t size) {
    return heap_ != nullptr ? static_cast<uint8_t*>(platform::heapAlloc(heap_, size)) : nullptr;
  }

 private:
  platform::HeapHandle heap_;
};

}  // namespace orvia::edit
