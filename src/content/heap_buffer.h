// A block of the process heap freed on every way out of its scope.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace orvia::content {

class HeapBuffer {
 public:
  HeapBuffer() = default;
  HeapBuffer(const HeapBuffer&) = delete;
  HeapBuffer& operator=(const HeapBuffer&) = delete;
  ~HeapBuffer() { release(); }

  // Makes room for size bytes; the contents are not kept. False when allocation fails.
  bool reserve(uint32_t size) {
    if (data_ != nullptr && size <= size_) return true;
    release();
    data_ = static_cast<uint8_t*>(platform::heapAlloc(platform::processHeap(), size));
    size_ = data_ != nullptr ? size : 0;
    return data_ != nullptr;
  }
  uint8_t* data() const { return data_; }

 private:
  void release() {
    if (data_ != nullptr) platform::heapFree(platform::processHeap(), data_);
    data_ = nullptr;
    size_ = 0;
  }

  uint8_t* data_ = nullptr;
  uint32_t size_ = 0;
};

}  // namespace orvia::content
