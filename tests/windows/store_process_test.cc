// The record store shared by real Windows processes: writers in two processes never
// interleave (compacting as they go, while this process keeps a handle open), and a
// writer killed at any instant loses nothing it acknowledged.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "support/child_process.h"
#include "support/store_fixture.h"

namespace orvia::testing {
namespace {

using StoreProcessTest = OpenIndexTest;

// The first string of every record, in the index's order.
std::vector<std::string> keys(DBHANDLE h) {
  std::vector<std::string> out;
  for (const std::string& record : allRecords(h)) out.push_back(keyOf(record));
  return out;
}

TEST_F(StoreProcessTest, ConcurrentWritersNeverInterleave) {
  ChildProcess first("windows_child", {"insert", path_, "a", "200"});
  ChildProcess second("windows_child", {"insert", path_, "b", "200"});
  ASSERT_TRUE(first.started() && second.started());
  EXPECT_EQ(first.wait(), 0);
  EXPECT_EQ(second.wait(), 0);
  std::vector<std::string> found = keys(h_);
  EXPECT_EQ(found.size(), 400u) << "this handle sees both writers' commits";
  std::set<std::string> expected;
  for (int i = 0; i < 200; ++i) {
    expected.insert("a" + std::to_string(i));
    expected.insert("b" + std::to_string(i));
  }
  EXPECT_EQ(std::set<std::string>(found.begin(), found.end()), expected);
  EXPECT_TRUE(std::is_sorted(found.begin(), found.end()));
  ASSERT_EQ(dbClose(h_), 1);
  h_ = nullptr;
  EXPECT_EQ(verifyReport(path_), "");
}

TEST_F(StoreProcessTest, AKilledWriterLosesNothingItAcknowledged) {
  const std::string acks = dir_.file("acks");
  ChildProcess writer("windows_child", {"insert-forever", path_, acks});
  ASSERT_TRUE(writer.started());
  // One line per acknowledged record; a line cut short by the kill does not count.
  auto acknowledgedCount = [&] {
    const std::string lines = readFileBytes(acks);
    return int(std::count(lines.begin(), lines.end(), '\n'));
  };
  waitUntil([&] { return acknowledgedCount() >= 150; });
  writer.kill();
  const int acknowledged = acknowledgedCount();
  EXPECT_EQ(verifyReport(path_), "");
  reopen();
  std::vector<std::string> found = keys(h_);
  std::set<std::string> present(found.begin(), found.end());
  EXPECT_TRUE(found.size() == size_t(acknowledged) || found.size() == size_t(acknowledged) + 1)
      << found.size() << " records after " << acknowledged << " acknowledged";
  for (int i = 0; i < acknowledged; ++i)
    EXPECT_EQ(present.count("k" + std::to_string(i)), 1u) << "k" << i;
}

}  // namespace
}  // namespace orvia::testing
