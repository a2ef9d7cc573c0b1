// The calling protocol of the C interface: equal keys, where a seek lands, the cursor at
// the ends, the batch read's capacity handshake, content names and bad arguments.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/store_fixture.h"

namespace orvia::db {
namespace {

using namespace orvia::testing;
using ProtocolTest = OpenIndexTest;

std::vector<uint32_t> refsOf(DBHANDLE h) {
  std::vector<uint32_t> refs;
  for (const std::string& r : allRecords(h)) refs.push_back(refOf(r));
  return refs;
}

// One cursor through a script of calls: what each returns and the record the cursor is on
// after it ("key number"). Equal keys keep newest first and a seek finds the newest; a
// seek without an equal lands on the next record or the last; steps stop at the ends and
// failed calls leave the cursor; numbers follow inserts (one at the cursor's own place) and
// deletes before the cursor, and a deleted record's place goes to the one behind it or the
// new last record.
TEST_F(ProtocolTest, CallsLandWhereTheScriptSays) {
  struct Row {
    const char* call;  // "insert KEY", "delete N", "seek KEY", "goto N", "prev" or "next"
    int32_t result;
    const char* landsOn;
  };
  const Row rows[] = {
      {"insert aa", 1, "aa 0"},     {"insert apple", 1, "aa 0"}, {"insert zz", 1, "aa 0"},
      {"insert APPLE", 1, "aa 0"},  {"insert Apple", 1, "aa 0"}, {"seek a", 1, "aa 0"},
      {"seek aPPle", 1, "Apple 1"}, {"seek ab", 1, "Apple 1"},   {"seek b", 1, "zz 4"},
      {"seek ZZ", 1, "zz 4"},       {"seek zzz", 1, "zz 4"},     {"goto 0", 1, "aa 0"},
      {"prev", 0, "aa 0"},          {"next", 1, "Apple 1"},      {"next", 1, "APPLE 2"},
      {"next", 1, "apple 3"},       {"next", 1, "zz 4"},         {"next", 0, "zz 4"},
      {"goto 5", 0, "zz 4"},        {"prev", 1, "apple 3"},      {"seek apple", 1, "Apple 1"},
      {"insert ab", 1, "Apple 2"},  {"delete 0", 1, "Apple 1"},  {"delete 1", 1, "APPLE 1"},
      {"goto 3", 1, "zz 3"},        {"delete 3", 1, "apple 2"},  {"delete 0", 1, "apple 1"},
  };
  for (const Row& row : rows) {
    std::string call = row.call, arg = call.substr(call.find(' ') + 1);
    int32_t result = call[0] == 'i'   ? insertArea(h_, area(arg), 0)
                     : call[0] == 'd' ? dbDelete(h_, uint32_t(std::stoul(arg)))
                     : call[0] == 's' ? dbSeek(h_, area(arg).c_str())
                     : call[0] == 'g' ? dbGoto(h_, uint32_t(std::stoul(arg)))
                     : call[0] == 'p' ? dbPrev(h_)
                                      : dbNext(h_);
    EXPECT_EQ(result, row.result) << call;
    std::string now = currentRecord(h_);
    ASSERT_EQ(keyOf(now) + " " + std::to_string(numberOf(now)), row.landsOn) << call;
  }
  reopen();
  ASSERT_EQ(dbSeek(h_, area("apple").c_str()), 1);
  EXPECT_EQ(keyOf(currentRecord(h_)), "APPLE") << "newest first after reopening";
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
    EXPECT_TRUE(row.size == 0 || row.result == 0 || loadU32Le(buffer.data() + 12) == row.first)
        << row.what << ": the first record's number";
  }
}

TEST_F(ProtocolTest, ContentNamesSurviveReopenAndCompaction) {
  const char other[16] = "7F000001.DAT";
  ASSERT_TRUE(insertArea(h_, area("a"), 1) && insertArea(h_, area("b"), 2, 0x7F000001, other));
  for (int round = 0; round < 2; ++round) {
    reopen();
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
}

// Bad arguments, and files that are not indexes, fail without touching buffers.
TEST_F(ProtocolTest, BadArgumentsFailWithoutTouchingBuffers) {
  EXPECT_EQ(dbSeek(h_, area("a").c_str()), 0) << "seek on an empty index";
  EXPECT_EQ(dbDelete(h_, 0), 0) << "delete on an empty index";
  EXPECT_EQ(currentRecord(h_), "");
  ASSERT_TRUE(insertArea(h_, area("abc"), 1));
  uint8_t buffer[64];
  std::memset(buffer, 0xAB, sizeof buffer);
  uint32_t size = 10, value = 0;
  DbInsertDescriptor noName{nullptr, 1, 1, 2, "b"};
  writeFileBytes(dir_.file("empty.IDX"), "");
  writeFileBytes(dir_.file("text.IDX"), std::string(4096, 'x'));
  auto opens = [](const std::string& path, DbCompareFn compare = foldCompare) {
    return dbOpen(path.c_str(), compare) != nullptr ||
           dbCommand(path.c_str(), kDbCommandOpenShared, compare) != nullptr;
  };
  const std::pair<const char*, int32_t> rows[] = {
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
      {"insert of a string area too long",
       insertArea(h_, std::string(kDbMaxRecordSize - 15, 'a'), 1)},
      {"insert without a content name", dbInsert(h_, &noName)},
      {"insert of a null descriptor", dbInsert(h_, nullptr)},
      {"delete past the end", dbDelete(h_, 1)},
      {"info with selector 1", dbGetInfo(h_, 1, &value)},
      {"info into a null value", dbGetInfo(h_, 2, nullptr)},
      {"close of a null handle", dbClose(nullptr)},
      {"compact of a null handle", dbCompact(nullptr)},
      {"create over an existing file", dbCreate(path_.c_str())},
      {"open of a missing file", opens(dir_.file("missing.IDX"))},
      {"open of an empty file", opens(dir_.file("empty.IDX"))},
      {"open of a file that is not ours", opens(dir_.file("text.IDX"))},
      {"open of a folder", opens(dir_.path())},
      {"open without a compare callback", opens(path_, nullptr)},
      {"open in an unknown mode", dbCommand(path_.c_str(), 48, foldCompare) != nullptr},
  };
  for (const auto& [what, result] : rows) EXPECT_EQ(result, 0) << what;
  EXPECT_EQ(size, 10u);
  for (uint8_t b : buffer) ASSERT_EQ(b, 0xAB);
  EXPECT_EQ(recordCount(h_), 1u);
}

TEST(BulkLoadTest, LoadsSortedRecordsAndRefusesBadOnes) {
  auto recordsOf = [](std::vector<std::string> areas) {
    std::string out;
    for (uint32_t i = 0; i < areas.size(); ++i)
      out += storedRecord(ModelRecord{areas[i], 0x01000001, i + 1}, 0);
    return out;
  };
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
  TempDir dir;
  DbContentName names[] = {{0x01000001, "01000001.DAT"}};
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
  EXPECT_EQ(refsOf(h), (std::vector<uint32_t>{1, 2, 3, 4}));
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
