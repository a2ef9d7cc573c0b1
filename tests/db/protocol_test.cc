// The calling protocol of the C interface: equal keys, where a seek lands, the cursor at
// the ends, the batch read's capacity handshake, content names and bad arguments.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "db_test_support.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

using testing::area;
using testing::currentRecord;
using testing::foldCompare;

std::string keyOf(const std::string& record) {
  return std::string(record.c_str() + 16);
}
uint32_t refOf(const std::string& record) {
  return loadU32Le(reinterpret_cast<const uint8_t*>(record.data() + 8));
}
uint32_t numberOf(const std::string& record) {
  return loadU32Le(reinterpret_cast<const uint8_t*>(record.data() + 12));
}

class ProtocolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.file("00000001.IDX");
    ASSERT_EQ(dbCreate(path_.c_str()), 1);
    h_ = dbOpen(path_.c_str(), foldCompare);
    ASSERT_NE(h_, nullptr);
  }
  void TearDown() override {
    if (h_ != nullptr) {
      EXPECT_EQ(dbClose(h_), 1);
    }
  }
  void insert(const std::string& data, uint32_t ref, uint32_t id = 0x01000001,
              const char* name = testing::kContentName) {
    DbInsertDescriptor d{name, id, ref, uint32_t(data.size()), data.data()};
    ASSERT_EQ(dbInsert(h_, &d), 1);
  }
  void reopen() {
    ASSERT_EQ(dbClose(h_), 1);
    h_ = dbOpen(path_.c_str(), foldCompare);
    ASSERT_NE(h_, nullptr);
  }

  orvia::testing::TempDir dir_;
  std::string path_;
  DBHANDLE h_ = nullptr;
};

TEST_F(ProtocolTest, EqualKeysKeepNewestFirstAndSeekFindsIt) {
  insert(area("aa"), 10);
  insert(area("apple"), 1);
  insert(area("zz"), 20);
  insert(area("APPLE"), 2);
  insert(area("Apple"), 3);
  ASSERT_EQ(dbSeek(h_, area("aPPle").c_str()), 1);
  std::string found = currentRecord(h_);
  EXPECT_EQ(refOf(found), 3u);
  EXPECT_EQ(numberOf(found), 1u);
  std::vector<uint32_t> order;
  for (const std::string& r : testing::allRecords(h_)) order.push_back(refOf(r));
  EXPECT_EQ(order, (std::vector<uint32_t>{10, 3, 2, 1, 20}));
  ASSERT_NO_FATAL_FAILURE(reopen());
  ASSERT_EQ(dbSeek(h_, area("apple").c_str()), 1);
  EXPECT_EQ(refOf(currentRecord(h_)), 3u);
}

TEST_F(ProtocolTest, SeekWithoutEqualLandsOnTheNextRecordOrTheLast) {
  for (const char* k : {"b", "d", "f"}) insert(area(k), 0);
  struct Row {
    const char* key;
    const char* landsOn;
  };
  const Row rows[] = {
      {"a", "b"}, {"b", "b"}, {"c", "d"}, {"D", "d"}, {"e", "f"}, {"g", "f"}, {"zzz", "f"},
  };
  for (const Row& row : rows) {
    ASSERT_EQ(dbSeek(h_, area(row.key).c_str()), 1) << row.key;
    EXPECT_EQ(keyOf(currentRecord(h_)), row.landsOn) << row.key;
  }
}

TEST_F(ProtocolTest, StepsStopAtTheEndsAndLeaveTheCursor) {
  for (const char* k : {"b", "d", "f"}) insert(area(k), 0);
  ASSERT_EQ(dbGoto(h_, 0), 1);
  EXPECT_EQ(dbPrev(h_), 0);
  EXPECT_EQ(keyOf(currentRecord(h_)), "b");
  ASSERT_EQ(dbGoto(h_, 2), 1);
  EXPECT_EQ(dbNext(h_), 0);
  EXPECT_EQ(keyOf(currentRecord(h_)), "f");
  EXPECT_EQ(dbGoto(h_, 3), 0);
  EXPECT_EQ(keyOf(currentRecord(h_)), "f");
  ASSERT_EQ(dbPrev(h_), 1);
  EXPECT_EQ(keyOf(currentRecord(h_)), "d");
}

TEST_F(ProtocolTest, SearchCopiesWholeRecordsOrReportsTheSizeNeeded) {
  insert(area("b"), 0);        // 20 bytes
  insert(area("dd", "x"), 0);  // 22 bytes
  insert(area("f"), 0);        // 20 bytes
  struct Row {
    const char* what;
    uint32_t first, count, capacity;
    int32_t result;
    uint32_t size;
  };
  const Row rows[] = {
      {"all fit exactly", 0, 3, 62, 1, 62},
      {"one byte short copies none", 0, 3, 61, 0, 62},
      {"count beyond the end takes the rest", 1, 10, 100, 1, 42},
      {"rest needs more than given", 1, 10, 41, 0, 42},
      {"first at the end gives nothing", 3, 5, 100, 1, 0},
      {"first past the end gives nothing", 7, 5, 100, 1, 0},
      {"count zero gives nothing", 0, 0, 100, 1, 0},
      {"zero capacity asks for the size", 0, 2, 0, 0, 42},
  };
  for (const Row& row : rows) {
    std::vector<uint8_t> buffer(row.capacity + 8, 0xAB);
    uint32_t size = row.capacity;
    EXPECT_EQ(
        dbSearch(h_, 1, row.first, row.count, &size, row.capacity == 0 ? nullptr : buffer.data()),
        row.result)
        << row.what;
    EXPECT_EQ(size, row.size) << row.what;
    size_t untouched = row.result == 1 ? row.size : 0;
    for (size_t i = untouched; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xAB) << row.what;
    if (row.result == 1 && row.size > 0) {
      EXPECT_EQ(loadU32Le(buffer.data() + 12), row.first) << row.what;
    }
  }
}

