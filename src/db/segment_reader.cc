#include "db/segment_reader.h"

#include <cstring>

#include "base/bytes.h"
#include "db/crc32c.h"

namespace orvia::db {

bool SegmentReader::open(const platform::FileMapping& map, uint64_t offset, uint64_t size,
                         SegmentReader* out) {
  if (size < kSegmentHeaderSize || !map.fetch(offset, kSegmentHeaderSize)) return false;
  const uint8_t* bytes = map.data() + offset;
  if (std::memcmp(bytes, kSegmentMagic, sizeof kSegmentMagic) != 0) return false;
  if (loadU32Le(bytes + 60) != crc32c(bytes, kSegmentHeaderCrcOffset)) return false;
  SegmentReader r;
  r.count_ = loadU32Le(bytes + 8);
  r.nameCount_ = loadU32Le(bytes + 12);
  r.recordsSize_ = loadU64Le(bytes + 16);
  if (r.recordsSize_ > kMaxRecordsAreaSize) return false;
  // Every record takes at least its header and padding.
  if (uint64_t(r.count_) * (kRecordHeaderSize + kRecordPadding) > r.recordsSize_) return false;
  uint64_t expected = kSegmentHeaderSize + r.recordsSize_ + 4 * (uint64_t(r.count_) + 1) +
                      uint64_t(r.nameCount_) * kNameEntrySize;
  if (expected != size) return false;
  r.map_ = &map;
  r.mapOffset_ = offset;
  r.size_ = size;
  r.bytes_ = bytes;
  r.records_ = bytes + kSegmentHeaderSize;
  r.table_ = r.records_ + r.recordsSize_;
  r.names_ = r.table_ + 4 * (uint64_t(r.count_) + 1);
  // Names are few and looked up by every content read: fetched once here.
  if (!r.fetch(r.names_, r.nameTableSize())) return false;
  *out = r;
  return true;
}

bool SegmentReader::fetchAll() const {
  return map_->fetch(mapOffset_, size_);
}

bool SegmentReader::recordAt(uint32_t n, RecordView* out) const {
  if (!fetch(table_ + 4 * uint64_t(n), 8)) return false;
  uint32_t begin = loadU32Le(table_ + 4 * uint64_t(n));
  uint32_t end = loadU32Le(table_ + 4 * uint64_t(n) + 4);
  // The slot must lie inside the area and hold a whole record and its padding.
  if (end > recordsSize_ || begin >= end) return false;
  uint32_t slot = end - begin;
  if (slot < kRecordHeaderSize + kRecordPadding || slot > kMaxRecordSize + kRecordPadding)
    return false;
  const uint8_t* p = records_ + begin;
  if (!fetch(p, slot)) return false;
  uint32_t length = loadU32Le(p);
  if (length != slot - kRecordPadding) return false;
  if ((p[length] | p[length + 1] | p[length + 2] | p[length + 3]) != 0) return false;
  out->bytes = p;
  out->length = length;
  return true;
}

uint64_t SegmentReader::recordOffset(uint32_t n) const {
  return kSegmentHeaderSize + loadU32Le(table_ + 4 * uint64_t(n));
}

uint32_t SegmentReader::nameIdAt(uint32_t i) const {
  return loadU32Le(names_ + uint64_t(i) * kNameEntrySize);
}

const uint8_t* SegmentReader::nameAt(uint32_t i) const {
  return names_ + uint64_t(i) * kNameEntrySize + 4;
}

const uint8_t* SegmentReader::contentName(uint32_t id) const {
  // Ids ascend in a sound table; in a damaged one the search merely misses.
  uint32_t lo = 0, hi = nameCount_;
  while (lo < hi) {
    uint32_t mid = lo + (hi - lo) / 2;
    uint32_t at = nameIdAt(mid);
    if (at == id) return nameAt(mid);
    if (at < id) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return nullptr;
}

}  // namespace orvia::db
