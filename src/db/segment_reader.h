// Read access to a segment's bytes (segment_format.h). Holds no memory of its own: the
// bytes belong to a mapping that must outlive the reader, and each access fetches the
// bytes it reads, so that opening reads no more than the header and the name table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "db/record_view.h"
#include "platform/file.h"

namespace orvia::db {

class SegmentReader {
 public:
  SegmentReader() = default;

  // The segment at offset in map. Checks the header and that the parts add up to size;
  // reads only the header and the name table.
  static bool open(const platform::FileMapping& map, uint64_t offset, uint64_t size,
                   SegmentReader* out);

  uint32_t count() const { return count_; }
  uint32_t nameCount() const { return nameCount_; }
  // REQUIRES: n < count(). False when the record's bytes are damaged or cannot be read.
  bool recordAt(uint32_t n, RecordView* out) const;
  // Offset of record n from the segment's start, for reports. REQUIRES: n < count().
  uint64_t recordOffset(uint32_t n) const;
  // The content file name kept for id, or null.
  const uint8_t* contentName(uint32_t id) const;
  // REQUIRES: i < nameCount().
  uint32_t nameIdAt(uint32_t i) const;
  const uint8_t* nameAt(uint32_t i) const;

  // Reads the whole segment; false when it cannot be read.
  bool fetchAll() const;
  // The checksummed regions, for verify. REQUIRES: fetchAll() succeeded.
  const uint8_t* header() const { return bytes_; }
  const uint8_t* records() const { return records_; }
  uint64_t recordsSize() const { return recordsSize_; }
  const uint8_t* offsetTable() const { return table_; }
  uint64_t offsetTableSize() const { return 4 * (uint64_t(count_) + 1); }
  const uint8_t* nameTable() const { return names_; }
  uint64_t nameTableSize() const { return uint64_t(nameCount_) * kNameEntrySize; }
  uint64_t offsetTableOffset() const { return uint64_t(table_ - bytes_); }

 private:
  // Fetches size bytes at p, a pointer into the segment.
  bool fetch(const uint8_t* p, uint64_t size) const {
    return map_->fetch(mapOffset_ + uint64_t(p - bytes_), size);
  }

  const platform::FileMapping* map_ = nullptr;
  uint64_t mapOffset_ = 0;
  uint64_t size_ = 0;
  const uint8_t* bytes_ = nullptr;
  const uint8_t* records_ = nullptr;
  const uint8_t* table_ = nullptr;
  const uint8_t* names_ = nullptr;
  uint64_t recordsSize_ = 0;
  uint32_t count_ = 0;
  uint32_t nameCount_ = 0;
};

}  // namespace orvia::db
