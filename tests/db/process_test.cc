// Handles in other processes. A writer killed at random instants loses nothing it
// acknowledged: after each kill the index holds exactly the acknowledged operations in
// order, plus the one in flight either whole or not at all. A handle sees another
// process's commits at its next operation, with its cursor on the record it stood on,
// and concurrent writers never interleave.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "store_model.h"
#include "support/store_fixture.h"

namespace orvia::db {
namespace {

using namespace orvia::testing;
using ProcessTest = OpenIndexTest;

// Runs body in a child process, which exits with 0 when body returned true.
pid_t startChild(const std::function<bool()>& body) {
  pid_t child = fork();
  if (child == 0) _exit(body() ? 0 : 1);
  return child;
}

// Runs body in a child process on a handle of its own.
pid_t startChild(const std::string& path, const std::function<bool(DBHANDLE)>& body) {
  return startChild([&] {
    DBHANDLE h = dbOpen(path.c_str(), foldCompare);
    return h != nullptr && body(h) && dbClose(h) == 1;
  });
}

bool succeeded(pid_t child) {
  int status = 0;
  return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

// Each round a writer takes random steps from the model's state, writing one byte to a
// pipe per step done, until killed; the model then replays the acknowledged steps.
TEST(CrashTest, KilledWriterKeepsEveryAcknowledgedOperation) {
  TempDir dir;
  std::string path = dir.file("00000001.IDX");
  ASSERT_EQ(dbCreate(path.c_str()), 1);
  StoreModel model(foldCompare);
  std::mt19937 timing(7);
  for (uint32_t round = 0; round < 60; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t child = startChild([&] {
      close(fds[0]);
      OpenOptions options;
      // Every other round compacts often, so that kills land inside compactions too.
      options.compactMinLogBytes = round % 2 == 1 ? 8192 : options.compactMinLogBytes;
      model.open(path, options);
      for (std::mt19937 rng(round + 1);;) {
        model.step(rng);
        if (::testing::Test::HasFailure() || write(fds[1], "+", 1) != 1) return false;
      }
    });
    ASSERT_GE(child, 0);
    close(fds[1]);
    usleep(500 + timing() % 8000);
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "writer stopped by itself, status " << status;
    size_t acknowledged = 0;
    char buffer[4096];
    for (ssize_t got; (got = read(fds[0], buffer, sizeof buffer)) > 0;) acknowledged += size_t(got);
    close(fds[0]);

    std::mt19937 rng(round + 1);
    for (size_t i = 0; i < acknowledged; ++i) model.step(rng);
    DBHANDLE h = dbOpen(path.c_str(), foldCompare);
    ASSERT_NE(h, nullptr);
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
  ASSERT_TRUE(succeeded(startChild(path_, [](DBHANDLE h) {
    return insertArea(h, area("a"), 5) && insertArea(h, area("n"), 6);
  })));
  EXPECT_EQ(recordCount(h_), 6u);
  EXPECT_EQ(refOf(currentRecord(h_)), 3u);
  EXPECT_EQ(numberOf(currentRecord(h_)), 1u);
  ASSERT_TRUE(succeeded(startChild(path_, [](DBHANDLE h) {
    return insertArea(h, area("APPLE"), 4) && dbDelete(h, 5) == 1 && dbCompact(h) == 1;
  })));
  EXPECT_EQ(refOf(currentRecord(h_)), 3u);
  EXPECT_EQ(numberOf(currentRecord(h_)), 2u);  // a and APPLE(4) come before it
  ASSERT_EQ(dbSeek(h_, area("n").c_str()), 1);
  EXPECT_EQ(refOf(currentRecord(h_)), 6u);
  ASSERT_EQ(dbGoto(h_, 2), 1);
  ASSERT_EQ(dbDelete(h_, 2), 1);
  EXPECT_EQ(refOf(currentRecord(h_)), 2u) << "the record that took its place";
}

TEST_F(ProcessTest, ConcurrentWritersNeverInterleave) {
  auto writer = [](uint32_t base) {
    return [base](DBHANDLE h) {
      for (uint32_t i = 0; i < 300; ++i) {
        if (!insertArea(h, area("k" + std::to_string((i * 7919 + base) % 1000)), base + i) ||
            (i % 50 == 49 && dbCompact(h) != 1))
          return false;
      }
      return true;
    };
  };
  pid_t first = startChild(path_, writer(0)), second = startChild(path_, writer(100000));
  EXPECT_TRUE(succeeded(first));
  EXPECT_TRUE(succeeded(second));
  EXPECT_EQ(recordCount(h_), 600u);
  EXPECT_EQ(verifyReport(path_), "");
}

}  // namespace
}  // namespace orvia::db
