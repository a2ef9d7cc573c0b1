// A block of the process heap freed on every way out of its scope, unless taken.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace orvia {

class HeapBuffer {
 public:
  HeapBuffer() = default;
  // A block of size bytes; data() is null when allocation failed.
  explicit HeapBuffer(uint32_t size) { reserve(size); }
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
  char* text() const { return reinterpret_cast<char*>(data_); }
  uint32_t size() const { return size_; }

  // Hands the block over; the caller frees it on the process heap.
  uint8_t* take() {
    uint8_t* data = data_;
    data_ = nullptr;
    size_ = 0;
    return data;
  }

 private:
  void release() {
    if (data_ != nullptr) platform::heapFree(platform::processHeap(), data_);
    data_ = nullptr;
    size_ = 0;
  }

  uint8_t* data_ = nullptr;
  uint32_t size_ = 0;
};

}  // namespace orvia