TEST_F(ProtocolTest, RecordNumbersFollowInsertsAndDeletesBeforeThem) {
  insert(area("m"), 1);
  ASSERT_EQ(dbSeek(h_, area("m").c_str()), 1);
  EXPECT_EQ(numberOf(currentRecord(h_)), 0u);
  insert(area("a"), 2);
  insert(area("b"), 3);
  std::string now = currentRecord(h_);
  EXPECT_EQ(refOf(now), 1u);
  EXPECT_EQ(numberOf(now), 2u);
  ASSERT_EQ(dbDelete(h_, 0), 1);
  EXPECT_EQ(numberOf(currentRecord(h_)), 1u);
  ASSERT_EQ(dbDelete(h_, 1), 1);  // the cursor's own record: the last one takes its place
  EXPECT_EQ(keyOf(currentRecord(h_)), "b");
}

TEST_F(ProtocolTest, ContentNamesSurviveReopenAndCompaction) {
  char other[16] = "7F000001.DAT";
  insert(area("a"), 1, 0x01000001);
  insert(area("b"), 2, 0x7F000001, other);
  ASSERT_NO_FATAL_FAILURE(reopen());
  for (int round = 0; round < 2; ++round) {
    char name[16] = {};
    uint32_t size = 16;
    ASSERT_EQ(dbGetData(h_, 0x7F000001, name, &size), 1);
    EXPECT_EQ(std::memcmp(name, other, 16), 0);
    EXPECT_EQ(size, 16u);
    size = 16;
    EXPECT_EQ(dbGetData(h_, 0x02000001, name, &size), 0) << "unknown id";
    size = 15;
    EXPECT_EQ(dbGetData(h_, 0x01000001, name, &size), 0) << "buffer too small";
    ASSERT_EQ(dbCompact(h_), 1);
    ASSERT_NO_FATAL_FAILURE(reopen());
  }
}

TEST_F(ProtocolTest, SharedModeOpensReadOnly) {
  insert(area("a"), 1);
  DBHANDLE shared = dbCommand(path_.c_str(), kDbCommandOpenShared, foldCompare);
  ASSERT_NE(shared, nullptr);
  uint32_t count = 0;
  EXPECT_EQ(dbGetInfo(shared, kDbInfoRecordCount, &count), 1);
  EXPECT_EQ(count, 1u);
  DbInsertDescriptor d{testing::kContentName, 1, 1, 2, "b"};
  EXPECT_EQ(dbInsert(shared, &d), 0);
  EXPECT_EQ(dbDelete(shared, 0), 0);
  EXPECT_EQ(dbClose(shared), 1);
  EXPECT_EQ(dbCommand(path_.c_str(), 48, foldCompare), nullptr);
}

TEST_F(ProtocolTest, BadArgumentsFailWithoutTouchingBuffers) {
  insert(area("abc"), 1);
  uint8_t buffer[64];
  std::memset(buffer, 0xAB, sizeof buffer);
  uint32_t size = 10;
  uint32_t value = 0;
  std::string tooLong(kDbMaxRecordSize - 16 + 1, 'a');
  DbInsertDescriptor longRecord{testing::kContentName, 1, 1, uint32_t(tooLong.size()),
                                tooLong.data()};
  DbInsertDescriptor noName{nullptr, 1, 1, 2, "b"};
  struct Row {
    const char* what;
    int32_t result;
  };
  const Row rows[] = {
      {"seek on a null handle", dbSeek(nullptr, "a")},
      {"seek of a null key", dbSeek(h_, nullptr)},
      {"goto on a null handle", dbGoto(nullptr, 0)},
      {"goto past the end", dbGoto(h_, 1)},
      {"next on a null handle", dbNext(nullptr)},
      {"prev on a null handle", dbPrev(nullptr)},
      {"record into a buffer too small", dbGetRecord(h_, &size, buffer)},
      {"record with a null size", dbGetRecord(h_, nullptr, buffer)},
      {"search with selector 2", dbSearch(h_, 2, 0, 1, &size, buffer)},
      {"search with a null buffer and a capacity", dbSearch(h_, 1, 0, 1, &size, nullptr)},
      {"insert of a string area too long", dbInsert(h_, &longRecord)},
      {"insert without a content name", dbInsert(h_, &noName)},
      {"insert of a null descriptor", dbInsert(h_, nullptr)},
      {"delete past the end", dbDelete(h_, 1)},
      {"info with selector 1", dbGetInfo(h_, 1, &value)},
      {"info into a null value", dbGetInfo(h_, 2, nullptr)},
      {"close of a null handle", dbClose(nullptr)},
      {"compact of a null handle", dbCompact(nullptr)},
      {"create over an existing file", dbCreate(path_.c_str())},
  };
  for (const Row& row : rows) EXPECT_EQ(row.result, 0) << row.what;
  EXPECT_EQ(size, 10u);
  for (uint8_t b : buffer) ASSERT_EQ(b, 0xAB);
  uint32_t count = 0;
  ASSERT_EQ(dbGetInfo(h_, 2, &count), 1);
  EXPECT_EQ(count, 1u);
}

