// Damaged index files: truncated or bit-flipped files never crash open, walk, seek or
// insert; damage makes open fail or verify name it, and is never repaired by dropping
// records. Only an interrupted last append may vanish. The file damaged is the golden
// db/index_with_log.hex; the offsets below are those its note gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "db/change_log.h"
#include "support/golden.h"
#include "support/store_records.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

using namespace orvia::testing;

constexpr size_t kSegment = 256, kRecordCd = 345, kLog = 423, kEntry[] = {423, 475, 499};
constexpr size_t kEntryEnd[] = {475, 499, 551};
constexpr size_t kNone = size_t(-1);

// Opens the file and uses it as a reader and a writer would; the records it saw, or
// false when it did not open. An insert makes close sync the file, which is slow, so
// the sweeps insert now and then.
bool exercise(const std::string& path, std::vector<std::string>* seen, bool insert = true) {
  DBHANDLE h = dbOpen(path.c_str(), foldCompare);
  if (h == nullptr) return false;
  *seen = allRecords(h);
  uint32_t count = recordCount(h);
  dbGoto(h, 0);
  for (uint32_t steps = 0; steps <= count && dbNext(h) == 1;) ++steps;
  for (const char* key : {"a", "bb", "zz"}) {
    dbSeek(h, area(key).c_str());
    currentRecord(h);
    dbPrev(h);
  }
  if (insert && insertArea(h, area("c"), 11)) allRecords(h);
  dbClose(h);
  return true;
}

// A fresh file each time: rewriting one in place makes the file system flush it on close.
std::string damaged(const TempDir& dir, const std::string& bytes) {
  std::string path = dir.file("damaged.IDX");
  std::remove(path.c_str());
  writeFileBytes(path, bytes);
  return path;
}

class DamageTest : public ::testing::Test {
 protected:
  TempDir dir_;
  const std::string base_ = goldenBytes("db/index_with_log.hex");
};

TEST_F(DamageTest, EachKindOfDamageHasItsOutcome) {
  struct Row {
    const char* what;
    size_t cutTo, flipAt;
    std::string append;
    bool opens;
    size_t recordsAfter;  // read in one batch when it opens; a damaged record fails it
    const char* report;   // "" when verify passes
  };
  const Row rows[] = {
      {"cut inside the prefix", 100, kNone, "", false, 0,
       "offset 100: file shorter than its 256-byte prefix"},
      {"magic damaged", kNone, 3, "", false, 0, "offset 0: not an index file: bad magic"},
      {"only header slot damaged", kNone, 64 + 20, "", false, 0, "offset 64: no valid header slot"},
      {"cut inside the segment", kLog - 10, kNone, "", false, 0,
       "offset 413: file ends before its log"},
      {"segment header damaged", kNone, kSegment + 9, "", false, 0,
       "offset 256: segment header damaged"},
      {"last entry cut short is an interrupted append", kEntryEnd[2] - 5, kNone, "", true, 2, ""},
      {"last entry failing its checksum is an interrupted append", kNone, kEntryEnd[2] - 1, "",
       true, 2, ""},
      {"last entry's header cut short is an interrupted append", kEntry[2] + 7, kNone, "", true, 2,
       ""},
      {"earlier entry failing its checksum is damage", kNone, kEntry[1] + 20, "", false, 0,
       "offset 475: change log entry damaged"},
      {"earlier entry's header damaged is damage", kNone, kEntry[0] + 1, "", false, 0,
       "offset 423: change log entry damaged"},
      {"delete of a record that does not exist is damage", kNone, kNone, encodeDeleteEntry(1, 500),
       false, 0, "offset 551: delete of a missing record"},
      {"entry of another generation after others is damage", kNone, kNone, encodeDeleteEntry(7, 0),
       false, 0, "offset 551: change log entry damaged"},
      {"segment record length damaged is found by verify", kNone, kRecordCd, "", true, 0,
       "offset 320: records area fails its checksum"},
      {"segment record text damaged is found by verify", kNone, kRecordCd + 17, "", true, 3,
       "offset 320: records area fails its checksum"},
      {"change counter damaged is harmless", kNone, 9, "", true, 3, ""},
  };
  for (const Row& row : rows) {
    std::string bytes = base_.substr(0, row.cutTo) + row.append;
    if (row.flipAt != kNone) bytes[row.flipAt] ^= 0x10;
    std::string path = damaged(dir_, bytes);
    EXPECT_EQ(verifyReport(path), row.report) << row.what;
    std::vector<std::string> seen;
    EXPECT_EQ(exercise(path, &seen), row.opens) << row.what;
    EXPECT_EQ(seen.size(), row.recordsAfter) << row.what;
  }
  std::string bytes = base_;
  bytes[kEntry[1] + 20] ^= 0x10;
  std::string path = damaged(dir_, bytes);
  char tiny[8];
  ASSERT_EQ(dbVerify(path.c_str(), foldCompare, tiny, sizeof tiny), 0);
  EXPECT_STREQ(tiny, "offset ") << "the report is cut to its buffer";
}

TEST_F(DamageTest, NoFlippedBitIsSilentlyRepaired) {
  const std::string records = goldenBytes("db/index_with_log_records.hex");
  for (size_t offset = 0; offset < kEntry[2]; ++offset) {
    std::string bytes = base_;
    bytes[offset] ^= 0x10;
    std::string path = damaged(dir_, bytes), read;
    bool verifies = verifyReport(path).empty();
    std::vector<std::string> seen;
    bool opens = exercise(path, &seen, offset % 16 == 0);
    for (const std::string& r : seen) read += r;
    // Outside the last entry a flip either stops open, or verify finds it, or it hit
    // bytes nobody reads.
    ASSERT_TRUE(!opens || !verifies || read == records) << "flip at " << offset;
  }
}

TEST_F(DamageTest, TruncationInsideTheLogKeepsEveryWholeEntry) {
  // Record counts after 0, 1, ... whole entries: insert, delete, insert.
  const size_t counts[] = {2, 3, 2, 3};
  for (size_t size = 0; size < base_.size(); ++size) {
    std::vector<std::string> seen;
    bool opens = exercise(damaged(dir_, base_.substr(0, size)), &seen, size % 16 == 0);
    ASSERT_EQ(opens, size >= kLog) << "cut at " << size;
    auto whole = std::count_if(kEntryEnd, kEntryEnd + 3, [&](size_t end) { return end <= size; });
    ASSERT_EQ(seen.size(), opens ? counts[whole] : 0) << "cut at " << size;
  }
}

}  // namespace
}  // namespace orvia::db
