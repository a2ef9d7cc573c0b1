#include "update/copy_file_range.h"

#include "platform/platform.h"

namespace orvia::update {
namespace {

// The copy's buffer lives in a heap of its own, destroyed with it on every way out.
class CopyBuffer {
 public:
  CopyBuffer() : heap_(platform::createHeap(1024)) {
    if (heap_ != nullptr) data_ = platform::heapAlloc(heap_, kCopyChunkSize);
  }
  CopyBuffer(const CopyBuffer&) = delete;
  CopyBuffer& operator=(const CopyBuffer&) = delete;
  ~CopyBuffer() {
    if (heap_ == nullptr) return;
    if (data_ != nullptr) platform::heapFree(heap_, data_);
    platform::destroyHeap(heap_);
  }
  void* data() const { return data_; }

 private:
  platform::HeapHandle heap_ = nullptr;
  void* data_ = nullptr;
};

}  // namespace

uint32_t copyFileRange(content::FileHandle destination, content::FileHandle source, uint32_t offset,
                       uint32_t length) {
  if (destination == content::kInvalidFile || source == content::kInvalidFile) return 0;
  // In 64 bits, so that a range wrapping round 4 GiB cannot pass for a short one.
  if (uint64_t(offset) + length > content::currentFileSize(source)) return 0;
  CopyBuffer buffer;
  if (buffer.data() == nullptr) return 0;
  uint32_t chunk = kCopyChunkSize;
  for (uint32_t copied = 0; copied < length; copied += chunk) {
    if (length - copied < chunk) chunk = length - copied;
    if (content::readFileAt(source, offset + copied, chunk, buffer.data()) != chunk ||
        content::writeFileAt(destination, copied, chunk, buffer.data()) != chunk) {
      return 0;
    }
  }
  return content::truncateFileAt(destination, length);
}

}  // namespace orvia::update
