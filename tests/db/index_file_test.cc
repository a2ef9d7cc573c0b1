// The index file: its bytes against golden files worked out by hand from the layout
// tables (tests/data/db), the checksum against its published check values, and damage to
// the golden index. Truncated or bit-flipped files never crash open, walk, seek or
// insert; damage makes open fail or verify name it, and is never repaired by dropping
// records. Only an interrupted last append may vanish.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "db/change_log.h"
#include "db/crc32c.h"
#include "support/golden.h"
#include "support/store_records.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

using namespace orvia::testing;

// Offsets in db/index_with_log.hex, as its note gives them.
constexpr size_t kSegment = 256, kRecordCd = 345, kLog = 423, kEntry[] = {423, 475, 499};
constexpr size_t kEntryEnd[] = {475, 499, 551};

uint32_t crcOf(const std::string& bytes, uint32_t previous = 0) {
  return crc32c(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), previous);
}

TEST(FormatTest, ChecksumIsCastagnoli) {
  std::string text(1000, '\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = char(i * 7);
  for (const std::string& bytes : {std::string("123456789"), std::string(4, '\0'), text}) {
    EXPECT_EQ(crcOf(bytes),
              crc32cPortable(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
        << bytes.size() << " bytes: the table-driven form agrees";
  }
  EXPECT_EQ(crcOf("123456789"), 0xE3069283u);
  EXPECT_EQ(crcOf(std::string(4, '\0')), 0x48674BC7u);
  EXPECT_EQ(crcOf("6789", crcOf("12345")), 0xE3069283u) << "continuing equals the whole";
}

// The bytes the store writes against the golden files, and what it reads from them.
TEST(FormatTest, TheStoreWritesAndReadsTheHandWorkedFiles) {
  TempDir dir;
  std::string path = dir.file("00000001.IDX"), withLog = goldenBytes("db/index_with_log.hex");
  ASSERT_EQ(dbCreate(path.c_str()), 1);
  const auto* name = reinterpret_cast<const uint8_t*>("01000001.DAT\0\0\0");
  const auto* b = reinterpret_cast<const uint8_t*>("b\0\0");
  const auto* bb = reinterpret_cast<const uint8_t*>("bb\0");
  const std::string rows[][3] = {
      {"a new index", readFileBytes(path), goldenBytes("db/empty_index.hex")},
      {"an insert entry", encodeInsertEntry(1, 1, 0x01000001, 9, name, b, 4),
       withLog.substr(kEntry[0], kEntry[1] - kEntry[0])},
      {"a delete entry", encodeDeleteEntry(1, 0), withLog.substr(kEntry[1], kEntry[2] - kEntry[1])},
      {"another insert entry", encodeInsertEntry(1, 1, 0x01000001, 5, name, bb, 4),
       withLog.substr(kEntry[2])},
  };
  for (const auto& [what, written, golden] : rows) EXPECT_EQ(written, golden) << what;

  path = dir.file("hand.IDX");
  writeFileBytes(path, withLog);
  EXPECT_EQ(verifyReport(path), "");
  DBHANDLE h = dbOpen(path.c_str(), foldCompare);
  ASSERT_NE(h, nullptr);
  std::string records;
  for (const std::string& r : allRecords(h)) records += r;
  EXPECT_EQ(records, goldenBytes("db/index_with_log_records.hex"));
  char kept[16];
  uint32_t size = 16;
  ASSERT_EQ(dbGetData(h, 0x7F000001, kept, &size), 1) << "a name only the segment holds";
  EXPECT_STREQ(kept, "7F000001.DAT");
  EXPECT_EQ(dbClose(h), 1);
}

constexpr size_t kNone = size_t(-1);

struct Outcome {
  std::string report;  // verify's; "" when it passes
  bool opens = false;
  std::vector<std::string> records;  // read in one batch; a damaged record fails it
};

// Writes bytes to a fresh file (rewriting one in place makes the file system flush it on
// close), verifies it and uses it as a reader and a writer would. An insert makes close
// sync the file, which is slow, so the sweeps insert now and then.
Outcome outcomeOf(const std::string& path, const std::string& bytes, bool insert = true) {
  std::remove(path.c_str());
  writeFileBytes(path, bytes);
  Outcome out{verifyReport(path), false, {}};
  DBHANDLE h = dbOpen(path.c_str(), foldCompare);
  if (h == nullptr) return out;
  out.opens = true;
  out.records = allRecords(h);
  dbGoto(h, 0);
  for (uint32_t steps = 0; steps <= out.records.size() && dbNext(h) == 1;) ++steps;
  for (const char* key : {"a", "bb", "zz"}) {
    dbSeek(h, area(key).c_str());
    currentRecord(h);
    dbPrev(h);
  }
  if (insert && insertArea(h, area("c"), 11)) allRecords(h);
  dbClose(h);
  return out;
}

class DamageTest : public ::testing::Test {
 protected:
  TempDir dir_;
  const std::string path_ = dir_.file("damaged.IDX");
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
    Outcome outcome = outcomeOf(path_, bytes);
    EXPECT_EQ(outcome.report, row.report) << row.what;
    EXPECT_EQ(outcome.opens, row.opens) << row.what;
    EXPECT_EQ(outcome.records.size(), row.recordsAfter) << row.what;
  }
  std::string bytes = base_;
  bytes[kEntry[1] + 20] ^= 0x10;
  outcomeOf(path_, bytes);
  char tiny[8];
  ASSERT_EQ(dbVerify(path_.c_str(), foldCompare, tiny, sizeof tiny), 0);
  EXPECT_STREQ(tiny, "offset ") << "the report is cut to its buffer";
}

TEST_F(DamageTest, NoFlippedBitIsSilentlyRepaired) {
  const std::string records = goldenBytes("db/index_with_log_records.hex");
  for (size_t offset = 0; offset < kEntry[2]; ++offset) {
    std::string bytes = base_;
    bytes[offset] ^= 0x10;
    Outcome outcome = outcomeOf(path_, bytes, offset % 16 == 0);
    std::string read;
    for (const std::string& r : outcome.records) read += r;
    // Outside the last entry a flip either stops open, or verify finds it, or it hit
    // bytes nobody reads.
    ASSERT_TRUE(!outcome.opens || !outcome.report.empty() || read == records)
        << "flip at " << offset;
  }
}

TEST_F(DamageTest, TruncationInsideTheLogKeepsEveryWholeEntry) {
  // Record counts after 0, 1, ... whole entries: insert, delete, insert.
  const size_t counts[] = {2, 3, 2, 3};
  for (size_t size = 0; size < base_.size(); ++size) {
    Outcome outcome = outcomeOf(path_, base_.substr(0, size), size % 16 == 0);
    ASSERT_EQ(outcome.opens, size >= kLog) << "cut at " << size;
    auto whole = std::count_if(kEntryEnd, kEntryEnd + 3, [&](size_t end) { return end <= size; });
    ASSERT_EQ(outcome.records.size(), outcome.opens ? counts[whole] : 0) << "cut at " << size;
  }
}

}  // namespace
}  // namespace orvia::db
