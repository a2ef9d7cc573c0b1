// Writes a segment (segment_format.h) into a file at a given offset, streaming the
// records through a buffer. The caller syncs the file.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "db/record_view.h"
#include "platform/file.h"

namespace orvia::db {

class SegmentWriter {
 public:
  // REQUIRES: file outlives the writer.
  SegmentWriter(platform::File* file, uint64_t offset);

  // REQUIRES: dataLength <= kMaxStringAreaSize. False on a write failure or when the
  // records area would outgrow its 32-bit offsets.
  bool add(uint32_t contentDictId, uint32_t contentRef, const uint8_t* data, uint32_t dataLength);
  // Writes the offset table, the names and the header; *size is the segment's size.
  bool finish(const std::map<uint32_t, ContentName>& names, uint64_t* size);

 private:
  bool put(const uint8_t* data, size_t size);
  bool flush();

  platform::File* file_;
  uint64_t offset_;
  uint64_t written_ = 0;  // bytes handed to put(), header excluded
  uint64_t recordsSize_ = 0;
  uint32_t recordsCrc_ = 0;
  std::vector<uint32_t> offsets_;
  std::vector<uint8_t> buffer_;
  size_t used_ = 0;
  bool recordsDone_ = false;
  bool failed_ = false;
};

}  // namespace orvia::db
