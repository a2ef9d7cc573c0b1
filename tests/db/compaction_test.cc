// Compaction: a new generation-numbered segment file with every record and content name,
// the log cut, the old segment file removed; a compaction that stopped before cutting the
// log leaves nothing replayed twice; and older segment files go at every compaction and at
// every writer's open, whichever handle still reads them and whichever removal failed before.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "db/index_header.h"
#include "platform/file.h"
#include "store_model.h"

namespace orvia::db {
namespace {

using namespace orvia::testing;

const std::string kOtherName("7F000001.DAT\0\0\0", 16);

IndexHeader headerOf(const std::string& bytes) {
  IndexHeader h;
  EXPECT_EQ(decodeIndexPrefix(reinterpret_cast<const uint8_t*>(bytes.data()), &h),
            HeaderStatus::kOk);
  return h;
}

class CompactionTest : public OpenIndexTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(OpenIndexTest::SetUp());
    for (int i = 0; i < 30; ++i)
      ASSERT_TRUE(insertArea(h_, area("w" + std::to_string(i * 37 % 100)), 2));
    ASSERT_TRUE(insertArea(h_, area("b"), 3, 0x7F000001, kOtherName.c_str()));
    ASSERT_EQ(dbDelete(h_, 4), 1);
  }
  IndexHeader header() { return headerOf(readFileBytes(path_)); }
  bool hasSegmentFile(const char* generation) {
    return platform::fileExists((path_ + "." + generation).c_str());
  }
};

TEST_F(CompactionTest, WritesTheNextGenerationAndRemovesThePrevious) {
  std::vector<std::string> before = allRecords(h_);
  reopen();
  EXPECT_EQ(contentNameOf(h_, 0x7F000001), kOtherName) << "a name only the log holds";
  ASSERT_EQ(dbCompact(h_), 1);
  EXPECT_TRUE(header().generation == 2u && header().placement == kSegmentInOwnFile);
  EXPECT_TRUE(hasSegmentFile("00000002"));
  EXPECT_EQ(readFileBytes(path_).size(), header().logOffset) << "log cut";
  EXPECT_EQ(allRecords(h_), before);
  ASSERT_TRUE(insertArea(h_, area("a"), 2));
  ASSERT_EQ(dbCompact(h_), 1);
  EXPECT_EQ(header().generation, 3u);
  EXPECT_TRUE(hasSegmentFile("00000003") && !hasSegmentFile("00000002"));
  DBHANDLE other = dbOpen(path_.c_str(), foldCompare);
  EXPECT_EQ(allRecords(other), allRecords(h_));
  EXPECT_EQ(contentNameOf(other, 0x7F000001), kOtherName) << "a name the segment holds";
  EXPECT_EQ(dbClose(other), 1);
  // Without its segment file the index does not open.
  ASSERT_TRUE(platform::removeFile((path_ + ".00000003").c_str()));
  EXPECT_EQ(dbOpen(path_.c_str(), foldCompare), nullptr);
  EXPECT_EQ(verifyReport(path_), "offset 0: segment file missing");
}

TEST_F(CompactionTest, LogLeftBehindByAnInterruptedCompactionIsNotReplayed) {
  const std::string withLog = readFileBytes(path_);
  const std::vector<std::string> records = allRecords(h_);
  ASSERT_EQ(dbCompact(h_), 1);
  reopen();
  // The new header is in force but the old entries are still there.
  writeFileBytes(path_, readFileBytes(path_) + withLog.substr(headerOf(withLog).logOffset));
  reopen();
  EXPECT_EQ(allRecords(h_), records);
  ASSERT_TRUE(insertArea(h_, area("zz"), 2));
  reopen();
  EXPECT_EQ(recordCount(h_), records.size() + 1);
  EXPECT_EQ(verifyReport(path_), "");
}

TEST_F(CompactionTest, NoOlderSegmentRemainsOnceItsReadersClose) {
  DBHANDLE reader = dbOpen(path_.c_str(), foldCompare);
  for (const char* word : {"one", "two"}) {
    ASSERT_TRUE(insertArea(h_, area(word), 2));
    ASSERT_EQ(dbCompact(h_), 1);
    EXPECT_EQ(recordCount(reader), recordCount(h_)) << "the reader moves to " << word;
  }
  // What a removal that failed, as on Windows while another program holds the file, left.
  ASSERT_TRUE(writeFileBytes(path_ + ".00000001", "older"));
  ASSERT_TRUE(writeFileBytes(path_ + ".00000009.tmp", "another writer's"));
  EXPECT_EQ(dbClose(reader), 1);
  reopen();
  std::vector<std::string> ends;
  ASSERT_TRUE(platform::listFileNameEnds((path_ + ".").c_str(), &ends));
  std::sort(ends.begin(), ends.end());
  EXPECT_EQ(ends, (std::vector<std::string>{"00000003", "00000009.tmp"}));
  EXPECT_EQ(recordCount(h_), 32u);
}

}  // namespace
}  // namespace orvia::db
