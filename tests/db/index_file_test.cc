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
#include "support/case_table.h"
#include "support/golden.h"
#include "support/store_records.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

using namespace orvia::testing;

// Offsets in db/index_with_log.hex, as its note gives them.
constexpr size_t kLog = 423, kEntry[] = {423, 475, 499};
constexpr size_t kEntryEnd[] = {475, 499, 551};

TEST(FormatTest, ChecksumIsCastagnoli) {
  for (auto crc : {crc32c, crc32cPortable}) {
    const auto* digits = reinterpret_cast<const uint8_t*>("123456789");
    EXPECT_EQ(crc(digits, 9, 0), 0xE3069283u);
    EXPECT_EQ(crc(digits + 5, 4, crc(digits, 5, 0)), 0xE3069283u) << "continuing equals the whole";
  }
  // Long inputs take the processor's instruction where there is one.
  std::vector<uint8_t> bytes(9000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 131 + 7);
  for (size_t size : {4095, 4096, 9000})
    EXPECT_EQ(crc32c(bytes.data(), size, 5), crc32cPortable(bytes.data(), size, 5)) << size;
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
  std::string records;
  for (const std::string& r : allRecords(h)) records += r;
  EXPECT_EQ(records, goldenBytes("db/index_with_log_records.hex"));
  EXPECT_STREQ(contentNameOf(h, 0x7F000001).c_str(), "7F000001.DAT") << "only the segment has it";
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
  out.records = useIndex(h, {area("a"), area("bb"), area("zz")}, kDbMaxRecordSize, insert);
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
  forEachCase("db/damage.txt", [&](const CaseRow& row) {
    auto at = [&](size_t i) { return row.fields[i] == "-" ? kNone : size_t(row.number(i)); };
    std::string bytes = base_.substr(0, at(1));
    if (at(2) != kNone) bytes[at(2)] ^= 0x10;
    uint32_t generation = 0, position = 0;
    if (std::sscanf(row.fields[3].c_str(), "%u %u", &generation, &position) == 2)
      bytes += encodeDeleteEntry(generation, position);
    Outcome outcome = outcomeOf(path_, bytes);
    EXPECT_EQ(outcome.opens, row.number(4) == 1);
    EXPECT_EQ(outcome.records.size(), size_t(row.number(5)));
    EXPECT_EQ(outcome.report.empty() ? "passes" : outcome.report, row.fields[6]);
  });
  std::string bytes = base_;
  bytes[kEntry[1] + 20] ^= 0x10;
  outcomeOf(path_, bytes);
  char tiny[8];
  ASSERT_EQ(dbVerify(path_.c_str(), foldCompare, tiny, sizeof tiny), 0);
  EXPECT_STREQ(tiny, "offset ") << "the report is cut to its buffer";
}

// Outside the last entry a flipped bit either stops open, or verify finds it, or it hit
// bytes nobody reads; a cut inside the log keeps every whole entry.
TEST_F(DamageTest, NoFlipIsSilentlyRepairedAndNoCutDropsAWholeEntry) {
  const std::string records = goldenBytes("db/index_with_log_records.hex");
  for (size_t offset = 0; offset < kEntry[2]; ++offset) {
    std::string bytes = base_;
    bytes[offset] ^= 0x10;
    Outcome outcome = outcomeOf(path_, bytes, offset % 16 == 0);
    std::string read;
    for (const std::string& r : outcome.records) read += r;
    ASSERT_TRUE(!outcome.opens || !outcome.report.empty() || read == records)
        << "flip at " << offset;
  }
  const size_t counts[] = {2, 3, 2, 3};  // after 0, 1, ... entries: insert, delete, insert
  for (size_t size = 0; size < base_.size(); ++size) {
    Outcome outcome = outcomeOf(path_, base_.substr(0, size), size % 16 == 0);
    ASSERT_EQ(outcome.opens, size >= kLog) << "cut at " << size;
    auto whole = std::count_if(kEntryEnd, kEntryEnd + 3, [&](size_t end) { return end <= size; });
    ASSERT_EQ(outcome.records.size(), outcome.opens ? counts[whole] : 0) << "cut at " << size;
  }
}

}  // namespace
}  // namespace orvia::db
