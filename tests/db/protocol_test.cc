// The calling protocol of the C interface: bulk loads and bad arguments. Where calls leave
// the cursor and what a batch read copies are the model test's.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "store_model.h"
#include "support/case_table.h"
#include "support/golden.h"

namespace orvia::db {
namespace {

using namespace orvia::testing;
using ProtocolTest = OpenIndexTest;

// Bad arguments, writes through a shared handle, and files that are not indexes fail
// without touching buffers.
TEST_F(ProtocolTest, BadArgumentsFailWithoutTouchingBuffers) {
  EXPECT_EQ(dbSeek(h_, area("a").c_str()), 0) << "seek on an empty index";
  EXPECT_EQ(dbDelete(h_, 0), 0) << "delete on an empty index";
  EXPECT_EQ(currentRecord(h_), "");
  ASSERT_TRUE(insertArea(h_, area("abc"), 1));
  DBHANDLE shared = dbCommand(path_.c_str(), kDbCommandOpenShared, foldCompare);
  ASSERT_EQ(recordCount(shared), 1u);
  uint8_t buffer[64];
  std::memset(buffer, 0xAB, sizeof buffer);
  uint32_t size = 10, nameSize = 16, value = 0;
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
      {"insert through a shared handle", insertArea(shared, area("b"), 1)},
      {"delete through a shared handle", dbDelete(shared, 0)},
      {"delete past the end", dbDelete(h_, 1)},
      {"content name of an unknown id", dbGetData(h_, 0x02000001, buffer, &nameSize)},
      {"content name into a buffer too small", dbGetData(h_, 0x01000001, buffer, &size)},
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
  EXPECT_EQ(size + nameSize, 10u + 16u);
  for (uint8_t b : buffer) ASSERT_EQ(b, 0xAB);
  EXPECT_EQ(recordCount(h_), 1u);
  EXPECT_EQ(dbClose(shared), 1);
}

TEST(BulkLoadTest, LoadsSortedRecordsAndRefusesBadOnes) {
  TempDir dir;
  DbContentName names[] = {{0x01000001, "01000001.DAT"}};
  forEachCase("db/bulk_loads.txt", [&](const CaseRow& row) {
    std::string records = goldenBytes(row.fields[1]), path = dir.file(row.fields[0]);
    auto load = [&] {
      return dbBulkLoad(path.c_str(), foldCompare, records.data(), uint32_t(records.size()),
                        uint32_t(row.number(2)), names, 1);
    };
    EXPECT_EQ(load(), row.number(3));
    EXPECT_EQ(readFileBytes(path).empty(), row.number(3) == 0);
    if (row.number(3) == 0) return;
    EXPECT_EQ(load(), 0) << "the file exists";
    DBHANDLE h = dbOpen(path.c_str(), foldCompare);
    std::string refs;
    for (const std::string& r : allRecords(h)) refs += std::to_string(refOf(r));
    EXPECT_EQ(refs, "1234");
    EXPECT_STREQ(contentNameOf(h, 0x01000001).c_str(), "01000001.DAT");
    ASSERT_EQ(dbSeek(h, area("b").c_str()), 1);
    EXPECT_EQ(refOf(currentRecord(h)), 2u) << "seek lands on the first of equal keys";
    EXPECT_EQ(dbClose(h), 1);
    EXPECT_EQ(verifyReport(path), "");
  });
}

}  // namespace
}  // namespace orvia::db
