// Damaged index files: truncated or bit-flipped files never crash open, walk, seek or
// insert; damage makes open fail or verify name it, and is never repaired by dropping
// records. Only an interrupted last append may vanish.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "db/change_log.h"
#include "db/index_header.h"
#include "db/segment_format.h"
#include "db_test_support.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

using testing::area;

std::string key(int i) {
  return "k" + std::to_string(100 + i);
}

// Where things are in the base file.
struct Layout {
  uint64_t segmentOffset = 0, logOffset = 0;
  std::vector<uint64_t> entries;  // offsets of the log entries
  uint64_t record5 = 0;           // offset of segment record 5
};

class DamageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // 40 bulk-loaded records, then a logged insert, insert, delete, insert.
    std::string records;
    for (int i = 0; i < 40; ++i) {
      std::string data = area(key(i * 2));
      std::string head(16, '\0');
      storeU32Le(reinterpret_cast<uint8_t*>(head.data()), uint32_t(16 + data.size()));
      records += head + data;
    }
    std::string path = dir_.file("base.IDX");
    ASSERT_EQ(dbBulkLoad(path.c_str(), testing::foldCompare, records.data(),
                         uint32_t(records.size()), 40, nullptr, 0),
              1);
    DBHANDLE h = dbOpen(path.c_str(), testing::foldCompare);
    ASSERT_NE(h, nullptr);
    for (int i : {3, 5}) {
      std::string data = area(key(i));
      DbInsertDescriptor d{testing::kContentName, 1, uint32_t(i), uint32_t(data.size()),
                           data.data()};
      ASSERT_EQ(dbInsert(h, &d), 1);
    }
    ASSERT_EQ(dbDelete(h, 0), 1);
    std::string last = area(key(7));
    DbInsertDescriptor d{testing::kContentName, 1, 7, uint32_t(last.size()), last.data()};
    ASSERT_EQ(dbInsert(h, &d), 1);
    original_ = testing::allRecords(h);
    ASSERT_EQ(original_.size(), 42u);
    ASSERT_EQ(dbClose(h), 1);
    base_ = orvia::testing::readFileBytes(path);

    IndexHeader header;
    ASSERT_EQ(decodeIndexPrefix(reinterpret_cast<const uint8_t*>(base_.data()), &header),
              HeaderStatus::kOk);
    layout_.segmentOffset = header.segmentOffset;
    layout_.logOffset = header.logOffset;
    for (uint64_t at = header.logOffset; at < base_.size();) {
      layout_.entries.push_back(at);
      at += loadU32Le(bytesAt(at));
    }
    uint64_t recordsSize = loadU64Le(bytesAt(header.segmentOffset + 16));
    uint64_t table = header.segmentOffset + kSegmentHeaderSize + recordsSize;
    layout_.record5 = header.segmentOffset + kSegmentHeaderSize + loadU32Le(bytesAt(table + 20));
  }

  const uint8_t* bytesAt(uint64_t offset) const {
    return reinterpret_cast<const uint8_t*>(base_.data() + offset);
  }

  // Opens the file and uses it as a reader and a writer would; the records it saw, or
  // nothing when it did not open.
  // An insert makes close sync the file, which is slow; sweeps insert now and then.
  static bool exercise(const std::string& path, std::vector<std::string>* seen,
                       bool insert = true) {
    DBHANDLE h = dbOpen(path.c_str(), testing::foldCompare);
    if (h == nullptr) return false;
    *seen = testing::allRecords(h);
    uint32_t count = 0;
    dbGetInfo(h, kDbInfoRecordCount, &count);
    dbGoto(h, 0);
    for (uint32_t steps = 0; steps <= count && dbNext(h) == 1;) ++steps;
    for (int i : {0, 41, 200}) {
      dbSeek(h, area(key(i)).c_str());
      testing::currentRecord(h);
      dbPrev(h);
    }
    if (insert) {
      std::string data = area(key(11));
      DbInsertDescriptor d{testing::kContentName, 1, 11, uint32_t(data.size()), data.data()};
      dbInsert(h, &d);
      testing::allRecords(h);
    }
    dbClose(h);
    return true;
  }

  orvia::testing::TempDir dir_;
  std::string base_;
  std::vector<std::string> original_;
  Layout layout_;
};

struct DamageCase {
  const char* what;
  std::function<void(std::string*, const Layout&)> damage;
  bool opens;
  bool verifies;
  size_t recordsAfter;  // read in one batch when it opens; a damaged record fails it
};

void flip(std::string* bytes, uint64_t offset) {
  (*bytes)[offset] ^= 0x10;
}

// A fresh file each time: rewriting one in place makes the file system flush it on close.
void writeFresh(const std::string& path, const std::string& bytes) {
  std::remove(path.c_str());
  orvia::testing::writeFileBytes(path, bytes);
}

