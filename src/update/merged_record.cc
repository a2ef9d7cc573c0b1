#include "update/merged_record.h"

#include <cstring>

namespace orvia::update {
namespace {

constexpr uint32_t kLevelMask = 0xFF000000;

}  // namespace

Status sourceOffsetOf(const dict::IndexRecordView& record, uint32_t* out) {
  const uint32_t locator = record.contentRef & dict::kExtendedLocator;
  if (locator != dict::kExtendedLocator) {
    *out = locator;
    return Status();
  }
  return record.extendedRef(out) ? Status() : Status(Cause::kDamaged, record.recordLength);
}

MergedLocator locatorAtOffset(uint32_t levelBits, uint32_t offset) {
  const uint32_t level = levelBits & kLevelMask;
  if (offset >= dict::kExtendedLocator) return {level | dict::kExtendedLocator, true, offset};
  return {level | offset, false, 0};
}

Status locatorFromShared(uint32_t levelBits, const dict::IndexRecordView& shared,
                         MergedLocator* out) {
  if ((shared.contentRef & dict::kExtendedLocator) != dict::kExtendedLocator) {
    *out = {(levelBits & kLevelMask) | shared.contentRef, false, 0};
    return Status();
  }
  uint32_t offset = 0;
  if (!shared.extendedRef(&offset)) return Status(Cause::kDamaged, shared.recordLength);
  *out = locatorAtOffset(levelBits, offset);
  return Status();
}

Status makeMergedRecord(uint8_t* block, const dict::IndexRecordView& view,
                        const MergedLocator& locator, uint32_t* areaLength) {
  uint32_t length = view.recordLength;
  if (locator.extended) {
    if (length > dict::kMaxIndexRecordSize - 4) return Status(Cause::kNoRoom, length);
    const uint32_t at = uint32_t(view.tail - block);
    std::memmove(block + at + 4, block + at, length - at);
    storeU32Le(block + at, locator.extendedRef);
    length += 4;
    storeU32Le(block + dict::kRecordLengthOffset, length);
  }
  storeU32Le(block + dict::kContentRefOffset, locator.contentRef);
  *areaLength = length - dict::kIndexRecordHeaderSize;
  return Status();
}

}  // namespace orvia::update
