// Property: any bytes opened as an index, then walked, sought, read in batches, written
// to and verified, never make the store read or write out of bounds, loop or crash.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "support/store_records.h"
#include "support/temp_dir.h"

using orvia::testing::foldCompare;

static const std::string& indexPath() {
  static const std::string path = orvia::testing::makeTempDir("orviadb-fuzz") + "/00000001.IDX";
  return path;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = indexPath();
  std::remove(path.c_str());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), std::streamsize(size));
  // The last bytes steer the calls; the whole input is the file.
  uint8_t steer = size > 0 ? data[size - 1] : 0;
  DBHANDLE h = dbOpen(path.c_str(), foldCompare);
  if (h != nullptr) {
    uint32_t count = 0;
    dbGetInfo(h, kDbInfoRecordCount, &count);
    char record[kDbMaxRecordSize];
    dbGoto(h, 0);
    for (uint32_t steps = 0; steps <= count; ++steps) {
      uint32_t capacity = steps % 2 ? sizeof record : steer;
      dbGetRecord(h, &capacity, record);
      if (dbNext(h) == 0) break;
    }
    std::string key(reinterpret_cast<const char*>(data), std::min<size_t>(size, 40));
    key.append(3, '\0');
    dbSeek(h, key.c_str());
    dbPrev(h);
    std::string batch(steer * 8u, '\0');
    uint32_t batchSize = uint32_t(batch.size());
    dbSearch(h, 1, steer % 4, steer, &batchSize, batch.empty() ? nullptr : batch.data());
    static const char kName[kDbContentNameSize] = "01000001.DAT";
    DbInsertDescriptor d{kName, 0x01000001, steer, uint32_t(key.size()), key.data()};
    dbInsert(h, &d);
    dbSeek(h, key.c_str());
    uint32_t capacity = sizeof record;
    dbGetRecord(h, &capacity, record);
    dbClose(h);
  }
  char report[64];
  dbVerify(path.c_str(), foldCompare, report, steer % sizeof report);
  return 0;
}
