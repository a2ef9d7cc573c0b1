#include "dict/index_record.h"

#include <cstring>

namespace orvia::dict {

bool parseIndexRecord(const uint8_t* record, uint32_t capacity, IndexRecordView* out) {
  if (record == nullptr || capacity < kIndexRecordHeaderSize) return false;
  uint32_t length = loadU32(record + kRecordLengthOffset);
  if (length <= kIndexRecordHeaderSize || length > capacity || length > kMaxIndexRecordSize)
    return false;
  const char* strings[3];
  uint32_t at = kSearchKeyOffset;
  for (const char*& s : strings) {
    const void* end = std::memchr(record + at, '\0', length - at);
    if (end == nullptr) return false;
    s = reinterpret_cast<const char*>(record + at);
    at = uint32_t(static_cast<const uint8_t*>(end) - record) + 1;
    if (at >= length && &s != &strings[2]) return false;
  }
  out->recordLength = length;
  out->contentDictId = loadU32(record + kContentDictIdOffset);
  out->contentRef = loadU32(record + kContentRefOffset);
  out->recordNumber = loadU32(record + kRecordNumberOffset);
  out->searchKey = strings[0];
  out->headword = strings[1];
  out->displayWord = strings[2];
  out->lastByte = record[length - 1];
  return true;
}

}  // namespace orvia::dict
