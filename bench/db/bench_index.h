// The indexes the record store's benchmarks measure: record i has a five-letter key
// counting in base 26, so keys come out in order, and a headword of varying length.
#pragma once

#include <cstdint>
#include <string>

#include "base/bytes.h"
#include "orviadb.h"
#include "support/store_records.h"

namespace orvia::bench {

inline std::string keyOf(uint32_t i) {
  char letters[5];
  for (int k = 4; k >= 0; --k, i /= 26) letters[k] = char('a' + i % 26);
  return std::string(letters, 5);
}

inline std::string areaOf(uint32_t i) {
  return orvia::testing::area(keyOf(i), std::string(i % 7, 'h'));
}

// Records 0 to count - 1 back to back in the dbSearch layout; *bytes is their size.
inline std::string recordsFor(uint32_t count, uint64_t* bytes) {
  std::string records;
  for (uint32_t i = 0; i < count; ++i) {
    std::string data = areaOf(i);
    std::string head(16, '\0');
    auto* p = reinterpret_cast<uint8_t*>(head.data());
    storeU32Le(p, uint32_t(16 + data.size()));
    storeU32Le(p + 4, 0x01000001);
    storeU32Le(p + 8, i);
    records += head;
    records += data;
  }
  *bytes = records.size();
  return records;
}

// Bulk loads records 0 to count - 1 into path.
inline bool bulkLoadIndex(const std::string& path, uint32_t count) {
  uint64_t bytes = 0;
  std::string records = recordsFor(count, &bytes);
  DbContentName name{0x01000001, "01000001.DAT"};
  return dbBulkLoad(path.c_str(), orvia::testing::foldCompare, records.data(), uint32_t(bytes),
                    count, &name, 1) == 1;
}

}  // namespace orvia::bench
