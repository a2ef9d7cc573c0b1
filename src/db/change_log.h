// Encoding and decoding of change log entries (change_log_format.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "db/change_log_format.h"

namespace orvia::db {

struct LogEntry {
  uint8_t kind = 0;
  uint32_t position = 0;
  uint32_t contentDictId = 0;
  uint32_t contentRef = 0;
  const uint8_t* contentName = nullptr;  // 16 bytes, inserts only
  const uint8_t* data = nullptr;
  uint32_t dataLength = 0;
};

std::string encodeInsertEntry(uint32_t generation, uint32_t position, uint32_t contentDictId,
                              uint32_t contentRef, const uint8_t* contentName, const uint8_t* data,
                              uint32_t dataLength);
std::string encodeDeleteEntry(uint32_t generation, uint32_t position);

enum class LogRead { kEntry, kEnd, kTornTail, kCorrupt };

// Decodes the entry at p. `available` bytes are readable at p and `remaining` bytes
// are left in the file from p; REQUIRES available >= min(remaining, kMaxLogEntrySize).
// atLogStart says whether p is the first entry. On kEntry sets *entry (pointing into p)
// and *size.
LogRead decodeLogEntry(const uint8_t* p, size_t available, uint64_t remaining, uint32_t generation,
                       bool atLogStart, LogEntry* entry, size_t* size);

}  // namespace orvia::db
