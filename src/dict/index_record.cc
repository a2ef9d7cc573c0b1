#include "dict/index_record.h"

#include <cstring>

namespace orvia::dict {

bool parseIndexRecord(const uint8_t* record, uint32_t capacity, IndexRecordView* out) {
  if (record == nullptr || capacity < kIndexRecordHeaderSize) return false;
  uint32_t length = loadU32Le(record + kRecordLengthOffset);
  if (length <= kIndexRecordHeaderSize || length > capacity || length > kMaxIndexRecordSize)
    return false;
  const char* strings[3];
  uint32_t lengths[3];
  uint32_t at = kSearchKeyOffset;
  for (int i = 0; i < 3; ++i) {
    const void* end = std::memchr(record + at, '\0', length - at);
    if (end == nullptr) return false;
    strings[i] = reinterpret_cast<const char*>(record + at);
    lengths[i] = uint32_t(static_cast<const uint8_t*>(end) - (record + at));
    at += lengths[i] + 1;
    if (at >= length && i < 2) return false;
  }
  out->recordLength = length;
  out->contentDictId = loadU32Le(record + kContentDictIdOffset);
  out->contentRef = loadU32Le(record + kContentRefOffset);
  out->recordNumber = loadU32Le(record + kRecordNumberOffset);
  out->searchKey = strings[0];
  out->headword = strings[1];
  out->displayWord = strings[2];
  out->searchKeyLength = lengths[0];
  out->headwordLength = lengths[1];
  out->displayWordLength = lengths[2];
  out->lastByte = record[length - 1];
  out->tail = record + at;
  out->tailLength = length - at;
  return true;
}

}  // namespace orvia::dict
