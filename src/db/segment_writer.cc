#include "db/segment_writer.h"

#include <cstring>

#include "base/bytes.h"
#include "db/crc32c.h"

namespace orvia::db {
namespace {

constexpr size_t kBufferSize = 1 << 20;

}  // namespace

SegmentWriter::SegmentWriter(platform::File* file, uint64_t offset) : file_(file), offset_(offset) {
  buffer_.resize(kBufferSize);
  offsets_.push_back(0);
}

bool SegmentWriter::put(const uint8_t* data, size_t size) {
  if (used_ + size > kBufferSize && !flush()) return false;
  std::memcpy(buffer_.data() + used_, data, size);
  used_ += size;
  return true;
}

bool SegmentWriter::flush() {
  if (used_ == 0) return !failed_;
  // Until finish() starts the table, the buffer holds only records: checksumming it
  // here, in large pieces, is much cheaper than three small pieces per record.
  if (!recordsDone_) recordsCrc_ = crc32c(buffer_.data(), used_, recordsCrc_);
  if (!failed_ && !file_->writeAt(offset_ + kSegmentHeaderSize + written_, buffer_.data(), used_))
    failed_ = true;
  written_ += used_;
  used_ = 0;
  return !failed_;
}

bool SegmentWriter::add(uint32_t contentDictId, uint32_t contentRef, const uint8_t* data,
                        uint32_t dataLength) {
  if (failed_ || dataLength > kMaxStringAreaSize) return false;
  uint32_t length = kRecordHeaderSize + dataLength;
  uint64_t slot = length + kRecordPadding;
  if (recordsSize_ + slot > kMaxRecordsAreaSize) return false;
  uint8_t head[kRecordHeaderSize] = {};
  storeU32Le(head, length);
  storeU32Le(head + 4, contentDictId);
  storeU32Le(head + 8, contentRef);
  static const uint8_t kZeros[kRecordPadding] = {};
  if (!put(head, sizeof head) || !put(data, dataLength) || !put(kZeros, kRecordPadding))
    return false;
  recordsSize_ += slot;
  offsets_.push_back(uint32_t(recordsSize_));
  return true;
}

bool SegmentWriter::finish(const std::map<uint32_t, ContentName>& names, uint64_t* size) {
  if (failed_ || !flush()) return false;
  recordsDone_ = true;
  uint32_t tableCrc = 0;
  for (uint32_t offset : offsets_) {
    uint8_t bytes[4];
    storeU32Le(bytes, offset);
    tableCrc = crc32c(bytes, 4, tableCrc);
    if (!put(bytes, 4)) return false;
  }
  uint32_t namesCrc = 0;
  for (const auto& [id, name] : names) {
    uint8_t entry[kNameEntrySize];
    storeU32Le(entry, id);
    std::memcpy(entry + 4, name.data(), kContentNameSize);
    namesCrc = crc32c(entry, sizeof entry, namesCrc);
    if (!put(entry, sizeof entry)) return false;
  }
  if (!flush()) return false;
  uint8_t header[kSegmentHeaderSize] = {};
  std::memcpy(header, kSegmentMagic, sizeof kSegmentMagic);
  storeU32Le(header + 8, uint32_t(offsets_.size() - 1));
  storeU32Le(header + 12, uint32_t(names.size()));
  storeU64Le(header + 16, recordsSize_);
  storeU32Le(header + 24, recordsCrc_);
  storeU32Le(header + 28, tableCrc);
  storeU32Le(header + 32, namesCrc);
  storeU32Le(header + 60, crc32c(header, kSegmentHeaderCrcOffset));
  if (!file_->writeAt(offset_, header, sizeof header)) return false;
  *size = kSegmentHeaderSize + written_;
  return true;
}

}  // namespace orvia::db
