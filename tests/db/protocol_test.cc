// The calling protocol of the C interface: equal keys, where a seek lands, the cursor at
// the ends, the batch read's capacity handshake, content names and bad arguments.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/store_records.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

using namespace orvia::testing;

class ProtocolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(dbCreate(path_.c_str()), 1);
    reopen();
  }
  void TearDown() override { EXPECT_EQ(dbClose(h_), 1); }
  void reopen() {
    ASSERT_TRUE(h_ == nullptr || dbClose(h_) == 1);
    h_ = dbOpen(path_.c_str(), foldCompare);
    ASSERT_NE(h_, nullptr);
  }
  std::vector<uint32_t> refs() {
    std::vector<uint32_t> out;
    for (const std::string& r : allRecords(h_)) out.push_back(refOf(r));
    return out;
  }

  TempDir dir_;
  std::string path_ = dir_.file("00000001.IDX");
  DBHANDLE h_ = nullptr;
};

TEST_F(ProtocolTest, EqualKeysKeepNewestFirstAndSeekFindsIt) {
  for (auto [key, ref] :
       {std::pair{"aa", 10}, {"apple", 1}, {"zz", 20}, {"APPLE", 2}, {"Apple", 3}})
    ASSERT_TRUE(insertArea(h_, area(key), ref));
  EXPECT_EQ(refs(), (std::vector<uint32_t>{10, 3, 2, 1, 20}));
  for (int round = 0; round < 2; ++round, reopen()) {
    ASSERT_EQ(dbSeek(h_, area(round ? "apple" : "aPPle").c_str()), 1);
    EXPECT_EQ(refOf(currentRecord(h_)), 3u);
    EXPECT_EQ(numberOf(currentRecord(h_)), 1u);
  }
}

// One cursor through a row of calls: where each lands, and that a failed one stays put.
TEST_F(ProtocolTest, SeeksAndStepsLandWhereTheRowsSay) {
  for (const char* k : {"b", "d", "f"}) ASSERT_TRUE(insertArea(h_, area(k), 0));
  enum Call { kSeek, kGoto, kPrev, kNext };
  struct Row {
    Call call;
    const char* key;
    uint32_t n;
    int32_t result;
    const char* landsOn;
  };
  const Row rows[] = {
      {kSeek, "a", 0, 1, "b"},   {kSeek, "b", 0, 1, "b"}, {kSeek, "c", 0, 1, "d"},
      {kSeek, "D", 0, 1, "d"},   {kSeek, "e", 0, 1, "f"}, {kSeek, "g", 0, 1, "f"},
      {kSeek, "zzz", 0, 1, "f"}, {kGoto, "", 0, 1, "b"},  {kPrev, "", 0, 0, "b"},
      {kGoto, "", 2, 1, "f"},    {kNext, "", 0, 0, "f"},  {kGoto, "", 3, 0, "f"},
      {kPrev, "", 0, 1, "d"},    {kNext, "", 0, 1, "f"},
  };
  for (const Row& row : rows) {
    int32_t result = row.call == kSeek   ? dbSeek(h_, area(row.key).c_str())
                     : row.call == kGoto ? dbGoto(h_, row.n)
                     : row.call == kPrev ? dbPrev(h_)
                                         : dbNext(h_);
    EXPECT_EQ(result, row.result) << "call " << row.call << " " << row.key << row.n;
    EXPECT_EQ(keyOf(currentRecord(h_)), row.landsOn) << "call " << row.call << " " << row.key;
  }
}

TEST_F(ProtocolTest, SearchCopiesWholeRecordsOrReportsTheSizeNeeded) {
  // 20, 22 and 20 bytes.
  for (const std::string& a : {area("b"), area("dd", "x"), area("f")})
    ASSERT_TRUE(insertArea(h_, a, 0));
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
    uint8_t* into = row.capacity == 0 ? nullptr : buffer.data();
    EXPECT_EQ(dbSearch(h_, 1, row.first, row.count, &size, into), row.result) << row.what;
    EXPECT_EQ(size, row.size) << row.what;
    for (size_t i = row.result == 1 ? row.size : 0; i < buffer.size(); ++i)
      ASSERT_EQ(buffer[i], 0xAB) << row.what;
    if (row.result == 1 && row.size > 0) {
      EXPECT_EQ(loadU32Le(buffer.data() + 12), row.first) << row.what;
    }
  }
}

TEST_F(ProtocolTest, RecordNumbersFollowInsertsAndDeletesBeforeThem) {
  ASSERT_TRUE(insertArea(h_, area("m"), 1));
  ASSERT_EQ(dbSeek(h_, area("m").c_str()), 1);
  EXPECT_EQ(numberOf(currentRecord(h_)), 0u);
  ASSERT_TRUE(insertArea(h_, area("a"), 2) && insertArea(h_, area("b"), 3));
  EXPECT_EQ(refOf(currentRecord(h_)), 1u);
  EXPECT_EQ(numberOf(currentRecord(h_)), 2u);
  ASSERT_EQ(dbDelete(h_, 0), 1);
  EXPECT_EQ(numberOf(currentRecord(h_)), 1u);
  ASSERT_EQ(dbDelete(h_, 1), 1);  // the cursor's own record: the last one takes its place
  EXPECT_EQ(keyOf(currentRecord(h_)), "b");
}

