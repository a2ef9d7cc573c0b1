#include "db/bulk_load.h"

#include <cstring>

#include "base/bytes.h"
#include "db/index_header.h"
#include "db/segment_writer.h"
#include "platform/file.h"

namespace orvia::db {
namespace {

// Checks lengths and order before any file exists, so bad input leaves nothing behind.
bool recordsAreSound(DbCompareFn compare, const uint8_t* records, uint64_t recordBytes,
                     uint32_t count) {
  // Padded copies of two neighbours: the callback may read past a string area.
  char areas[2][kMaxStringAreaSize + kRecordPadding];
  uint64_t at = 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (recordBytes - at < kRecordHeaderSize) return false;
    uint32_t length = loadU32Le(records + at);
    if (length < kRecordHeaderSize || length > kMaxRecordSize || length > recordBytes - at)
      return false;
    char* current = areas[i % 2];
    std::memcpy(current, records + at + kRecordHeaderSize, length - kRecordHeaderSize);
    std::memset(current + length - kRecordHeaderSize, 0, kRecordPadding);
    if (i > 0 && (compare == nullptr || compare(areas[(i + 1) % 2], current) > 0)) return false;
    at += length;
  }
  return at == recordBytes;
}

bool writeFile(platform::File* file, const uint8_t* records, uint32_t count,
               const std::map<uint32_t, ContentName>& names) {
  SegmentWriter writer(file, kIndexPrefixSize);
  uint64_t at = 0;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t length = loadU32Le(records + at);
    if (!writer.add(loadU32Le(records + at + 4), loadU32Le(records + at + 8),
                    records + at + kRecordHeaderSize, length - kRecordHeaderSize))
      return false;
    at += length;
  }
  uint64_t segmentSize = 0;
  if (!writer.finish(names, &segmentSize) || !file->sync()) return false;
  IndexHeader header;
  header.generation = 1;
  header.placement = kSegmentInFile;
  header.segmentOffset = kIndexPrefixSize;
  header.segmentSize = segmentSize;
  header.logOffset = kIndexPrefixSize + segmentSize;
  uint8_t prefix[kIndexPrefixSize];
  encodeIndexPrefix(header, prefix);
  // The prefix goes last: until it is durable the file is not an index.
  return file->writeAt(0, prefix, sizeof prefix) && file->sync();
}

}  // namespace

bool bulkLoad(const std::string& path, DbCompareFn compare, const uint8_t* records,
              uint64_t recordBytes, uint32_t count, const std::map<uint32_t, ContentName>& names) {
  if (!recordsAreSound(compare, records, recordBytes, count)) return false;
  auto file = platform::openFile(path.c_str(), platform::FileMode::kCreateNew);
  if (!file) return false;
  if (writeFile(file.get(), records, count, names)) return true;
  file.reset();
  platform::removeFile(path.c_str());
  return false;
}

}  // namespace orvia::db
