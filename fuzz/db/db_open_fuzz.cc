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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = orvia::testing::makeTempDir("orviadb-fuzz") + "/00000001.IDX";
  std::remove(path.c_str());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), std::streamsize(size));
  // The last byte steers the calls; the whole input is the file and its first bytes a key.
  uint8_t steer = size > 0 ? data[size - 1] : 0;
  DBHANDLE h = dbOpen(path.c_str(), foldCompare);
  if (h != nullptr) {
    std::string key(reinterpret_cast<const char*>(data), std::min<size_t>(size, 40));
    orvia::testing::useIndex(h, {key.append(3, '\0')}, steer, true);
    std::string batch(steer * 8u, '\0');
    uint32_t batchSize = uint32_t(batch.size());
    dbSearch(h, 1, steer % 4, steer, &batchSize, batch.empty() ? nullptr : batch.data());
    dbClose(h);
  }
  char report[64];
  dbVerify(path.c_str(), foldCompare, report, steer % sizeof report);
  return 0;
}
