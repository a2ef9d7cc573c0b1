// The store under a comparison that is no order: one that answers at random, and one
// whose three keys form a cycle (a < b < c < a, as a collation with a bound and a free
// long-vowel mark can). Every call must return without losing a record or touching
// memory outside the records, and dbVerify must report rather than fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/store_records.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

using namespace orvia::testing;

std::mt19937& answers() {
  static std::mt19937 random(5);
  return random;
}

int ORVIADB_API randomCompare(const char*, const char*) {
  return int(answers()() % 3) - 1;
}

// "-ka" < "ka-long" < "ka--long" < "-ka" in the Shift-JIS bytes of the keys.
const char* const kCycle[] = {"\x2D\x82\xA9", "\x82\xA9\x81\x5B", "\x82\xA9\x2D\x81\x5B"};

int ORVIADB_API cycleCompare(const char* a, const char* b) {
  auto place = [](const char* s) {
    return int(std::find_if(kCycle, kCycle + 3, [s](const char* k) { return !std::strcmp(s, k); }) -
               kCycle);
  };
  const int i = place(a), j = place(b);
  return i == j ? 0 : (i + 1) % 3 == j ? -1 : 1;
}

struct Comparator {
  const char* name;
  DbCompareFn compare;
  std::vector<std::string> keys;
};

const Comparator kComparators[] = {
    {"random", randomCompare, {"a", "b", "c", "d", "e", "f", "g"}},
    {"cycle", cycleCompare, {kCycle[0], kCycle[1], kCycle[2]}},
};

std::vector<uint32_t> refsOf(const std::vector<std::string>& records) {
  std::vector<uint32_t> refs;
  for (const std::string& r : records) refs.push_back(refOf(r));
  std::sort(refs.begin(), refs.end());
  return refs;
}

TEST(IntransitiveCompare, InsertSeekSearchAndVerifyReturn) {
  for (const Comparator& c : kComparators) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string path = dir.file("00000001.IDX");
    ASSERT_EQ(dbCreate(path.c_str()), 1);
    DBHANDLE h = dbOpen(path.c_str(), c.compare);
    ASSERT_NE(h, nullptr);
    std::vector<uint32_t> inserted;
    for (uint32_t ref = 1; ref <= 300; ++ref) {
      ASSERT_TRUE(insertArea(h, area(c.keys[ref % c.keys.size()]), ref));
      inserted.push_back(ref);
    }
    std::vector<std::string> keys;
    for (const std::string& key : c.keys) keys.push_back(area(key));
    EXPECT_EQ(refsOf(useIndex(h, keys, kDbMaxRecordSize, false)), inserted) << "no record lost";
    ASSERT_EQ(dbClose(h), 1);
    h = dbOpen(path.c_str(), c.compare);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(refsOf(allRecords(h)), inserted) << "after reopening";
    ASSERT_EQ(dbClose(h), 1);
    char report[64];
    std::memset(report, '?', sizeof report);
    dbVerify(path.c_str(), c.compare, report, sizeof report);
    EXPECT_NE(std::memchr(report, '\0', sizeof report), nullptr) << "report terminated";
  }
}

TEST(IntransitiveCompare, BulkLoadReturns) {
  for (const Comparator& c : kComparators) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string path = dir.file("00000001.IDX");
    std::string records;
    for (uint32_t i = 0; i < 200; ++i)
      records += storedRecord({area(c.keys[i % c.keys.size()]), 0x01000001, i}, 0);
    DbContentName name{0x01000001, "00000001.DAT"};
    if (dbBulkLoad(path.c_str(), c.compare, records.data(), uint32_t(records.size()), 200, &name,
                   1) == 0)
      continue;  // refused as out of order: nothing more to see
    DBHANDLE h = dbOpen(path.c_str(), c.compare);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(recordCount(h), 200u);
    useIndex(h, {area(c.keys[0])}, 64, true);
    ASSERT_EQ(dbClose(h), 1);
  }
}

}  // namespace
}  // namespace orvia::db
