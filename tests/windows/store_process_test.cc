// The record store shared by real Windows processes: writers in two processes never
// interleave (compacting as they go, while this process keeps a handle open), and a
// writer killed at any instant loses nothing it acknowledged.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "support/store_records.h"
#include "orviadb.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

using testing::area;
using testing::foldCompare;

class StoreProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.file("00000001.IDX");
    ASSERT_EQ(dbCreate(path_.c_str()), 1);
  }

  // The first string of every record, in order.
  std::vector<std::string> keys(DBHANDLE h) const {
    std::vector<std::string> out;
    for (const std::string& record : testing::allRecords(h)) out.push_back(record.c_str() + 16);
    return out;
  }
  bool verified() const {
    char report[200];
    return dbVerify(path_.c_str(), foldCompare, report, sizeof report) == 1;
  }

  orvia::testing::TempDir dir_;
  std::string path_;
};

TEST_F(StoreProcessTest, ConcurrentWritersNeverInterleave) {
  DBHANDLE h = dbOpen(path_.c_str(), foldCompare);
  ASSERT_NE(h, nullptr);
  orvia::testing::ChildProcess first("windows_child", {"insert", path_, "a", "200"});
  orvia::testing::ChildProcess second("windows_child", {"insert", path_, "b", "200"});
  ASSERT_TRUE(first.started() && second.started());
  EXPECT_EQ(first.wait(), 0);
  EXPECT_EQ(second.wait(), 0);
  std::vector<std::string> found = keys(h);
  EXPECT_EQ(found.size(), 400u) << "this handle sees both writers' commits";
  std::set<std::string> expected;
  for (int i = 0; i < 200; ++i) {
    expected.insert("a" + std::to_string(i));
    expected.insert("b" + std::to_string(i));
  }
  EXPECT_EQ(std::set<std::string>(found.begin(), found.end()), expected);
  EXPECT_TRUE(std::is_sorted(found.begin(), found.end()));
  EXPECT_EQ(dbClose(h), 1);
  EXPECT_TRUE(verified());
}

TEST_F(StoreProcessTest, AKilledWriterLosesNothingItAcknowledged) {
  const std::string acks = dir_.file("acks");
  orvia::testing::ChildProcess writer("windows_child", {"insert-forever", path_, acks});
  ASSERT_TRUE(writer.started());
  // One line per acknowledged record; a line cut short by the kill does not count.
  auto acknowledgedCount = [&] {
    const std::string lines = orvia::testing::readFileBytes(acks);
    return int(std::count(lines.begin(), lines.end(), '\n'));
  };
  orvia::testing::waitUntil([&] { return acknowledgedCount() >= 150; });
  writer.kill();
  const int acknowledged = acknowledgedCount();
  ASSERT_GE(acknowledged, 150);
  EXPECT_TRUE(verified());
  DBHANDLE h = dbOpen(path_.c_str(), foldCompare);
  ASSERT_NE(h, nullptr);
  std::vector<std::string> found = keys(h);
  std::set<std::string> present(found.begin(), found.end());
  EXPECT_TRUE(found.size() == size_t(acknowledged) || found.size() == size_t(acknowledged) + 1)
      << found.size() << " records after " << acknowledged << " acknowledged";
  for (int i = 0; i < acknowledged; ++i)
    EXPECT_EQ(present.count("k" + std::to_string(i)), 1u) << "k" << i;
  EXPECT_EQ(dbClose(h), 1);
}

}  // namespace
}  // namespace orvia::db
