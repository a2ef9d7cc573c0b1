#include "dict/index_record.h"

#include <cstddef>
#include <cstring>

namespace orvia::dict {
namespace {

// The next string of the record; one without a terminator is the rest of the record.
// True when it ran to the end.
bool nextString(ByteReader* in, const char** s, size_t* length) {
  if (in->readString(s, length)) return false;
  *s = reinterpret_cast<const char*>(in->position());
  *length = in->remaining();
  *in = ByteReader(in->position() + *length, in->position() + *length);
  return true;
}

}  // namespace

bool parseIndexRecord(const uint8_t* record, uint32_t capacity, IndexRecordView* out) {
  if (record == nullptr || capacity < kIndexRecordHeaderSize) return false;
  uint32_t length = loadU32Le(record + kRecordLengthOffset);
  if (length < kIndexRecordHeaderSize || length > capacity || length > kMaxIndexRecordSize)
    return false;
  ByteReader in(record + kSearchKeyOffset, record + length);
  const char* strings[3];
  size_t lengths[3];
  bool runsToEnd = false;
  for (int i = 0; i < 3; ++i) runsToEnd = nextString(&in, &strings[i], &lengths[i]) || runsToEnd;
  // Strings are handed on as C strings: the one that reached the end needs the zero
  // that the reader of the record put behind it.
  if (runsToEnd && (length == capacity || record[length] != 0)) return false;
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

bool viewIndexRecord(const uint8_t* bytes, uint32_t size, uint8_t* block, IndexRecordView* out) {
  // Records of this library's writers end every string inside themselves; only the others
  // pay for the copy.
  if (parseIndexRecord(bytes, size, out)) return true;
  if (size < kIndexRecordHeaderSize) return false;
  uint32_t length = loadU32Le(bytes + kRecordLengthOffset);
  if (length > size || length > kMaxIndexRecordSize) return false;
  std::memcpy(block, bytes, length);
  block[length] = 0;
  return parseIndexRecord(block, kRecordBlockSize, out);
}

}  // namespace orvia::dict