TEST_F(ProtocolTest, ContentNamesSurviveReopenAndCompaction) {
  const char other[16] = "7F000001.DAT";
  ASSERT_TRUE(insertArea(h_, area("a"), 1) && insertArea(h_, area("b"), 2, 0x7F000001, other));
  for (int round = 0; round < 2; ++round) {
    ASSERT_NO_FATAL_FAILURE(reopen());
    char name[16] = {};
    uint32_t size = 16;
    ASSERT_EQ(dbGetData(h_, 0x7F000001, name, &size), 1);
    EXPECT_EQ(std::memcmp(name, other, 16), 0);
    EXPECT_EQ(size, 16u);
    EXPECT_EQ(dbGetData(h_, 0x02000001, name, &size), 0) << "unknown id";
    size = 15;
    EXPECT_EQ(dbGetData(h_, 0x01000001, name, &size), 0) << "buffer too small";
    ASSERT_EQ(dbCompact(h_), 1);
  }
}

TEST_F(ProtocolTest, SharedModeOpensReadOnly) {
  ASSERT_TRUE(insertArea(h_, area("a"), 1));
  DBHANDLE shared = dbCommand(path_.c_str(), kDbCommandOpenShared, foldCompare);
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(recordCount(shared), 1u);
  EXPECT_FALSE(insertArea(shared, area("b"), 1));
  EXPECT_EQ(dbDelete(shared, 0), 0);
  EXPECT_EQ(dbClose(shared), 1);
  EXPECT_EQ(dbCommand(path_.c_str(), 48, foldCompare), nullptr);
}

TEST_F(ProtocolTest, BadArgumentsFailWithoutTouchingBuffers) {
  EXPECT_EQ(dbSeek(h_, area("a").c_str()), 0) << "seek on an empty index";
  EXPECT_EQ(currentRecord(h_), "");
  ASSERT_TRUE(insertArea(h_, area("abc"), 1));
  uint8_t buffer[64];
  std::memset(buffer, 0xAB, sizeof buffer);
  uint32_t size = 10, value = 0;
  std::string tooLong(kDbMaxRecordSize - 16 + 1, 'a');
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
      {"insert of a string area too long", insertArea(h_, tooLong, 1)},
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
  EXPECT_EQ(recordCount(h_), 1u);
}

TEST(OpenTest, OpensOnlyIndexFiles) {
  TempDir dir;
  writeFileBytes(dir.file("empty.IDX"), "");
  writeFileBytes(dir.file("text.IDX"), std::string(4096, 'x'));
  for (const std::string& path :
       {dir.file("missing.IDX"), dir.file("empty.IDX"), dir.file("text.IDX"), dir.path()}) {
    EXPECT_EQ(dbOpen(path.c_str(), foldCompare), nullptr) << path;
    EXPECT_EQ(dbCommand(path.c_str(), 49, foldCompare), nullptr) << path;
  }
  ASSERT_EQ(dbCreate(dir.file("new.IDX").c_str()), 1);
  EXPECT_EQ(dbOpen(dir.file("new.IDX").c_str(), nullptr), nullptr) << "no compare callback";
}

// Records in the dbSearch layout for dbBulkLoad, with refs 1, 2, ...
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
  TempDir dir;
  DbContentName names[] = {{0x01000001, "01000001.DAT"}};
  std::string sorted = recordsOf({area("a"), area("B"), area("b", "x"), area("c")});
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
      {"two records out of order", recordsOf({area("a"), area("c"), area("b")}), 3, 0},
      {"a record length below the header", badLength, 4, 0},
      {"fewer records than the bytes hold", sorted, 3, 0},
      {"more records than the bytes hold", sorted, 5, 0},
  };
  auto load = [&](const std::string& path, const Row& row) {
    return dbBulkLoad(path.c_str(), foldCompare, row.records.data(), uint32_t(row.records.size()),
                      row.count, names, 1);
  };
  for (const Row& row : rows) {
    EXPECT_EQ(load(dir.file(row.what), row), row.result) << row.what;
    EXPECT_EQ(readFileBytes(dir.file(row.what)).empty(), row.result == 0) << row.what;
  }
  std::string path = dir.file(rows[0].what);
  EXPECT_EQ(load(path, rows[0]), 0) << "the file exists";
  DBHANDLE h = dbOpen(path.c_str(), foldCompare);
  ASSERT_NE(h, nullptr);
  std::vector<uint32_t> refs;
  for (const std::string& r : allRecords(h)) refs.push_back(refOf(r));
  EXPECT_EQ(refs, (std::vector<uint32_t>{1, 2, 3, 4}));
  char name[16];
  uint32_t size = 16;
  ASSERT_EQ(dbGetData(h, 0x01000001, name, &size), 1);
  EXPECT_STREQ(name, "01000001.DAT");
  ASSERT_EQ(dbSeek(h, area("b").c_str()), 1);
  EXPECT_EQ(refOf(currentRecord(h)), 2u) << "seek lands on the first of equal keys";
  EXPECT_EQ(dbClose(h), 1);
  EXPECT_EQ(verifyReport(path), "");
}

}  // namespace
}  // namespace orvia::db