TEST_F(DamageTest, EachKindOfDamageHasItsOutcome) {
  const DamageCase cases[] = {
      {"cut inside the prefix", [](std::string* b, const Layout&) { b->resize(100); }, false, false,
       0},
      {"magic damaged", [](std::string* b, const Layout&) { flip(b, 3); }, false, false, 0},
      {"only header slot damaged", [](std::string* b, const Layout&) { flip(b, 64 + 20); }, false,
       false, 0},
      {"cut inside the segment",
       [](std::string* b, const Layout& l) { b->resize(l.logOffset - 10); }, false, false, 0},
      {"segment header damaged",
       [](std::string* b, const Layout& l) { flip(b, l.segmentOffset + 9); }, false, false, 0},
      {"last entry cut short is an interrupted append",
       [](std::string* b, const Layout&) { b->resize(b->size() - 5); }, true, true, 41},
      {"last entry failing its checksum is an interrupted append",
       [](std::string* b, const Layout&) { flip(b, b->size() - 1); }, true, true, 41},
      {"last entry's header cut short is an interrupted append",
       [](std::string* b, const Layout& l) { b->resize(l.entries.back() + 7); }, true, true, 41},
      {"earlier entry failing its checksum is damage",
       [](std::string* b, const Layout& l) { flip(b, l.entries[1] + 20); }, false, false, 0},
      {"earlier entry's header damaged is damage",
       [](std::string* b, const Layout& l) { flip(b, l.entries[0] + 1); }, false, false, 0},
      {"delete of a record that does not exist is damage",
       [](std::string* b, const Layout&) { *b += encodeDeleteEntry(1, 500); }, false, false, 0},
      {"entry of another generation after others is damage",
       [](std::string* b, const Layout&) { *b += encodeDeleteEntry(7, 0); }, false, false, 0},
      {"segment record length damaged is found by verify",
       [](std::string* b, const Layout& l) { flip(b, l.record5); }, true, false, 0},
      {"segment record text damaged is found by verify",
       [](std::string* b, const Layout& l) { flip(b, l.record5 + 17); }, true, false, 42},
      {"change counter damaged is harmless", [](std::string* b, const Layout&) { flip(b, 9); },
       true, true, 42},
  };
  for (const DamageCase& c : cases) {
    std::string bytes = base_;
    c.damage(&bytes, layout_);
    std::string path = dir_.file("damaged.IDX");
    orvia::testing::writeFileBytes(path, bytes);
    char report[200] = "";
    EXPECT_EQ(dbVerify(path.c_str(), testing::foldCompare, report, sizeof report), c.verifies)
        << c.what << ": " << report;
    if (!c.verifies) {
      EXPECT_NE(report[0], '\0') << c.what;
    }
    std::vector<std::string> seen;
    EXPECT_EQ(exercise(path, &seen), c.opens) << c.what;
    if (c.opens) {
      EXPECT_EQ(seen.size(), c.recordsAfter) << c.what;
    }
  }
}

TEST_F(DamageTest, VerifyNamesTheOffsetOfADamagedEntry) {
  std::string bytes = base_;
  flip(&bytes, layout_.entries[1] + 20);
  std::string path = dir_.file("damaged.IDX");
  orvia::testing::writeFileBytes(path, bytes);
  char report[200];
  ASSERT_EQ(dbVerify(path.c_str(), testing::foldCompare, report, sizeof report), 0);
  EXPECT_EQ(std::string(report),
            "offset " + std::to_string(layout_.entries[1]) + ": change log entry damaged");
  char tiny[8];
  ASSERT_EQ(dbVerify(path.c_str(), testing::foldCompare, tiny, sizeof tiny), 0);
  EXPECT_STREQ(tiny, "offset ") << "the report is cut to its buffer";
}

TEST_F(DamageTest, NoFlippedBitIsSilentlyRepaired) {
  std::string path = dir_.file("flipped.IDX");
  for (uint64_t offset = 0; offset < layout_.entries.back(); ++offset) {
    std::string bytes = base_;
    flip(&bytes, offset);
    writeFresh(path, bytes);
    char report[200];
    bool verifies = dbVerify(path.c_str(), testing::foldCompare, report, sizeof report) == 1;
    std::vector<std::string> seen;
    bool opens = exercise(path, &seen, offset % 16 == 0);
    // Outside the last entry a flip either stops open, or verify finds it, or it hit
    // bytes nobody reads.
    if (opens && verifies) {
      ASSERT_EQ(seen, original_) << "flip at " << offset;
    }
  }
}

TEST_F(DamageTest, TruncationInsideTheLogKeepsEveryWholeEntry) {
  // Record counts after 0, 1, ... whole entries: insert, insert, delete, insert.
  const size_t counts[] = {40, 41, 42, 41, 42};
  std::string path = dir_.file("cut.IDX");
  for (size_t size = 0; size < base_.size(); ++size) {
    writeFresh(path, base_.substr(0, size));
    std::vector<std::string> seen;
    bool opens = exercise(path, &seen, size % 16 == 0);
    if (size < layout_.logOffset) {
      ASSERT_FALSE(opens) << "cut at " << size;
      continue;
    }
    size_t whole = 0;
    while (whole < layout_.entries.size() && size >= layout_.entries[whole] + 1 &&
           (whole + 1 < layout_.entries.size() ? layout_.entries[whole + 1] : base_.size()) <= size)
      ++whole;
    ASSERT_TRUE(opens) << "cut at " << size;
    ASSERT_EQ(seen.size(), counts[whole]) << "cut at " << size;
  }
}

}  // namespace
}  // namespace orvia::db
