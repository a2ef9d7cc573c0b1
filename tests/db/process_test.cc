// Handles in other processes, natively and under Wine. A writer killed at random instants
// loses nothing it acknowledged: after each kill the index holds exactly the acknowledged
// operations in order, plus the one in flight either whole or not at all. A handle sees
// another process's commits at its next operation, with its cursor on the record it stood
// on, and concurrent writers never interleave. The other processes are platform_child's.
#include <gtest/gtest.h>

#include <string>

#include "store_model.h"
#include "support/child_process.h"

namespace orvia::db {
namespace {

using namespace orvia::testing;
using ProcessTest = OpenIndexTest;

// Each round a writer takes random steps from the model's state, acknowledging each step
// done with a byte in a file, and is killed after a random number of them; the model then
// replays the acknowledged steps.
TEST(CrashTest, KilledWriterKeepsEveryAcknowledgedOperation) {
  TempDir dir;
  const std::string path = dir.file("00000001.IDX"), acks = dir.file("acks");
  ASSERT_EQ(dbCreate(path.c_str()), 1);
  StoreModel model(foldCompare);
  std::mt19937 timing(7);
  for (uint32_t round = 0; round < 30; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    writeFileBytes(acks, "");
    ChildProcess writer("platform_child", {"model-writer", path, acks, std::to_string(round)});
    ASSERT_TRUE(writer.started());
    const size_t target = timing() % 32;
    waitUntil([&] {
      const std::string done = readFileBytes(acks);
      return done.size() >= target || done.find('x') != std::string::npos;
    });
    writer.kill();
    const size_t acknowledged = readFileBytes(acks).size();
    ASSERT_EQ(readFileBytes(acks), std::string(acknowledged, '+')) << "the writer failed";

    std::mt19937 rng(round + 1);
    for (size_t i = 0; i < acknowledged; ++i) model.step(rng);
    DBHANDLE h = dbOpen(path.c_str(), foldCompare);
    std::vector<std::string> actual = allRecords(h);
    ASSERT_EQ(dbClose(h), 1);
    if (actual != model.records()) model.step(rng);  // the one in flight
    ASSERT_EQ(actual, model.records()) << "after " << acknowledged << " acknowledged steps";
    ASSERT_EQ(verifyReport(path), "");
  }
}

// The cursor follows its record through another process's log entries, one of them an
// insert at the cursor's own place, and through its compaction, which the handle meets
// as a new segment where it finds its record again among equal keys.
TEST_F(ProcessTest, SeesAnotherProcesssCommitsWithItsCursorOnItsRecord) {
  for (uint32_t ref = 1; ref <= 3; ++ref) ASSERT_TRUE(insertArea(h_, area("apple"), ref));
  ASSERT_TRUE(insertArea(h_, area("m"), 9));
  ASSERT_EQ(dbGoto(h_, 0), 1);  // equal keys, newest first: refs 3, 2, 1
  ASSERT_EQ(ChildProcess("platform_child", {"store-calls", path_, "+a=5", "+n=6"}).wait(), 0);
  EXPECT_EQ(recordCount(h_), 6u);
  EXPECT_EQ(currentRecord(h_), storedRecord({0x01000001, 3, area("apple")}, 1));
  ASSERT_EQ(ChildProcess("platform_child", {"store-calls", path_, "+APPLE=4", "-5", "c"}).wait(),
            0);
  EXPECT_EQ(currentRecord(h_), storedRecord({0x01000001, 3, area("apple")}, 2))
      << "a and APPLE(4) come before it";
  ASSERT_EQ(dbSeek(h_, area("n").c_str()), 1);
  EXPECT_EQ(refOf(currentRecord(h_)), 6u);
  ASSERT_EQ(dbGoto(h_, 2), 1);
  ASSERT_EQ(dbDelete(h_, 2), 1);
  EXPECT_EQ(refOf(currentRecord(h_)), 2u) << "the record that took its place";
}

// Two writers of 300 keys each, compacting every 50, while this process keeps its handle.
TEST_F(ProcessTest, ConcurrentWritersNeverInterleave) {
  auto writer = [this](uint32_t base) {
    std::vector<std::string> calls = {"store-calls", path_};
    for (uint32_t i = 0; i < 300; ++i) {
      calls.push_back("+k" + std::to_string((i * 7919 + base) % 1000) + "=" +
                      std::to_string(base + i));
      if (i % 50 == 49) calls.push_back("c");
    }
    return calls;
  };
  ChildProcess first("platform_child", writer(0));
  ChildProcess second("platform_child", writer(100000));
  EXPECT_EQ(first.wait(), 0);
  EXPECT_EQ(second.wait(), 0);
  EXPECT_EQ(recordCount(h_), 600u);
  EXPECT_EQ(verifyReport(path_), "");
}

}  // namespace
}  // namespace orvia::db
