// The store under a comparison that is no order: one that answers at random, and one
// whose three keys form a cycle (a < b < c < a, as a collation with a bound and a free
// long-vowel mark can). Every call must return without losing a record or touching
// memory outside the records, and dbVerify must report rather than fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "support/store_records.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

using namespace orvia::testing;

int ORVIADB_API randomCompare(const char*, const char*) {
  static std::mt19937 random(5);
  return int(random() % 3) - 1;
}

// "-ka" < "ka-long" < "ka--long" < "-ka", in Shift-JIS.
const std::vector<std::string> kCycle = {"\x2D\x82\xA9", "\x82\xA9\x81\x5B",
                                         "\x82\xA9\x2D\x81\x5B"};

int ORVIADB_API cycleCompare(const char* a, const char* b) {
  const auto i = std::find(kCycle.begin(), kCycle.end(), a) - kCycle.begin();
  const auto j = std::find(kCycle.begin(), kCycle.end(), b) - kCycle.begin();
  return i == j ? 0 : (i + 1) % 3 == j ? -1 : 1;
}

TEST(IntransitiveCompare, EveryCallReturnsAndNoRecordIsLost) {
  for (DbCompareFn compare : {randomCompare, cycleCompare}) {
    TempDir dir;
    const std::string path = dir.file("00000001.IDX"), loaded = dir.file("00000002.IDX");
    std::vector<std::string> keys;
    std::string records;
    std::vector<uint32_t> refs;
    for (uint32_t ref = 1; ref <= 300; ++ref) {
      keys.push_back(area(kCycle[ref % 3]));
      records += storedRecord({keys.back(), 0x01000001, ref}, 0);
      refs.push_back(ref);
    }
    ASSERT_EQ(dbCreate(path.c_str()), 1);
    DBHANDLE h = dbOpen(path.c_str(), compare);
    for (uint32_t ref : refs) ASSERT_TRUE(insertArea(h, keys[ref - 1], ref));
    std::vector<uint32_t> found;
    for (const std::string& r : useIndex(h, keys, kDbMaxRecordSize, false))
      found.push_back(refOf(r));
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, refs);
    ASSERT_EQ(dbClose(h), 1);
    char report[64] = "?";
    dbVerify(path.c_str(), compare, report, sizeof report);
    EXPECT_NE(std::memchr(report, '\0', sizeof report), nullptr);
    // In their insertion order the cycle's records pass the neighbour check; random
    // answers refuse them.
    DbContentName name{0x01000001, "00000001.DAT"};
    if (dbBulkLoad(loaded.c_str(), compare, records.data(), uint32_t(records.size()), 300, &name,
                   1) == 1) {
      h = dbOpen(loaded.c_str(), compare);
      useIndex(h, keys, 64, true);
      EXPECT_EQ(recordCount(h), 301u);
      ASSERT_EQ(dbClose(h), 1);
    }
  }
}

}  // namespace
}  // namespace orvia::db
