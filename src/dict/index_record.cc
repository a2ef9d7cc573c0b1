#include "dict/index_record.h"

#include <cstddef>

namespace orvia::dict {

bool parseIndexRecord(const uint8_t* record, uint32_t capacity, IndexRecordView* out) {
  if (record == nullptr || capacity < kIndexRecordHeaderSize) return false;
  uint32_t length = loadU32Le(record + kRecordLengthOffset);
  if (length <= kIndexRecordHeaderSize || length > capacity || length > kMaxIndexRecordSize)
    return false;
  ByteReader in(record + kSearchKeyOffset, record + length);
  const char* strings[3];
  size_t lengths[3];
  for (int i = 0; i < 3; ++i) {
    if (!in.readString(&strings[i], &lengths[i])) return false;
  }
  out->recordLength = length;
  out->contentDictId = loadU32Le(record + kContentDictIdOffset);
  out->contentRef = loadU32Le(record + kContentRefOffset);
  out->recordNumber = loadU32Le(record + kRecordNumberOffset);
  out->searchKey = strings[0];
  out->headword = strings[1];
  out->displayWord = strings[2];
  out->searchKeyLength = uint32_t(lengths[0]);
  out->headwordLength = uint32_t(lengths[1]);
  out->displayWordLength = uint32_t(lengths[2]);
  out->lastByte = record[length - 1];
  out->tail = in.position();
  out->tailLength = uint32_t(in.remaining());
  return true;
}

}  // namespace orvia::dict
