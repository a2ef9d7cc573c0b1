// Handles in different processes: each sees the other's commits at its next operation,
// with its cursor on the record it stood on, and concurrent writers never interleave.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "db/verify.h"
#include "db_test_support.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

using testing::area;
using testing::currentRecord;

uint32_t refOf(const std::string& record) {
  return loadU32Le(reinterpret_cast<const uint8_t*>(record.data() + 8));
}
uint32_t numberOf(const std::string& record) {
  return loadU32Le(reinterpret_cast<const uint8_t*>(record.data() + 12));
}

bool insert(DBHANDLE h, const std::string& data, uint32_t ref) {
  DbInsertDescriptor d{testing::kContentName, 0x01000001, ref, uint32_t(data.size()), data.data()};
  return dbInsert(h, &d) == 1;
}

// Runs body in a child process with its own handle on path; true when it succeeded.
pid_t startChild(const std::string& path, const std::function<bool(DBHANDLE)>& body) {
  pid_t child = fork();
  if (child == 0) {
    DBHANDLE h = dbOpen(path.c_str(), testing::foldCompare);
    bool ok = h != nullptr && body(h) && dbClose(h) == 1;
    _exit(ok ? 0 : 1);
  }
  return child;
}

bool succeeded(pid_t child) {
  int status = 0;
  return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

class TwoProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.file("00000001.IDX");
    ASSERT_EQ(dbCreate(path_.c_str()), 1);
    h_ = dbOpen(path_.c_str(), testing::foldCompare);
    ASSERT_NE(h_, nullptr);
  }
  void TearDown() override { EXPECT_EQ(dbClose(h_), 1); }

  orvia::testing::TempDir dir_;
  std::string path_;
  DBHANDLE h_ = nullptr;
};

TEST_F(TwoProcessTest, SeesAnInsertFromAnotherProcess) {
  ASSERT_TRUE(insert(h_, area("m"), 1));
  ASSERT_EQ(dbSeek(h_, area("m").c_str()), 1);
  ASSERT_TRUE(succeeded(startChild(
      path_, [](DBHANDLE h) { return insert(h, area("a"), 2) && insert(h, area("n"), 3); })));
  uint32_t count = 0;
  ASSERT_EQ(dbGetInfo(h_, kDbInfoRecordCount, &count), 1);
  EXPECT_EQ(count, 3u);
  std::string here = currentRecord(h_);
  EXPECT_EQ(refOf(here), 1u) << "the cursor stays on its record";
  EXPECT_EQ(numberOf(here), 1u);
  ASSERT_EQ(dbSeek(h_, area("n").c_str()), 1);
  EXPECT_EQ(refOf(currentRecord(h_)), 3u);
}

TEST_F(TwoProcessTest, CursorFollowsItsRecordThroughAForeignCompaction) {
  for (uint32_t ref = 1; ref <= 3; ++ref) ASSERT_TRUE(insert(h_, area("apple"), ref));
  ASSERT_TRUE(insert(h_, area("b"), 9));
  ASSERT_EQ(dbGoto(h_, 1), 1);  // equal keys, newest first: refs 3, 2, 1
  ASSERT_EQ(refOf(currentRecord(h_)), 2u);
  ASSERT_TRUE(succeeded(startChild(path_, [](DBHANDLE h) {
    return insert(h, area("APPLE"), 4) && dbDelete(h, 4) == 1 && insert(h, area("a"), 5) &&
           dbCompact(h) == 1;
  })));
  std::string here = currentRecord(h_);
  EXPECT_EQ(refOf(here), 2u);
  EXPECT_EQ(numberOf(here), 3u);  // a, APPLE(4), apple(3) come before it
  ASSERT_EQ(dbDelete(h_, 3), 1);
  EXPECT_EQ(refOf(currentRecord(h_)), 1u) << "the record that took its place";
}

TEST_F(TwoProcessTest, ConcurrentWritersNeverInterleave) {
  auto writer = [](uint32_t base) {
    return [base](DBHANDLE h) {
      for (uint32_t i = 0; i < 300; ++i) {
        if (!insert(h, area("k" + std::to_string((i * 7919 + base) % 1000)), base + i))
          return false;
        if (i % 50 == 49 && dbCompact(h) != 1) return false;
      }
      return true;
    };
  };
  pid_t first = startChild(path_, writer(0));
  pid_t second = startChild(path_, writer(100000));
  ASSERT_TRUE(succeeded(first));
  ASSERT_TRUE(succeeded(second));
  uint32_t count = 0;
  ASSERT_EQ(dbGetInfo(h_, kDbInfoRecordCount, &count), 1);
  EXPECT_EQ(count, 600u);
  char report[200];
  EXPECT_EQ(dbVerify(path_.c_str(), testing::foldCompare, report, sizeof report), 1) << report;
}

}  // namespace
}  // namespace orvia::db
