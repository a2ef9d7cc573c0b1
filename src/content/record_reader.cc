#include "content/record_reader.h"

#include <cstring>

#include "base/bytes.h"
#include "content/content_format.h"

namespace orvia::content {
namespace {

// How much the first read of a record takes: most records whole, in one read.
constexpr uint32_t kFirstReadSize = 4096;

}  // namespace

// Asking the file's size for every record would cost a call to the system each; instead
// the first read takes the header and, mostly, the whole record, and a length that runs
// past the end of the file shows as a short read before anything is allocated for it.
Status readRecordAt(FileHandle file, uint32_t offset, HeapBuffer& buffer) {
  uint8_t first[kFirstReadSize];
  uint32_t got = readFileAt(file, offset, kFirstReadSize, first);
  if (got < kRecordHeaderSize) return Status(Cause::kTruncated, offset);
  const uint32_t length = recordLength(loadU32Le(first));
  if (length <= kRecordHeaderSize) return Status(Cause::kDamaged, offset);
  if (length > got && got < kFirstReadSize) return Status(Cause::kTruncated, offset);
  if (!buffer.reserve(length)) return Status(Cause::kOutOfMemory);
  const uint32_t head = length < got ? length : got;
  std::memcpy(buffer.data(), first, head);
  if (head == length ||
      readFileAt(file, offset + head, length - head, buffer.data() + head) == length - head)
    return Status();
  return Status(Cause::kTruncated, offset);
}

}  // namespace orvia::content
