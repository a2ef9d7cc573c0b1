// Thousands of random operations on one index, each checked against a sorted vector
// with the same comparison: inserts, deletes, seeks, gotos, steps, batch reads,
// compactions and reopenings. And the store under a comparison that is no order: one
// that answers at random, and one whose three keys form a cycle (a < b < c < a, as a
// collation with a bound and a free long-vowel mark can): every call must return without
// losing a record or touching memory outside the records, and dbVerify must report
// rather than fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "lang/single_byte.h"
#include "store_model.h"

namespace orvia::db {
namespace {

using namespace orvia::testing;

struct ModelCase {
  const char* name;
  DbCompareFn compare;
  uint64_t compactMinLogBytes;  // small values compact every few dozen writes
  uint32_t seed;
};

class ModelTest : public ::testing::TestWithParam<ModelCase> {};

TEST_P(ModelTest, RandomOperationsMatchTheSortedVector) {
  TempDir dir;
  const std::string path = dir.file("00000001.IDX");
  ASSERT_EQ(dbCreate(path.c_str()), 1);
  OpenOptions options;
  options.compactMinLogBytes = GetParam().compactMinLogBytes;
  StoreModel model(GetParam().compare);
  ASSERT_NO_FATAL_FAILURE(model.open(path, options));
  std::mt19937 rng(GetParam().seed);
  for (int step = 0; step < 4000; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    ASSERT_NO_FATAL_FAILURE(model.step(rng));
  }
  ASSERT_NO_FATAL_FAILURE(model.open(path, options));  // a close makes the writes durable
  DBHANDLE h = dbOpen(path.c_str(), GetParam().compare);
  EXPECT_EQ(allRecords(h), model.records()) << "read back by another handle";
  EXPECT_EQ(dbClose(h), 1);
  EXPECT_EQ(verifyReport(path, GetParam().compare), "");
}

const ModelCase kCases[] = {
    {"FoldedLogOnly", foldCompare, uint64_t(1) << 40, 1},
    {"FoldedCompactingOften", foldCompare, 2048, 2},
    {"EnglishCompareKeys", orvia::lang::single_byte::compareKeys, 4096, 4},
};

INSTANTIATE_TEST_SUITE_P(Cases, ModelTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

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
    ASSERT_EQ(dbCreate(path.c_str()), 1);
    DBHANDLE h = dbOpen(path.c_str(), compare);
    std::vector<std::string> keys;
    std::vector<uint32_t> refs, found;
    std::string records;
    for (uint32_t ref = 1; ref <= 300; ++ref) {
      keys.push_back(area(kCycle[ref % 3]));
      refs.push_back(ref);
      records += storedRecord({0x01000001, ref, keys.back()}, 0);
      ASSERT_TRUE(insertArea(h, keys.back(), ref));
    }
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
