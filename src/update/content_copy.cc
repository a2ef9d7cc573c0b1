#include "update/content_copy.h"

namespace orvia::update {

Status copyContentRecord(content::FileHandle from, uint32_t source, content::FileHandle to,
                         uint32_t* appendOffset, HeapBuffer* buffer) {
  uint32_t header = 0;
  if (!content::readU32At(from, source, &header)) return Status(Cause::kTruncated, source);
  const uint32_t length = header & 0xFFFFFF;
  if (length == 0) return Status(Cause::kDamaged, source);
  if (!buffer->reserve(length)) return Cause::kOutOfMemory;
  if (content::readFileAt(from, source, length, buffer->data()) != length)
    return Status(Cause::kTruncated, source);
  if (content::writeFileAt(to, *appendOffset, length, buffer->data()) != length)
    return Status(Cause::kWriteFailed, *appendOffset);
  *appendOffset += length;
  return Status();
}

}  // namespace orvia::update
