// Compaction: a new generation-numbered segment file, the log cut, the old segment file
// removed, and a compaction that stopped before cutting the log leaves nothing replayed
// twice.
#include <gtest/gtest.h>

#include <string>

#include "db/change_log_format.h"
#include "db/database.h"
#include "db/index_header.h"
#include "db_test_support.h"
#include "platform/file.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

using testing::area;

class CompactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.file("00000001.IDX");
    ASSERT_EQ(dbCreate(path_.c_str()), 1);
    h_ = dbOpen(path_.c_str(), testing::foldCompare);
    ASSERT_NE(h_, nullptr);
    for (int i = 0; i < 30; ++i) insert("w" + std::to_string(i * 37 % 100));
    ASSERT_EQ(dbDelete(h_, 4), 1);
  }
  void TearDown() override { EXPECT_EQ(dbClose(h_), 1); }
  void insert(const std::string& key) {
    std::string data = area(key);
    DbInsertDescriptor d{testing::kContentName, 1, 2, uint32_t(data.size()), data.data()};
    ASSERT_EQ(dbInsert(h_, &d), 1);
  }
  IndexHeader header() {
    std::string bytes = orvia::testing::readFileBytes(path_);
    IndexHeader h;
    EXPECT_EQ(decodeIndexPrefix(reinterpret_cast<const uint8_t*>(bytes.data()), &h),
              HeaderStatus::kOk);
    return h;
  }

  orvia::testing::TempDir dir_;
  std::string path_;
  DBHANDLE h_ = nullptr;
};

TEST_F(CompactionTest, WritesTheNextGenerationAndRemovesThePrevious) {
  std::vector<std::string> before = testing::allRecords(h_);
  ASSERT_EQ(dbCompact(h_), 1);
  IndexHeader first = header();
  EXPECT_EQ(first.generation, 2u);
  EXPECT_EQ(first.placement, kSegmentInOwnFile);
  EXPECT_TRUE(platform::fileExists((path_ + ".00000002").c_str()));
  EXPECT_EQ(orvia::testing::readFileBytes(path_).size(), first.logOffset) << "log cut";
  EXPECT_EQ(testing::allRecords(h_), before);

  insert("a");
  ASSERT_EQ(dbCompact(h_), 1);
  EXPECT_EQ(header().generation, 3u);
  EXPECT_TRUE(platform::fileExists((path_ + ".00000003").c_str()));
  EXPECT_FALSE(platform::fileExists((path_ + ".00000002").c_str()));
  DBHANDLE other = dbOpen(path_.c_str(), testing::foldCompare);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(testing::allRecords(other), testing::allRecords(h_));
  EXPECT_EQ(dbClose(other), 1);
}

TEST_F(CompactionTest, LogLeftBehindByAnInterruptedCompactionIsNotReplayed) {
  std::string withLog = orvia::testing::readFileBytes(path_);
  uint64_t logOffset = header().logOffset;
  std::vector<std::string> records = testing::allRecords(h_);
  ASSERT_EQ(dbCompact(h_), 1);
  ASSERT_EQ(dbClose(h_), 1);
  // The new header is in force but the old entries are still there.
  std::string compacted = orvia::testing::readFileBytes(path_);
  orvia::testing::writeFileBytes(path_, compacted + withLog.substr(logOffset));
  h_ = dbOpen(path_.c_str(), testing::foldCompare);
  ASSERT_NE(h_, nullptr);
  EXPECT_EQ(testing::allRecords(h_), records);
  insert("zz");
  ASSERT_EQ(dbClose(h_), 1);
  h_ = dbOpen(path_.c_str(), testing::foldCompare);
  ASSERT_NE(h_, nullptr);
  uint32_t count = 0;
  ASSERT_EQ(dbGetInfo(h_, kDbInfoRecordCount, &count), 1);
  EXPECT_EQ(count, records.size() + 1);
  char report[200];
  EXPECT_EQ(dbVerify(path_.c_str(), testing::foldCompare, report, sizeof report), 1) << report;
}

TEST_F(CompactionTest, MissingSegmentFileFailsOpen) {
  ASSERT_EQ(dbCompact(h_), 1);
  ASSERT_TRUE(platform::removeFile((path_ + ".00000002").c_str()));
  EXPECT_EQ(dbOpen(path_.c_str(), testing::foldCompare), nullptr);
  char report[200];
  EXPECT_EQ(dbVerify(path_.c_str(), testing::foldCompare, report, sizeof report), 0);
  EXPECT_STREQ(report, "offset 0: segment file missing");
}

TEST(AutoCompactionTest, ALongLogIsCompactedByTheWriteThatGrowsIt) {
  orvia::testing::TempDir dir;
  std::string path = dir.file("00000001.IDX");
  ASSERT_EQ(dbCreate(path.c_str()), 1);
  OpenOptions options;
  options.compactMinLogBytes = 1024;
  auto db = Database::open(path, testing::foldCompare, options);
  ASSERT_TRUE(db);
  for (int i = 0; i < 40; ++i) {
    std::string data = area("k" + std::to_string(i));
    ASSERT_TRUE(db->insert(NewRecord{reinterpret_cast<const uint8_t*>(testing::kContentName), 1, 2,
                                     reinterpret_cast<const uint8_t*>(data.data()),
                                     uint32_t(data.size())}));
  }
  ASSERT_TRUE(db->close());
  std::string bytes = orvia::testing::readFileBytes(path);
  IndexHeader h;
  ASSERT_EQ(decodeIndexPrefix(reinterpret_cast<const uint8_t*>(bytes.data()), &h),
            HeaderStatus::kOk);
  EXPECT_GT(h.generation, 1u);
  EXPECT_LE(bytes.size() - h.logOffset, 1024u + kMaxLogEntrySize);
}

}  // namespace
}  // namespace orvia::db