TEST_F(ProtocolTest, SeekOnAnEmptyIndexFails) {
  ASSERT_EQ(dbDelete(h_, 0), 0);
  EXPECT_EQ(dbSeek(h_, area("a").c_str()), 0);
  EXPECT_EQ(currentRecord(h_), "");
}

TEST(OpenTest, OpensOnlyIndexFiles) {
  orvia::testing::TempDir dir;
  orvia::testing::writeFileBytes(dir.file("empty.IDX"), "");
  orvia::testing::writeFileBytes(dir.file("text.IDX"), std::string(4096, 'x'));
  struct Row {
    const char* what;
    std::string path;
  };
  const Row rows[] = {
      {"missing file", dir.file("missing.IDX")},
      {"empty file", dir.file("empty.IDX")},
      {"file that is not ours", dir.file("text.IDX")},
      {"a folder", dir.path()},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(dbOpen(row.path.c_str(), foldCompare), nullptr) << row.what;
    EXPECT_EQ(dbCommand(row.path.c_str(), 49, foldCompare), nullptr) << row.what;
  }
  ASSERT_EQ(dbCreate(dir.file("new.IDX").c_str()), 1);
  EXPECT_EQ(dbOpen(dir.file("new.IDX").c_str(), nullptr), nullptr) << "no compare callback";
}

// Records in the dbSearch layout for dbBulkLoad.
std::string recordsOf(const std::vector<std::string>& areas) {
  std::string out;
  uint32_t ref = 0;
  for (const std::string& a : areas) {
    std::string head(16, '\0');
    auto* p = reinterpret_cast<uint8_t*>(head.data());
    storeU32Le(p, uint32_t(16 + a.size()));
    storeU32Le(p + 4, 0x01000001);
    storeU32Le(p + 8, ++ref);
    out += head + a;
  }
  return out;
}

TEST(BulkLoadTest, LoadsSortedRecordsAndRefusesBadOnes) {
  orvia::testing::TempDir dir;
  DbContentName names[] = {{0x01000001, "01000001.DAT"}};
  std::string sorted = recordsOf({area("a"), area("B"), area("b", "x"), area("c")});
  std::string unsorted = recordsOf({area("a"), area("c"), area("b")});
  std::string badLength = sorted;
  badLength[0] = 8;
  struct Row {
    const char* what;
    std::string records;
    uint32_t count;
    int32_t result;
  };
  const Row rows[] = {
      {"sorted, equal keys kept in given order", sorted, 4, 1},
      {"two records out of order", unsorted, 3, 0},
      {"a record length below the header", badLength, 4, 0},
      {"fewer records than the bytes hold", sorted, 3, 0},
      {"more records than the bytes hold", sorted, 5, 0},
  };
  int i = 0;
  for (const Row& row : rows) {
    std::string path = dir.file("bulk" + std::to_string(i++) + ".IDX");
    EXPECT_EQ(dbBulkLoad(path.c_str(), foldCompare, row.records.data(),
                         uint32_t(row.records.size()), row.count, names, 1),
              row.result)
        << row.what;
    EXPECT_EQ(orvia::testing::readFileBytes(path).empty(), row.result == 0) << row.what;
  }
  std::string path = dir.file("bulk0.IDX");
  EXPECT_EQ(
      dbBulkLoad(path.c_str(), foldCompare, sorted.data(), uint32_t(sorted.size()), 4, names, 1), 0)
      << "the file exists";
  DBHANDLE h = dbOpen(path.c_str(), foldCompare);
  ASSERT_NE(h, nullptr);
  std::vector<uint32_t> refs;
  for (const std::string& r : testing::allRecords(h)) refs.push_back(refOf(r));
  EXPECT_EQ(refs, (std::vector<uint32_t>{1, 2, 3, 4}));
  char name[16];
  uint32_t size = 16;
  ASSERT_EQ(dbGetData(h, 0x01000001, name, &size), 1);
  EXPECT_STREQ(name, "01000001.DAT");
  ASSERT_EQ(dbSeek(h, area("b").c_str()), 1);
  EXPECT_EQ(refOf(currentRecord(h)), 2u) << "seek lands on the first of equal keys";
  EXPECT_EQ(dbClose(h), 1);
  char report[128];
  EXPECT_EQ(dbVerify(path.c_str(), foldCompare, report, sizeof report), 1) << report;
}

}  // namespace
}  // namespace orvia::db
