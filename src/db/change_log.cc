#include "db/change_log.h"

#include "base/bytes.h"
#include "db/crc32c.h"

namespace orvia::db {
namespace {

std::string encodeEntry(uint8_t kind, uint32_t generation, uint32_t position, size_t size) {
  std::string entry(size, '\0');
  auto* p = reinterpret_cast<uint8_t*>(entry.data());
  storeU32Le(p, uint32_t(size));
  p[4] = kind;
  storeU32Le(p + 8, generation);
  storeU32Le(p + 12, crc32c(p, kLogHeaderCrcOffset));
  storeU32Le(p + 16, position);
  return entry;
}

bool allZero(const uint8_t* p, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    if (p[i] != 0) return false;
  }
  return true;
}

void sealEntry(std::string* entry) {
  auto* p = reinterpret_cast<uint8_t*>(entry->data());
  size_t n = entry->size();
  storeU32Le(p + n - 4, crc32c(p, n - 4));
}

}  // namespace

std::string encodeInsertEntry(uint32_t generation, uint32_t position, uint32_t contentDictId,
                              uint32_t contentRef, const uint8_t* contentName, const uint8_t* data,
                              uint32_t dataLength) {
  std::string entry =
      encodeEntry(kLogInsert, generation, position, kInsertEntryFixedSize + dataLength);
  auto* p = reinterpret_cast<uint8_t*>(entry.data());
  storeU32Le(p + 20, contentDictId);
  storeU32Le(p + 24, contentRef);
  for (size_t i = 0; i < kContentNameSize; ++i) p[28 + i] = contentName[i];
  for (uint32_t i = 0; i < dataLength; ++i) p[44 + i] = data[i];
  sealEntry(&entry);
  return entry;
}

std::string encodeDeleteEntry(uint32_t generation, uint32_t position) {
  std::string entry = encodeEntry(kLogDelete, generation, position, kDeleteEntrySize);
  sealEntry(&entry);
  return entry;
}

LogRead decodeLogEntry(const uint8_t* p, size_t available, uint64_t remaining, uint32_t generation,
                       bool atLogStart, LogEntry* entry, size_t* size) {
  if (remaining == 0) return LogRead::kEnd;
  if (remaining < kLogEntryHeaderSize) return LogRead::kTornTail;
  if (loadU32Le(p + 12) != crc32c(p, kLogHeaderCrcOffset)) {
    // A file extended by an append whose bytes never reached the disk reads as zeros;
    // any other bad header may be a damaged entry with more behind it.
    return allZero(p, available) && available == remaining ? LogRead::kTornTail : LogRead::kCorrupt;
  }
  uint32_t n = loadU32Le(p);
  uint8_t kind = p[4];
  if ((p[5] | p[6] | p[7]) != 0) return LogRead::kCorrupt;
  bool sizeFits = kind == kLogDelete   ? n == kDeleteEntrySize
                  : kind == kLogInsert ? n >= kInsertEntryFixedSize && n <= kMaxLogEntrySize
                                       : false;
  if (!sizeFits) return LogRead::kCorrupt;
  if (loadU32Le(p + 8) != generation) {
    // Only a compaction that stopped before cutting the log leaves such entries, and
    // it leaves them right at the log offset.
    return atLogStart ? LogRead::kEnd : LogRead::kCorrupt;
  }
  if (remaining < n) return LogRead::kTornTail;
  if (available < n) return LogRead::kCorrupt;  // the caller broke its promise
  if (loadU32Le(p + n - 4) != crc32c(p, n - 4)) {
    return remaining == n ? LogRead::kTornTail : LogRead::kCorrupt;
  }
  LogEntry e;
  e.kind = kind;
  e.position = loadU32Le(p + 16);
  if (kind == kLogInsert) {
    e.contentDictId = loadU32Le(p + 20);
    e.contentRef = loadU32Le(p + 24);
    e.contentName = p + 28;
    e.data = p + 44;
    e.dataLength = n - uint32_t(kInsertEntryFixedSize);
  }
  *entry = e;
  *size = n;
  return LogRead::kEntry;
}

}  // namespace orvia::db
